// The month's figures read from real encrypted ledgers, checked as the window will show them.

#include "monthly/month_figures.h"
#include "support/temp_ledger.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace sorakado {

static void PrintTo(const FigureCell& c, std::ostream* os) {
    *os << '"' << c.text.toStdString() << '"';
    if (c.colour)
        *os << " #" << std::hex << *c.colour << std::dec;
    if (c.bold)
        *os << " bold";
}

static void PrintTo(const FigureRow& r, std::ostream* os) {
    *os << "{key \"" << r.key.toStdString() << "\":";
    for (const auto& c : r.cells) {
        *os << ' ';
        PrintTo(c, os);
    }
    *os << '}';
}

namespace {

using namespace sorakado::testing;
using Cells = std::vector<FigureCell>;

constexpr std::uint32_t kBlack = 0x000000, kCyan = 0x008080, kRed = 0x800000, kMagenta = 0x800080,
                        kLightBlue = 0x0000FF, kLightRed = 0xFF0000, kLightMagenta = 0xFF00FF;

const QString kYen = QStringLiteral("\\");

FigureCell plain(const QString& t) {
    return {t, std::nullopt, false};
}
FigureCell tinted(const QString& t, std::uint32_t colour) {
    return {t, colour, false};
}
FigureCell strong(const QString& t, std::uint32_t colour) {
    return {t, colour, true};
}

FigureRow row(const QString& key, Cells cells) {
    return {key, std::move(cells)};
}

// Index of the first row whose column 1 reads text, or -1.
int findRow(const std::vector<FigureRow>& rows, const QString& text) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].cells.empty() && rows[i].cells[0].text == text)
            return int(i);
    return -1;
}

class MonthFiguresTest : public ::testing::Test {
protected:
    MonthFigures build(const QString& year = "2006", const QString& month = "04") {
        auto figures = buildMonth(ledger, year, month);
        if (!figures) {
            ADD_FAILURE() << "no figures for " << year.toStdString() << "/" << month.toStdString();
            return {};
        }
        return *figures;
    }

    TempLedger temp;
    Ledger ledger = temp.open();
};

TEST_F(MonthFiguresTest, NoMemberGivesNoFiguresWhateverElseIsStored) {
    auto food = addCategory(ledger, "食費");
    addEntry(ledger, "2006/04/05", food, "米", yen(2000));
    EXPECT_FALSE(buildMonth(ledger, "2006", "04").has_value());
}

TEST_F(MonthFiguresTest, IncomeListShowsEveryMemberTheMonthTotalAndTheYearSummary) {
    auto taro = addMember(ledger, "太郎");
    auto hanako = addMember(ledger, "花子");
    auto jiro = addMember(ledger, "次郎");
    addIncome(ledger, hanako, "2006/04", yen(250000));
    addIncome(ledger, taro, "2006/03", yen(1000)); // another month of the same year
    addIncome(ledger, jiro, "2006/03", yen(500));
    addIncome(ledger, taro, "2005/04", yen(9999)); // the same month of another year

    MonthFigures f = build();

    EXPECT_EQ(f.incomeCaption, QStringLiteral("2006年4月の収入表示"));
    EXPECT_EQ(f.incomeTotal, "\\250000");
    std::vector<FigureRow> expected{
        row("@" + QString::number(taro), {tinted("太郎", kBlack), tinted("\\0", kBlack)}),
        row("@" + QString::number(hanako), {tinted("花子", kLightBlue), tinted("\\250000", kLightBlue)}),
        row("@" + QString::number(jiro), {tinted("次郎", kBlack), tinted("\\0", kBlack)}),
        row("", {plain("---------------"), plain("----------")}),
        row("", {strong("今月合計", kLightRed), strong("\\250000", kLightRed)}),
        row("", {plain("          "), plain("     ")}),
        row("", {strong("2006年各月集計", kRed), plain("          ")}),
    };
    for (int n = 1; n <= 12; ++n) {
        QString sum = n == 3 ? "\\1500" : n == 4 ? "\\250000" : "\\0";
        std::uint32_t colour = n % 2 == 1 ? kCyan : kMagenta;
        expected.push_back(
            row("", {tinted(QString::number(n) + "月の合計収入", colour), tinted(sum, colour)}));
    }
    expected.push_back(row("", {strong("2006年収入合計", kLightMagenta), strong("￥251500", kLightMagenta)}));
    EXPECT_EQ(f.incomeRows, expected);
}

