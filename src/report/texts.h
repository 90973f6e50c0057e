#pragma once

// Texts of the printed year report, UTF-8.

namespace sorakado::report::texts {

inline constexpr const char* kTitle = "%1年 家計の年間レポート";
inline constexpr const char* kCreatedOn = "作成日 %1";
inline constexpr const char* kYearIncome = "年間の収入";
inline constexpr const char* kYearSpending = "年間の出費";
inline constexpr const char* kYearDifference = "差額（収入−出費）";
inline constexpr const char* kMonthChart = "月別の収入と出費";
inline constexpr const char* kMonthTable = "月別の集計";
inline constexpr const char* kCategoryChart = "項目別の出費";
inline constexpr const char* kCategoryTable = "項目別の集計";
inline constexpr const char* kContinued = "%1（続き）";
inline constexpr const char* kMonthName = "%1月";
inline constexpr const char* kMonth = "月";
inline constexpr const char* kIncome = "収入";
inline constexpr const char* kSpending = "出費";
inline constexpr const char* kDifference = "差額";
inline constexpr const char* kTotal = "合計";
inline constexpr const char* kRank = "順位";
inline constexpr const char* kCategory = "項目名";
inline constexpr const char* kAmount = "金額";
inline constexpr const char* kShare = "割合";
inline constexpr const char* kNoName = "（名前なし）";
inline constexpr const char* kCategoryGone = "（削除された項目）";
inline constexpr const char* kOthers = "その他（%1項目）";
inline constexpr const char* kNoSpending = "この年の出費はありません。";
inline constexpr const char* kFooter = "Sorakado %1 ・ %2年の年間レポート ・ %3ページ";

// Errors, one line each.
inline constexpr const char* kNoFont =
    "日本語のフォント（IPAPGothic または Noto Sans CJK JP）が見つからないため、レポートを作れません。";

} // namespace sorakado::report::texts
