// Amounts another tool may have stored: infinities, REALs past any amount, text that reads as
// a number too large for any. Each is reported as an error by every read of the rows that meets
// it, never turned into some other number.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/ledger_writes.h"
#include "store/testing/month_sums_cases.h"
#include "store/testing/reference_reads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

using ::testing::HasSubstr;

// Puts one income and one entry of 2006/04 with the amount written as SQL, as a foreign tool
// would, next to ordinary rows.
void seedWithAmount(const TempLedger& file, const std::string& sqlAmount) {
    Ledger l = file.open();
    auto taro = addMember(l, "太郎");
    auto food = addCategory(l, "食費");
    addIncome(l, taro, "2006/04", yen(1000));
    addEntry(l, "2006/04/01", food, "米", yen(2000));
    addIncomeStoredAs(l, taro, "2006/04", sqlAmount);
    addEntryStoredAs(l, "2006/04/02", food, sqlAmount);
}

// A read that must fail with a message about the amount, not give a figure.
template <typename Read> void expectRefused(const char* what, Read&& read) {
    try {
        read();
        ADD_FAILURE() << what << " gave a figure";
    } catch (const LedgerError& e) {
        EXPECT_THAT(e.description(), HasSubstr("金額")) << what;
    }
}

class OddStoredAmount : public ::testing::TestWithParam<const char*> {};

TEST_P(OddStoredAmount, EveryReadOfItsRowsFailsWithAMessage) {
    TempLedger file;
    seedWithAmount(file, GetParam());
    Ledger ledger = file.open();
    expectRefused("monthEntries", [&] { monthEntries(ledger, "2006/04"); });
    expectRefused("monthIncomes", [&] { ledger.monthIncomes("2006/04"); });
    expectRefused("monthExpenses", [&] { monthExpenses(ledger, "2006/04"); });
    // Other months are untouched by the odd row, also for the reads kept prepared between rebuilds
    // that a refused read left in the middle of the month.
    EXPECT_EQ(monthEntries(ledger, "2006/05").size(), 0u);
    EXPECT_EQ(monthExpenses(ledger, "2006/05").entries.size(), 0u);
    EXPECT_EQ(ledger.monthIncomes("2006/05").size(), 0u);
    expectRefused("monthExpenses again", [&] { monthExpenses(ledger, "2006/04"); });
}

// The year summaries read stored month figures that triggers keep; an amount they cannot add
// must not enter them clipped. The same for a REAL that reads as an amount but whose
// ten-thousandths do not fit 64 bits.
class UnaddableStoredAmount : public ::testing::TestWithParam<const char*> {};

TEST_P(UnaddableStoredAmount, YearAndCategorySumsRefuseItAndComeBackWhenItIsGone) {
    TempLedger file;
    std::int64_t odd = 0;
    {
        Ledger l = file.open();
        auto taro = addMember(l, "太郎");
        auto food = addCategory(l, "食費");
        addIncome(l, taro, "2006/05", yen(1000));
        addEntry(l, "2006/05/01", food, "米", yen(2000));
        addEntry(l, "2006/04/01", food, "米", yen(3000));
        odd = addEntryStoredAs(l, "2006/04/02", food, GetParam());
    }
    Ledger ledger = file.open();
    expectRefused("yearExpenseSums", [&] { ledger.yearExpenseSums("2006"); });
    expectRefused("monthCategorySums", [&] { ledger.monthCategorySums("2006/04"); });
    EXPECT_EQ(ledger.yearIncomeSums("2006")[4], yen(1000));

    writes::deleteEntry(ledger, odd);
    auto sums = ledger.yearExpenseSums("2006");
    EXPECT_EQ(sums[3], yen(3000));
    EXPECT_EQ(sums[4], yen(2000));
}

// A ledger made before the sums were kept gets them on open, counted from its rows: such an
// amount neither stops the ledger from opening nor enters a figure, and the recount agrees with
// what the triggers keep from then on.
TEST_P(UnaddableStoredAmount, ALedgerMadeBeforeStillOpensAndItsSumsStillRefuseIt) {
    TempLedger file;
    {
        Ledger l = file.open();
        auto food = addCategory(l, "食費");
        addEntry(l, "2006/04/01", food, "米", yen(3000));
        addEntryStoredAs(l, "2006/04/02", food, GetParam());
        makeEarlierVersion(l);
    }
    Ledger ledger = file.open();
    EXPECT_EQ(schemaVersion(ledger), 4);
    expectRefused("yearExpenseSums", [&] { ledger.yearExpenseSums("2006"); });
    EXPECT_TRUE(ledger.monthSumDifferences().empty());
    addEntry(ledger, "2006/04/03", 1, "塩", yen(100));
    EXPECT_TRUE(ledger.monthSumDifferences().empty());
}

INSTANTIATE_TEST_SUITE_P(Values, UnaddableStoredAmount,
                         ::testing::Values("1000000000000000.5", "-2500000000000000.5", "9.3e18", "9e999",
                                           "'1e400'"));

INSTANTIATE_TEST_SUITE_P(Values, OddStoredAmount,
                         ::testing::Values("9.3e18", "-9.3e18", "1e300", "9e999", "-9e999", "'1e400'",
                                           "'-1e400'", "9223372036854775808.0"));

} // namespace
} // namespace sorakado::testing