TEST_F(MonthFiguresTest, CaptionWritesTheMonthWithoutLeadingZero) {
    addMember(ledger, "太郎");
    EXPECT_EQ(build("2006", "12").incomeCaption, QStringLiteral("2006年12月の収入表示"));
    EXPECT_EQ(build("1999", "01").incomeCaption, QStringLiteral("1999年1月の収入表示"));
}

TEST_F(MonthFiguresTest, MembersOfTheSameNameEachShowTheirOwnIncome) {
    auto first = addMember(ledger, "太郎");
    auto second = addMember(ledger, "太郎");
    auto third = addMember(ledger, "太郎");
    addIncome(ledger, second, "2006/04", yen(300));
    addIncome(ledger, third, "2006/04", yen(20));

    MonthFigures f = build();

    ASSERT_GE(f.incomeRows.size(), 3u);
    EXPECT_EQ(f.incomeRows[0].key, "@" + QString::number(first));
    EXPECT_EQ(f.incomeRows[0].cells[1].text, "\\0");
    EXPECT_EQ(f.incomeRows[1].cells[1].text, "\\300");
    EXPECT_EQ(f.incomeRows[2].cells[1].text, "\\20");
    EXPECT_EQ(f.incomeTotal, "\\320");
}

TEST_F(MonthFiguresTest, YearWithoutIncomeShowsNothingInEveryMonth) {
    addMember(ledger, "太郎");
    MonthFigures f = build();

    EXPECT_EQ(f.incomeTotal, "\\0");
    int heading = findRow(f.incomeRows, "2006年各月集計");
    ASSERT_GE(heading, 0);
    for (int n = 1; n <= 12; ++n) {
        const FigureRow& r = f.incomeRows[heading + n];
        EXPECT_EQ(r.cells[0].text, QString::number(n) + "月の合計収入");
        EXPECT_EQ(r.cells[1].text, "\\0");
    }
    EXPECT_EQ(f.incomeRows.back().cells[1].text, "￥0");
    EXPECT_EQ(f.expenseRows.back().cells[3].text, "￥0");
}

TEST_F(MonthFiguresTest, ExpenseBlockListsTheMonthsEntriesByDateThenEntryOrder) {
    addMember(ledger, "太郎");
    auto food = addCategory(ledger, "食費");
    auto fun = addCategory(ledger, "娯楽");
    auto late = addEntry(ledger, "2006/04/30", food, "夕食", yen(1200));
    auto wedA = addEntry(ledger, "2006/04/05", fun, "映画", yen(1800));
    auto wedB = addEntry(ledger, "2006/04/05", food, "昼食", yen(700));
    auto sun = addEntry(ledger, "2006/04/02", food, "朝食", yen(300));
    addEntry(ledger, "2006/03/31", food, "前の月", yen(5));
    addEntry(ledger, "2006/05/01", food, "次の月", yen(7));
    addEntry(ledger, "2007/04/05", food, "次の年", yen(11));

    MonthFigures f = build();

    auto entry = [](std::int64_t key, const QString& date, const QString& category, const QString& text,
                    const QString& amount, std::uint32_t colour) {
        return row("@" + QString::number(key), {tinted(date, colour), tinted(category, colour),
                                                tinted(text, colour), tinted(amount, colour)});
    };
    std::vector<FigureRow> block{
        entry(sun, "2006/04/02(日)", "食費", "朝食", "\\300", kBlack),
        entry(wedA, "2006/04/05(水)", "娯楽", "映画", "\\1800", kLightBlue),
        entry(wedB, "2006/04/05(水)", "食費", "昼食", "\\700", kBlack),
        entry(late, "2006/04/30(日)", "食費", "夕食", "\\1200", kLightBlue),
        row("", {plain("--------------"), plain("-----------"), plain("------------"), plain("----------")}),
        row("", {strong("今月合計", kLightRed), strong("", kLightRed), strong("", kLightRed),
                 strong("\\4000", kLightRed)}),
    };
    ASSERT_GE(f.expenseRows.size(), block.size());
    EXPECT_EQ(std::vector<FigureRow>(f.expenseRows.begin(), f.expenseRows.begin() + block.size()), block);
    EXPECT_EQ(f.expenseTotal, "\\4000");
}

