// The per-month sums the year summaries read: every way a ledger is written keeps them equal to
// the rows, ledgers made before get them on open, and every figure is the one the rows give.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/ledger_import_writer.h"
#include "store/ledger_writes.h"
#include "store/testing/month_sums_cases.h"
#include "store/testing/odd_rows.h"
#include "store/testing/reference_reads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace sorakado::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The stored figures agree with a recount, and every year summary reads what the rows give.
void expectSumsMatchRows(Ledger& ledger, const std::vector<std::string>& years) {
    EXPECT_THAT(ledger.monthSumDifferences(), IsEmpty());
    for (const auto& year : years) {
        EXPECT_EQ(texts(ledger.yearIncomeSums(year)), texts(incomeSumsFromRows(ledger, year))) << year;
        EXPECT_EQ(texts(ledger.yearExpenseSums(year)), texts(expenseSumsFromRows(ledger, year))) << year;
    }
}

const std::vector<std::string> kYears = {"2006", "2007", "2005", "200", "20060"};

class MonthSumsTest : public ::testing::Test {
protected:
    TempLedger temp_;
};

TEST_F(MonthSumsTest, FiguresEqualWhatTheRowsGiveForEveryKindOfRow) {
    Ledger ledger = temp_.open();
    seedAwkwardRows(ledger);
    expectSumsMatchRows(ledger, kYears);
    // A few figures spelled out, so the comparison above cannot pass by both sides going wrong.
    EXPECT_THAT(texts(ledger.yearIncomeSums("2006")),
                ElementsAre("300000.1", "0.3", "-", "-1458", "0", "-", "-", "-", "-", "-", "-",
                            "1000000000000122.4567"));
    EXPECT_THAT(
        texts(ledger.yearExpenseSums("2006")),
        ElementsAre("1200.3", "-", "503", "10", "0", "-250.5", "-", "-", "-", "-", "-", "199999999999.9998"));
    EXPECT_EQ(texts(ledger.yearIncomeSums("200"))[0], "11");
    EXPECT_EQ(texts(ledger.yearExpenseSums("200"))[0], "2");
    EXPECT_EQ(texts(ledger.yearExpenseSums("20060"))[0], "3");
}

// The one-pass read of a month gives the list and every listed category's total exactly as the
// two reads it stands for.
TEST_F(MonthSumsTest, OnePassOverTheMonthGivesTheEntriesAndCategoryTotalsOfTheTwoReads) {
    Ledger ledger = temp_.open();
    seedAwkwardRows(ledger);
    auto fun = writes::addCategory(ledger, "娯楽2");
    writes::addEntry(ledger, {"2006/12/01", fun, "x", tenThousandths(5)});
    writes::addEntry(ledger, {"2006/12/02", fun, "y", yen(-3)});
    // Category keys no category has: one that is not a whole number, and text.
    addEntryWithCategoryKeyStoredAs(ledger, "2006/12/03", "1.5", yen(7));
    addEntryWithCategoryKeyStoredAs(ledger, "2006/12/03", "'1x'", yen(8));
    for (const char* month :
         {"2006/01", "2006/03", "2006/04", "2006/05", "2006/06", "2006/12", "2006/1", "2006"}) {
        SCOPED_TRACE(month);
        const MonthExpenses both = monthExpenses(ledger, month);
        const auto entries = monthEntries(ledger, month);
        ASSERT_EQ(both.entries.size(), entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(both.entries[i].key, entries[i].key);
            EXPECT_EQ(both.entries[i].date, entries[i].date);
            EXPECT_EQ(both.entries[i].categoryName, entries[i].categoryName);
            EXPECT_EQ(both.entries[i].description, entries[i].description);
            EXPECT_EQ(both.entries[i].amount, entries[i].amount);
        }
        const auto sums = ledger.monthCategorySums(month);
        for (const Category& c : ledger.categories()) {
            const auto one = both.categorySums.find(c.key);
            const auto two = sums.find(c.key);
            ASSERT_EQ(one != both.categorySums.end(), two != sums.end()) << c.key;
            if (one != both.categorySums.end()) {
                EXPECT_EQ(one->second, two->second) << c.key;
            }
        }
    }
}

