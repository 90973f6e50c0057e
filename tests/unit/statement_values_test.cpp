// Dates and amounts as statements write them: every form banks use reads, nothing is guessed.
#include "statement/values.h"

#include <gtest/gtest.h>

namespace sorakado::statement {
namespace {

struct DateCase {
    const char* text;
    DateRead::Kind kind;
    QDate date;
};

class StatementDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(StatementDate, ReadsYearMonthDayNeverSwapped) {
    const auto& c = GetParam();
    const DateRead read = readDate(QString::fromUtf8(c.text));
    EXPECT_EQ(read.kind, c.kind) << c.text;
    if (c.kind == DateRead::Kind::Date) {
        EXPECT_EQ(read.date, c.date) << c.text;
    }
}

constexpr auto kDate = DateRead::Kind::Date;
constexpr auto kNoSuch = DateRead::Kind::NoSuchDate;
constexpr auto kNot = DateRead::Kind::NotADate;

INSTANTIATE_TEST_SUITE_P(
    Forms, StatementDate,
    ::testing::Values(
        DateCase{"2026/11/2", kDate, QDate(2026, 11, 2)}, DateCase{"2026/11/02", kDate, QDate(2026, 11, 2)},
        DateCase{"2026-11-02", kDate, QDate(2026, 11, 2)}, DateCase{"20261102", kDate, QDate(2026, 11, 2)},
        DateCase{"2026年11月2日", kDate, QDate(2026, 11, 2)},
        DateCase{" ２０２６／１１／０２ ", kDate, QDate(2026, 11, 2)},
        DateCase{"2026/02/03", kDate, QDate(2026, 2, 3)}, // never 3 February read as 2 March
        DateCase{"2026/11/02 18:05", kDate, QDate(2026, 11, 2)},
        DateCase{"2026/11/02 18:05:59", kDate, QDate(2026, 11, 2)},
        DateCase{"R8.11.02", kDate, QDate(2026, 11, 2)}, DateCase{"R08.11.02", kDate, QDate(2026, 11, 2)},
        DateCase{"r8.11.2", kDate, QDate(2026, 11, 2)}, DateCase{"令和8年11月2日", kDate, QDate(2026, 11, 2)},
        DateCase{"令和元年5月1日", kDate, QDate(2019, 5, 1)},
        DateCase{"H31.04.30", kDate, QDate(2019, 4, 30)},
        DateCase{"平成31年4月30日", kDate, QDate(2019, 4, 30)},
        DateCase{"H1.01.08", kDate, QDate(1989, 1, 8)}, DateCase{"S64.01.07", kDate, QDate(1989, 1, 7)}));

INSTANTIATE_TEST_SUITE_P(
    Refused, StatementDate,
    ::testing::Values(DateCase{"2026/02/30", kNoSuch, {}}, DateCase{"2026/13/01", kNoSuch, {}},
                      DateCase{"20260230", kNoSuch, {}}, DateCase{"2025/02/29", kNoSuch, {}},
                      DateCase{"R1.04.30", kNoSuch, {}},  // 令和 began on 1 May 2019
                      DateCase{"H31.05.01", kNoSuch, {}}, // 平成 had ended the day before
                      DateCase{"R0.11.02", kNoSuch, {}}, DateCase{"小計", kNot, {}}, DateCase{"", kNot, {}},
                      DateCase{"'26/12", kNot, {}}, DateCase{"4980-****-****-1234", kNot, {}},
                      DateCase{"12345", kNot, {}}));

TEST(StatementDate, LeapDayExistsOnlyInLeapYears) {
    EXPECT_EQ(readDate(u"2028/02/29").kind, kDate);
    EXPECT_EQ(readDate(u"R10.02.29").date, QDate(2028, 2, 29));
}

struct AmountCase {
    const char* text;
    AmountRead::Kind kind;
    Amount amount;
};

class StatementAmount : public ::testing::TestWithParam<AmountCase> {};

TEST_P(StatementAmount, ReadsEveryNotationAndRefunds) {
    const auto& c = GetParam();
    const AmountRead read = readAmount(QString::fromUtf8(c.text));
    EXPECT_EQ(read.kind, c.kind) << c.text;
    if (c.kind == AmountRead::Kind::Amount) {
        EXPECT_EQ(read.amount, c.amount) << c.text << " read " << read.amount.text();
    }
}

constexpr auto kAmount = AmountRead::Kind::Amount;
constexpr auto kBad = AmountRead::Kind::Unreadable;
constexpr auto kEmpty = AmountRead::Kind::Empty;

INSTANTIATE_TEST_SUITE_P(Forms, StatementAmount,
                         ::testing::Values(AmountCase{"9000", kAmount, Amount::fromYen(9000)},
                                           AmountCase{"9,000", kAmount, Amount::fromYen(9000)},
                                           AmountCase{"¥9,000", kAmount, Amount::fromYen(9000)},
                                           AmountCase{"￥9,000", kAmount, Amount::fromYen(9000)},
                                           AmountCase{"\\9,000", kAmount, Amount::fromYen(9000)},
                                           AmountCase{"9,000円", kAmount, Amount::fromYen(9000)},
                                           AmountCase{"292 円", kAmount, Amount::fromYen(292)},
                                           AmountCase{"１，２００", kAmount, Amount::fromYen(1200)},
                                           AmountCase{" 1,234,567 ", kAmount, Amount::fromYen(1234567)},
                                           AmountCase{"12.5", kAmount, Amount::fromTenThousandths(125000)},
                                           AmountCase{"-500", kAmount, Amount::fromYen(-500)},
                                           AmountCase{"△500", kAmount, Amount::fromYen(-500)},
                                           AmountCase{"▲500", kAmount, Amount::fromYen(-500)},
                                           AmountCase{"▲¥1,500", kAmount, Amount::fromYen(-1500)},
                                           AmountCase{"¥-1,500", kAmount, Amount::fromYen(-1500)},
                                           AmountCase{"－５００円", kAmount, Amount::fromYen(-500)}));

INSTANTIATE_TEST_SUITE_P(Refused, StatementAmount,
                         ::testing::Values(AmountCase{"", kEmpty, {}}, AmountCase{"  ", kEmpty, {}},
                                           AmountCase{"三百", kBad, {}}, AmountCase{"-", kBad, {}},
                                           AmountCase{"1,00", kBad, {}}, AmountCase{"12.34567", kBad, {}},
                                           AmountCase{"--5", kBad, {}}, AmountCase{"1 2", kBad, {}},
                                           AmountCase{"9999999999999999", kBad, {}},
                                           AmountCase{"=1+1", kBad, {}}));

} // namespace
} // namespace sorakado::statement