TEST_F(MonthFiguresTest, MonthWithoutEntriesStartsWithTheSeparatorAndANothingTotal) {
    addMember(ledger, "太郎");
    auto food = addCategory(ledger, "食費");
    addEntry(ledger, "2006/05/01", food, "次の月", yen(7));

    MonthFigures f = build();

    ASSERT_GE(f.expenseRows.size(), 2u);
    EXPECT_EQ(f.expenseRows[0].cells[0].text, "--------------");
    EXPECT_EQ(f.expenseRows[1].cells[3].text, "\\0");
    EXPECT_EQ(f.expenseTotal, "\\0");
    ASSERT_EQ(f.categoryRows.size(), 1u);
    EXPECT_EQ(f.categoryRows[0].cells[1].text, "\\0");
}

TEST_F(MonthFiguresTest, ExpenseYearSummaryFollowsTheMonthBlock) {
    addMember(ledger, "太郎");
    auto food = addCategory(ledger, "食費");
    addEntry(ledger, "2006/01/10", food, "", yen(100));
    addEntry(ledger, "2006/01/20", food, "", yen(50));
    addEntry(ledger, "2006/04/05", food, "", yen(800));
    addEntry(ledger, "2006/12/31", food, "", yen(3));
    addEntry(ledger, "2005/12/31", food, "", yen(1000000));

    MonthFigures f = build();

    // 1 entry, separator, month total, then the summary
    ASSERT_EQ(f.expenseRows.size(), 3u + 2 + 12 + 1);
    EXPECT_EQ(f.expenseRows[3], row("", {plain("          "), plain("     ")}));
    EXPECT_EQ(f.expenseRows[4], row("", {strong("2006年各月集計", kRed), plain("          ")}));
    for (int n = 1; n <= 12; ++n) {
        QString sum = n == 1 ? "\\150" : n == 4 ? "\\800" : n == 12 ? "\\3" : "\\0";
        std::uint32_t colour = n % 2 == 1 ? kCyan : kMagenta;
        EXPECT_EQ(f.expenseRows[4 + n], row("", {tinted(QString::number(n) + "月の合計出費", colour),
                                                 plain(" "), plain(" "), tinted(sum, colour)}))
            << "month " << n;
    }
    EXPECT_EQ(f.expenseRows.back(), row("", {strong("2006年出費合計", kLightMagenta), plain(" "), plain(" "),
                                             strong("￥953", kLightMagenta)}));
}

TEST_F(MonthFiguresTest, CategoriesListEveryCategoryByNameWithTheMonthsTotal) {
    addMember(ledger, "太郎");
    auto c = addCategory(ledger, "c交通");
    auto a = addCategory(ledger, "a食費");
    auto b = addCategory(ledger, "b娯楽");
    addEntry(ledger, "2006/04/01", a, "", yen(100));
    addEntry(ledger, "2006/04/28", a, "", yen(23));
    addEntry(ledger, "2006/04/15", c, "", yen(9));
    addEntry(ledger, "2006/03/15", b, "", yen(5000)); // not this month

    MonthFigures f = build();

    std::vector<PickerEntry> picker{{"追加==>", 0}, {"a食費", a}, {"b娯楽", b}, {"c交通", c}};
    EXPECT_EQ(f.categoryPicker, picker);
    std::vector<FigureRow> rows{
        row("@" + QString::number(a), {tinted("a食費", kBlack), tinted("\\123", kBlack)}),
        row("@" + QString::number(b), {tinted("b娯楽", kLightBlue), tinted("\\0", kLightBlue)}),
        row("@" + QString::number(c), {tinted("c交通", kBlack), tinted("\\9", kBlack)}),
    };
    EXPECT_EQ(f.categoryRows, rows);
}