TEST_F(MonthSumsTest, EveryWritePathKeepsTheStoredFiguresEqualToARecount) {
    Ledger ledger = temp_.open();
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        expectSumsMatchRows(ledger, {"2006", "2007"});
    };

    auto taro = writes::addMember(ledger, "太郎");
    auto hanako = writes::addMember(ledger, "花子");
    writes::setMonthIncome(ledger, taro, "2006/04", yen(300000));
    writes::setMonthIncome(ledger, hanako, "2006/04", tenThousandths(1234));
    writes::setMonthIncome(ledger, hanako, "2006/05", yen(5000));
    check("incomes added");
    writes::setMonthIncome(ledger, taro, "2006/04", tenThousandths(2'500'001));
    check("income changed to a fraction");
    writes::setMonthIncome(ledger, hanako, "2006/04", Amount());
    check("income removed by a zero");
    addIncome(ledger, taro, "2006/05", yen(1));
    addIncome(ledger, taro, "2006/05", yen(2));
    writes::setMonthIncome(ledger, taro, "2006/05", yen(10));
    check("duplicate incomes folded into one");
    writes::deleteMember(ledger, hanako);
    check("member deleted with its incomes");

    auto food = writes::addCategory(ledger, "食費");
    auto fun = writes::addCategory(ledger, "娯楽");
    auto rice = writes::addEntry(ledger, {"2006/04/05", food, "米", yen(2000)});
    auto film = writes::addEntry(ledger, {"2006/04/06", fun, "映画", tenThousandths(18005)});
    writes::addEntry(ledger, {"2006/12/31", fun, "年越し", yen(3000)});
    writes::addEntry(ledger, {"2007/01/01", food, "餅", tenThousandths(1)});
    check("entries added");
    writes::changeEntry(ledger, rice, {"2007/01/02", fun, "米", tenThousandths(20001)});
    check("entry moved to another year, category and amount");
    writes::changeEntry(ledger, film, {"2006/04/06", fun, "映画館", tenThousandths(18005)});
    check("entry's description changed");
    writes::deleteEntry(ledger, film);
    check("entry deleted");
    writes::deleteCategory(ledger, fun);
    check("category deleted with its entries");

    anotherProgramWrites(temp_.path());
    check("another program's writes");
    replaceMonthEntries(ledger, "2006/08", "2006/10/10", 7);
    check("rows replaced: the pushed-out rows count as deleted on this program's connection");
    anotherProgramDeletesAllRows(temp_.path());
    check("everything deleted");
    EXPECT_THAT(ledger.yearIncomeSums("2006"), ::testing::Each(std::nullopt));
}

TEST_F(MonthSumsTest, TheImportWriterKeepsTheFigures) {
    LedgerRows rows;
    rows.members = {{3, "太郎"}};
    rows.incomes = {{3, "2006/04", yen(250000)},
                    {77, "2006/04", tenThousandths(5)},
                    {3, "2006/4", yen(1)},
                    {std::nullopt, std::nullopt, yen(2)},
                    {3, "2006/05", std::nullopt}};
    rows.categories = {{5, "食費"}};
    rows.entries = {{10, "2006/04/01", 5, "米", yen(2000)},
                    {11, "2006/04/02", 9, "品目なし", tenThousandths(15)},
                    {12, "2006/04/03", std::nullopt, std::nullopt, std::nullopt},
                    {13, std::nullopt, 5, "日付なし", yen(4)},
                    {14, "2007/12/31", 5, "年末", yen(-30)}};
    Ledger ledger = temp_.open();
    writeLedgerRows(ledger, rows);
    expectSumsMatchRows(ledger, {"2006", "2007"});
    EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[3], "250000.0005");
    EXPECT_EQ(texts(ledger.yearExpenseSums("2006"))[3], "2000.0015");
}

TEST_F(MonthSumsTest, NewLedgersCarryTheSumsTheirTriggersAndTheirVersion) {
    Ledger ledger = temp_.open();
    EXPECT_EQ(schemaVersion(ledger), 4);
    EXPECT_THAT(schemaObjects(ledger, "収入月計"), ElementsAre("収入月計", "収入月計_削除", "収入月計_変更前",
                                                               "収入月計_変更後", "収入月計_追加"));
    EXPECT_EQ(schemaObjects(ledger, "出費月計").size(), 5u);
    EXPECT_THAT(schemaObjects(ledger, "DATA_年月日"), ElementsAre("DATA_年月日_明細"));
}

