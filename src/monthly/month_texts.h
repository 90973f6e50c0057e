#pragma once

#include <QString>

#include <cstdint>

// The texts and colours the month's lists and the status panel show, exactly as the user sees
// them. The "\" prefix is U+005C: Japanese fonts draw it as a yen sign.
namespace sorakado::month_texts {

inline const QString kYen = QStringLiteral("\\");
inline const QString kYearYen = QStringLiteral("￥"); // U+FFE5, the two year totals only
inline const QString kNothing = QStringLiteral("\\0");

inline const QString kCaptionYear = QStringLiteral("年");
inline const QString kCaptionMonth = QStringLiteral("月の収入表示");

inline const QString kMonthTotal = QStringLiteral("今月合計");
inline const QString kBlankName = QStringLiteral("          "); // 10 spaces
inline const QString kBlankValue = QStringLiteral("     ");     // 5 spaces
inline const QString kHeadingFiller = QStringLiteral("          ");
inline const QString kSummaryFiller = QStringLiteral(" ");
inline const QString kYearHeading = QStringLiteral("年各月集計");
inline const QString kIncomeMonth = QStringLiteral("月の合計収入");
inline const QString kIncomeYearTotal = QStringLiteral("年収入合計");
inline const QString kExpenseMonth = QStringLiteral("月の合計出費");
inline const QString kExpenseYearTotal = QStringLiteral("年出費合計");

inline const QString kIncomeRule1 = QStringLiteral("---------------"); // 15
inline const QString kIncomeRule2 = QStringLiteral("----------");      // 10
inline const QString kExpenseRule1 = QStringLiteral("--------------"); // 14
inline const QString kExpenseRule2 = QStringLiteral("-----------");    // 11
inline const QString kExpenseRule3 = QStringLiteral("------------");   // 12
inline const QString kExpenseRule4 = QStringLiteral("----------");     // 10

inline const QString kAddCategory = QStringLiteral("追加==>");

inline const QString kDeficit = QStringLiteral("の赤字です。\r\n(T_T)|||");
inline const QString kSurplus = QStringLiteral("の黒字です。\r\n(^o^)v");
inline const QString kEven = QStringLiteral("イーブンです。\r\n(・o・)");

// Sunday first, as QDate::dayOfWeek() % 7 counts.
inline const QString kWeekdays = QStringLiteral("日月火水木金土");

// The classic 16-colour palette entries the lists use, as 0xRRGGBB.
namespace palette {
inline constexpr std::uint32_t kBlack = 0x000000;        // 0
inline constexpr std::uint32_t kCyan = 0x008080;         // 3
inline constexpr std::uint32_t kRed = 0x800000;          // 4
inline constexpr std::uint32_t kMagenta = 0x800080;      // 5
inline constexpr std::uint32_t kLightBlue = 0x0000FF;    // 9
inline constexpr std::uint32_t kLightRed = 0xFF0000;     // 12
inline constexpr std::uint32_t kLightMagenta = 0xFF00FF; // 13
} // namespace palette

} // namespace sorakado::month_texts