TEST_F(MonthFiguresTest, NoCategoriesLeaveOnlyTheAddEntryInThePicker) {
    addMember(ledger, "太郎");
    MonthFigures f = build();
    EXPECT_EQ(f.categoryPicker, (std::vector<PickerEntry>{{"追加==>", 0}}));
    EXPECT_TRUE(f.categoryRows.empty());
}

TEST_F(MonthFiguresTest, EntryOfAGoneCategoryCountsOnlyInTheYearSummary) {
    addMember(ledger, "太郎");
    auto food = addCategory(ledger, "食費");
    addEntry(ledger, "2006/04/05", food, "米", yen(2000));
    addEntry(ledger, "2006/04/06", food + 100, "消えた品目", yen(500));

    MonthFigures f = build();

    EXPECT_EQ(f.expenseTotal, "\\2000");
    EXPECT_EQ(findRow(f.expenseRows, "2006/04/06(木)"), -1);
    ASSERT_EQ(f.categoryRows.size(), 1u);
    EXPECT_EQ(f.categoryRows[0].cells[1].text, "\\2000");
    int april = findRow(f.expenseRows, "4月の合計出費");
    ASSERT_GE(april, 0);
    EXPECT_EQ(f.expenseRows[april].cells[3].text, "\\2500");
    EXPECT_EQ(f.expenseRows.back().cells[3].text, "￥2500");
    EXPECT_EQ(f.difference, "\\-2000");
}

TEST_F(MonthFiguresTest, NullValuesShowAsEmptyCellsAndCountAsNothing) {
    auto nameless = addMember(ledger, std::nullopt);
    auto taro = addMember(ledger, "太郎");
    addIncome(ledger, nameless, "2006/04", std::nullopt);
    addIncome(ledger, taro, "2006/04", yen(40));
    auto unnamed = addCategory(ledger, std::nullopt);
    addEntry(ledger, "2006/04/05", unnamed, std::nullopt, std::nullopt);
    addEntry(ledger, "2006/04/06", unnamed, "電球", yen(300));

    MonthFigures f = build();

    EXPECT_EQ(f.incomeRows[0].cells[0].text, "");
    EXPECT_EQ(f.incomeRows[0].cells[1].text, "\\0");
    EXPECT_EQ(f.incomeTotal, "\\40");
    EXPECT_EQ(f.categoryPicker.at(1), (PickerEntry{"", unnamed}));
    EXPECT_EQ(f.categoryRows.at(0).cells[0].text, "");
    EXPECT_EQ(f.categoryRows.at(0).cells[1].text, "\\300");
    const FigureRow& bare = f.expenseRows.at(0);
    EXPECT_EQ(bare.cells.size(), 4u);
    EXPECT_EQ(bare.cells[1].text, "");
    EXPECT_EQ(bare.cells[2].text, "");
    EXPECT_EQ(bare.cells[3].text, "\\0");
    EXPECT_EQ(f.expenseTotal, "\\300");
}

TEST_F(MonthFiguresTest, DateThatIsNoRealDayIsShownAsStored) {
    addMember(ledger, "太郎");
    auto food = addCategory(ledger, "食費");
    addEntry(ledger, "2006/04/31", food, "", yen(1));
    addEntry(ledger, "2006/04/5", food, "", yen(2));
    addEntry(ledger, "2006/04", food, "", yen(4));

    MonthFigures f = build();

    EXPECT_NE(findRow(f.expenseRows, "2006/04/31"), -1);
    EXPECT_NE(findRow(f.expenseRows, "2006/04/5"), -1);
    EXPECT_NE(findRow(f.expenseRows, "2006/04"), -1);
    EXPECT_EQ(f.expenseTotal, "\\7");
}