TEST_F(MonthSumsTest, ALedgerMadeBeforeGetsItsSumsOnOpenInOneGo) {
    {
        Ledger old = temp_.open();
        makeEarlierVersion(old);
        seedAwkwardRows(old); // nothing counts these rows as they go in
        ASSERT_THAT(schemaObjects(old, "収入月計"), IsEmpty());
    }
    Ledger ledger = temp_.open();
    EXPECT_EQ(schemaVersion(ledger), 4);
    EXPECT_THAT(schemaObjects(ledger, "DATA_年月日"), ElementsAre("DATA_年月日_明細"));
    expectSumsMatchRows(ledger, kYears);
    writes::addEntry(ledger, {"2006/01/02", 1, "後から", tenThousandths(7)});
    expectSumsMatchRows(ledger, {"2006"});

    // A second open finds everything in place and leaves the file as it is.
    const std::string before = fileBytes(temp_.path());
    temp_.open();
    EXPECT_EQ(fileBytes(temp_.path()), before);
}

TEST_F(MonthSumsTest, SumsAnotherToolDroppedAreRestoredAndRecountedOnOpen) {
    {
        Ledger l = temp_.open();
        dropTrigger(l, "出費月計_追加");
        seedAwkwardRows(l); // entries added while nothing counted them
    }
    Ledger ledger = temp_.open();
    expectSumsMatchRows(ledger, kYears);
}

TEST_F(MonthSumsTest, ACheckFindsFiguresThatDifferFromTheRowsAndARecountMendsThem) {
    Ledger ledger = temp_.open();
    auto food = writes::addCategory(ledger, "食費");
    writes::addEntry(ledger, {"2006/04/05", food, "米", yen(2000)});
    anotherProgramReplacesEveryEntry(temp_.path(), 500);
    storeMonthFigure(ledger, "収入月計", "2006/01", 5, 1);

    auto differences = ledger.monthSumDifferences();
    ASSERT_EQ(differences.size(), 2u);
    EXPECT_EQ(differences[0].table, "収入月計");
    EXPECT_EQ(differences[0].monthKey, "2006/01");
    EXPECT_EQ(differences[0].stored.sum, yen(5));
    EXPECT_EQ(differences[0].counted, MonthSumFigure{});
    EXPECT_EQ(differences[1].table, "出費月計");
    EXPECT_EQ(differences[1].monthKey, "2006/04");
    EXPECT_EQ(differences[1].stored.sum, yen(2500));
    EXPECT_EQ(differences[1].stored.count, 2);
    EXPECT_EQ(differences[1].counted.sum, yen(500));
    EXPECT_EQ(differences[1].counted.count, 1);

    ledger.recountMonthSums();
    expectSumsMatchRows(ledger, {"2006"});
}

// A month whose whole-yen sum outgrows 64 bits is read from its rows, as it always was: the
// rows' sum reports the overflow, and once the rows fit again the figure is exact again.
TEST_F(MonthSumsTest, AMonthBeyondSixtyFourBitsIsReadFromItsRows) {
    Ledger ledger = temp_.open();
    auto m = writes::addMember(ledger, "m");
    addIncome(ledger, m, "2006/04", yen(std::numeric_limits<std::int64_t>::max() - 5));
    addIncome(ledger, m, "2006/04", yen(10));
    addIncome(ledger, m, "2006/05", yen(10));
    EXPECT_THROW(incomeSumsFromRows(ledger, "2006"), LedgerError);
    EXPECT_THROW(ledger.yearIncomeSums("2006"), LedgerError);

    deleteIncomesAbove(ledger, 10);
    EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[3], "10");
    EXPECT_EQ(ledger.monthSumDifferences().size(), 1u); // the stored figure is no longer exact
    ledger.recountMonthSums();
    expectSumsMatchRows(ledger, {"2006"});
}

} // namespace
} // namespace sorakado::testing
