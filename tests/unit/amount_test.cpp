// Amounts as the lists show them, and as they come back from a stored REAL.

#include "ledger_test_support.h"

#include "store/amount.h"

#include <gtest/gtest.h>

#include <limits>

namespace sorakado::testing {
namespace {

struct TextCase {
    Amount amount;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.text;
}

class AmountTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(AmountTextTest, IsPlainDecimalWithAtMostFourDecimals) {
    EXPECT_EQ(GetParam().amount.text(), GetParam().text);
}

constexpr Amount tt(Amount::Raw raw) {
    return Amount::fromTenThousandths(raw);
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, AmountTextTest,
    ::testing::Values(
        TextCase{Amount(), "0"}, TextCase{Amount::fromYen(1), "1"}, TextCase{Amount::fromYen(-1), "-1"},
        TextCase{Amount::fromYen(1234567), "1234567"}, TextCase{tt(5000), "0.5"}, TextCase{tt(-5000), "-0.5"},
        TextCase{tt(15000), "1.5"}, TextCase{tt(12345), "1.2345"}, TextCase{tt(10), "0.001"},
        TextCase{tt(1), "0.0001"}, TextCase{tt(-1), "-0.0001"}, TextCase{tt(-123450), "-12.345"},
        TextCase{Amount::fromYen(1'000'000'000'000'000), "1000000000000000"},
        TextCase{Amount::fromYen(std::numeric_limits<std::int64_t>::max()), "9223372036854775807"},
        TextCase{Amount::fromYen(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808"},
        TextCase{Amount::fromYen(std::numeric_limits<std::int64_t>::max()) + tt(1),
                 "9223372036854775807.0001"}));

struct StoredCase {
    double stored;
    const char* text;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << c.text;
}

class AmountFromStoredDoubleTest : public ::testing::TestWithParam<StoredCase> {};

TEST_P(AmountFromStoredDoubleTest, RoundsToTheNearestTenThousandth) {
    ASSERT_TRUE(Amount::fromStoredDouble(GetParam().stored).has_value());
    EXPECT_EQ(Amount::fromStoredDouble(GetParam().stored)->text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Doubles, AmountFromStoredDoubleTest,
                         ::testing::Values(StoredCase{0.1 + 0.2, "0.3"}, StoredCase{-(0.1 + 0.2), "-0.3"},
                                           StoredCase{123.45, "123.45"}, StoredCase{0.99999, "1"},
                                           StoredCase{-0.99999, "-1"}, StoredCase{0.00004, "0"},
                                           StoredCase{-0.00006, "-0.0001"}, StoredCase{-1.5, "-1.5"},
                                           StoredCase{999999999999999.0, "999999999999999"},
                                           StoredCase{999999999999999.5, "999999999999999.5"},
                                           StoredCase{9007199254740992.0, "9007199254740992"},
                                           // Stored as ...9998779..., ...3995361...: read as the
                                           // digits entered, however large.
                                           StoredCase{999999999999.9999, "999999999999.9999"},
                                           StoredCase{-944193680032.3995, "-944193680032.3995"},
                                           // Halfway between two ten-thousandths: the even one.
                                           StoredCase{0.03125, "0.0312"}, StoredCase{-0.09375, "-0.0938"}));

TEST(Amount, StoredDoublesBeyondAnyAmountDoNotRead) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double v : {inf, -inf, std::numeric_limits<double>::quiet_NaN(), 9223372036854775808.0,
                     -9223372036854775808.0, 9.3e18, 1e300})
        EXPECT_EQ(Amount::fromStoredDouble(v), std::nullopt) << v;
    // The largest doubles below 2^63 still read, digit for digit.
    EXPECT_EQ(Amount::fromStoredDouble(9223372036854774784.0)->text(), "9223372036854774784");
    EXPECT_EQ(Amount::fromStoredDouble(-9223372036854774784.0)->text(), "-9223372036854774784");
}

TEST(Amount, WholeYenOnlyForWholeAmountsThatFit) {
    EXPECT_EQ(Amount::fromYen(-42).wholeYen(), -42);
    EXPECT_EQ(tt(15000).wholeYen(), std::nullopt);
    EXPECT_EQ((Amount::fromYen(std::numeric_limits<std::int64_t>::max()) + Amount::fromYen(1)).wholeYen(),
              std::nullopt);
}

} // namespace
} // namespace sorakado::testing