TEST_F(MonthFiguresTest, FractionalAmountsAddUpAsWritten) {
    auto taro = addMember(ledger, "太郎");
    auto hanako = addMember(ledger, "花子");
    addIncome(ledger, taro, "2006/04", tenThousandths(1000));   // 0.1
    addIncome(ledger, hanako, "2006/04", tenThousandths(2000)); // 0.2
    auto food = addCategory(ledger, "食費");
    addEntry(ledger, "2006/04/01", food, "", tenThousandths(1000));
    addEntry(ledger, "2006/04/02", food, "", tenThousandths(2000));
    addEntry(ledger, "2006/04/03", food, "", tenThousandths(12345)); // 1.2345
    addEntry(ledger, "2006/04/04", food, "", yen(5));

    MonthFigures f = build();

    EXPECT_EQ(f.incomeRows[0].cells[1].text, "\\0.1");
    EXPECT_EQ(f.incomeTotal, "\\0.3");
    EXPECT_EQ(f.incomeRows[findRow(f.incomeRows, "4月の合計収入")].cells[1].text, "\\0.3");
    EXPECT_EQ(f.expenseRows[2].cells[3].text, "\\1.2345");
    EXPECT_EQ(f.expenseTotal, "\\6.5345");
    EXPECT_EQ(f.categoryRows[0].cells[1].text, "\\6.5345");
    EXPECT_EQ(f.expenseRows.back().cells[3].text, "￥6.5345");
    EXPECT_EQ(f.difference, "\\-6.2345");
}

TEST_F(MonthFiguresTest, LargeWholeYenSumsStayExact) {
    // Each above 2^53, where a double would lose the last digit.
    auto taro = addMember(ledger, "太郎");
    addIncome(ledger, taro, "2006/04", yen(4'000'000'000'000'000'001));
    addIncome(ledger, taro, "2006/05", yen(4'000'000'000'000'000'003));
    auto food = addCategory(ledger, "食費");
    addEntry(ledger, "2006/04/01", food, "", yen(3'000'000'000'000'000'001));
    addEntry(ledger, "2006/04/02", food, "", yen(3'000'000'000'000'000'001));
    addEntry(ledger, "2006/05/02", food, "", yen(3'500'000'000'000'000'005));

    MonthFigures f = build();

    EXPECT_EQ(f.incomeTotal, "\\4000000000000000001");
    EXPECT_EQ(f.incomeRows.back().cells[1].text, "￥8000000000000000004");
    EXPECT_EQ(f.expenseTotal, "\\6000000000000000002");
    EXPECT_EQ(f.categoryRows[0].cells[1].text, "\\6000000000000000002");
    // beyond 64 bits: the year's expenses
    EXPECT_EQ(f.expenseRows.back().cells[3].text, "￥9500000000000000007");
    EXPECT_EQ(f.difference, "\\-2000000000000000001");
}

struct StatusCase {
    const char* name;
    std::int64_t income;
    std::int64_t expense;
    const char* difference;
    const char* verdict;
    std::uint32_t colour;
};

class MonthStatusTest : public MonthFiguresTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(MonthStatusTest, DifferenceAndVerdictFollowTheMonthTotals) {
    const StatusCase& c = GetParam();
    auto taro = addMember(ledger, "太郎");
    auto food = addCategory(ledger, "食費");
    if (c.income != 0)
        addIncome(ledger, taro, "2006/04", yen(c.income));
    if (c.expense != 0)
        addEntry(ledger, "2006/04/10", food, "", yen(c.expense));

    MonthFigures f = build();

    EXPECT_EQ(f.incomeTotal, kYen + QString::number(c.income));
    EXPECT_EQ(f.expenseTotal, kYen + QString::number(c.expense));
    EXPECT_EQ(f.difference, QString::fromUtf8(c.difference));
    EXPECT_EQ(f.verdict, QString::fromUtf8(c.verdict));
    EXPECT_EQ(f.verdictColour, c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, MonthStatusTest,
    ::testing::Values(StatusCase{"Surplus", 300, 250, "\\50", "の黒字です。\r\n(^o^)v", 0x0000FF},
                      StatusCase{"Deficit", 250, 300, "\\-50", "の赤字です。\r\n(T_T)|||", 0xFF0000},
                      StatusCase{"NothingAtAll", 0, 0, "\\0", "イーブンです。\r\n(・o・)", 0x000000},
                      StatusCase{"Even", 1234, 1234, "\\0", "イーブンです。\r\n(・o・)", 0x000000}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace sorakado
