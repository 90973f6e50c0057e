// Amounts with a fraction near and above 9 * 10^11 yen, where a double times 10^4 no longer
// holds the last digit: the year summaries, the recount and the single rows all read a stored
// REAL as its own value rounded half to even at the fifth decimal.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/testing/ledger_seed.h"
#include "store/testing/month_sums_cases.h"
#include "store/testing/reference_reads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace sorakado::testing {
namespace {

struct RoundingCase {
    const char* name;
    std::vector<const char*> stored; // SQL literals, each one row of 2006/04
    const char* sum;                 // the month's figure as the lists show it
};

void PrintTo(const RoundingCase& c, std::ostream* os) {
    *os << c.name;
}

class MonthSumsRoundingTest : public ::testing::TestWithParam<RoundingCase> {
protected:
    TempLedger temp_;
};

TEST_P(MonthSumsRoundingTest, YearSummariesRecountAndRowsAgreeToTheLastDigit) {
    Ledger ledger = temp_.open();
    const auto member = addMember(ledger, "太郎");
    const auto category = addCategory(ledger, "食費");
    for (const char* amount : GetParam().stored) {
        addIncomeStoredAs(ledger, member, "2006/04", amount);
        addEntryStoredAs(ledger, "2006/04/10", category, amount);
    }

    EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[3], GetParam().sum);
    EXPECT_EQ(texts(ledger.yearExpenseSums("2006"))[3], GetParam().sum);
    EXPECT_THAT(ledger.monthSumDifferences(), ::testing::IsEmpty());
    EXPECT_EQ(texts(incomeSumsFromRows(ledger, "2006"))[3], GetParam().sum);

    // The single rows and the category total show the same figure, as they always did.
    Amount listed;
    for (const Entry& e : monthEntries(ledger, "2006/04"))
        listed += e.amount.value_or(Amount());
    EXPECT_EQ(listed.text(), GetParam().sum);
    EXPECT_EQ(ledger.monthCategorySums("2006/04").at(category).text(), GetParam().sum);
    EXPECT_EQ(monthExpenses(ledger, "2006/04").categorySums.at(category).text(), GetParam().sum);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, MonthSumsRoundingTest,
    ::testing::Values(
        // 999999999999.9999 is stored as 999999999999.99987..., 944193680032.3995 as
        // 944193680032.39953...: a double times 10^4 gave ...9998 and ...3996.
        RoundingCase{"nines", {"999999999999.9999"}, "999999999999.9999"},
        RoundingCase{"just_above_a_half_below", {"944193680032.3995"}, "944193680032.3995"},
        RoundingCase{"negative_nines", {"-999999999999.9999"}, "-999999999999.9999"},
        RoundingCase{"negative_below", {"-944193680032.3995"}, "-944193680032.3995"},
        RoundingCase{
            "cancelling_out", {"999999999999.9999", "60040", "-1000000000000", "20020"}, "80059.9999"},
        RoundingCase{"two_large_fractions", {"999999999999.9999", "944193680032.3995"}, "1944193680032.3994"},
        RoundingCase{"large_and_small", {"899999999999.9999", "0.0001"}, "900000000000"},
        // A double exactly halfway between two ten-thousandths goes to the even one.
        RoundingCase{"tie_to_even_down", {"0.03125"}, "0.0312"},
        RoundingCase{"tie_to_even_up", {"0.09375"}, "0.0938"},
        RoundingCase{"negative_tie", {"-0.03125"}, "-0.0312"},
        RoundingCase{"small_fractions", {"0.1", "0.2"}, "0.3"}),
    [](const auto& param) { return std::string(param.param.name); });

// Every double the sums can take, the ledger's own expression and the reading of a single row
// agree: hand-picked values at the edges, halfway points and their neighbours, and random ones
// over every size from a fraction of a ten-thousandth to the largest the sums add up.
TEST(MonthSumsRounding, TheSumsCountEveryStoredDoubleAsTheRowsReadIt) {
    TempLedger temp;
    Ledger ledger = temp.open();
    std::vector<double> values = {0.0,     0.00005,  -0.00005,          0.00015,
                                  0.03125, 0.5,      1.00005,           900719925474.0992,
                                  8.99e14, -8.99e14, 999999999999.9999, 944193680032.3995,
                                  1e-300,  4.9e-324, 123.4567,          -0.1};
    for (int m = 1; m < 64; m += 2) // the ties m/32 and the doubles on either side
        for (double whole : {0.0, 1.0, 1e6, 123456789.0}) {
            const double tie = whole + m / 32.0;
            values.insert(values.end(), {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300), -tie});
        }
    std::mt19937_64 random(18);
    std::uniform_int_distribution<std::int64_t> mantissa(0, (std::int64_t(1) << 53) - 1);
    std::uniform_int_distribution<int> exponent(-70, -4);
    for (int i = 0; i < 20000; ++i) {
        const double v = std::ldexp(static_cast<double>(mantissa(random)), exponent(random));
        if (std::fabs(v) < 9.0e14)
            values.push_back(i % 2 == 0 ? v : -v);
    }
    for (double v : values) {
        const auto row = Amount::fromStoredDouble(v);
        ASSERT_TRUE(row.has_value()) << v;
        ASSERT_EQ(summedTenThousandths(ledger, v), static_cast<std::int64_t>(row->tenThousandths()))
            << std::hexfloat << v;
    }
}

// A ledger whose sums were counted the old way has them counted again on open, once.
TEST(MonthSumsRounding, ALedgerOfTheEarlierCountGetsTodaysTriggersAndFigures) {
    TempLedger temp;
    {
        Ledger old = temp.open();
        makeVersionOneCount(old);
        const auto member = addMember(old, "太郎");
        addIncomeStoredAs(old, member, "2006/04", "999999999999.9999");
        addIncomeStoredAs(old, member, "2006/05", "944193680032.3995");
        ASSERT_EQ(texts(old.yearIncomeSums("2006"))[3], "999999999999.9998");
        ASSERT_EQ(texts(old.yearIncomeSums("2006"))[4], "944193680032.3996");
    }
    Ledger ledger = temp.open();
    EXPECT_EQ(schemaVersion(ledger), 4);
    EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[3], "999999999999.9999");
    EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[4], "944193680032.3995");
    addIncomeStoredAs(ledger, addMember(ledger, "花子"), "2006/05", "999999999999.9999");
    EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[4], "1944193680032.3994");
    EXPECT_THAT(ledger.monthSumDifferences(), ::testing::IsEmpty());
}

} // namespace
} // namespace sorakado::testing
