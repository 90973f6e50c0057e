// The six checks of the year and month texts before a monthly rebuild, and the texts they pass on.

#include "monthly/period_check.h"

#include <gtest/gtest.h>

#include <ostream>

namespace sorakado {
namespace {

using namespace period_texts;

struct Refusal {
    const char* year;
    const char* month;
    int check;
    const QString* message;
    PeriodFocus focus;
};

void PrintTo(const Refusal& c, std::ostream* os) {
    *os << '"' << c.year << "\" \"" << c.month << '"';
}

class PeriodRefused : public ::testing::TestWithParam<Refusal> {};

TEST_P(PeriodRefused, FirstFailingCheckDecides) {
    const auto& c = GetParam();
    auto r = checkPeriod(QString::fromUtf8(c.year), QString::fromUtf8(c.month));
    EXPECT_FALSE(r.passed());
    EXPECT_EQ(r.failedCheck, c.check);
    EXPECT_EQ(r.message.toStdString(), c.message->toStdString());
    EXPECT_EQ(r.focus, c.focus);
}

constexpr auto Y = PeriodFocus::Year;
constexpr auto M = PeriodFocus::Month;
constexpr auto Same = PeriodFocus::Unchanged;

INSTANTIATE_TEST_SUITE_P(
    Periods, PeriodRefused,
    ::testing::Values(
        // 1: the year is not a whole number; nothing else is looked at and the focus stays
        Refusal{"", "04", 1, &kYearNotNumber, Same}, Refusal{"abc", "xyz", 1, &kYearNotNumber, Same},
        Refusal{"abc", "13", 1, &kYearNotNumber, Same}, Refusal{"2005.5", "04", 1, &kYearNotNumber, Same},
        Refusal{"20 06", "04", 1, &kYearNotNumber, Same}, Refusal{"2e3", "04", 1, &kYearNotNumber, Same},
        // 2: the month is not a whole number
        Refusal{"2006", "", 2, &kMonthNotNumber, M}, Refusal{"2006", "four", 2, &kMonthNotNumber, M},
        Refusal{"2006", "4.5", 2, &kMonthNotNumber, M}, Refusal{"2006", "12.5", 2, &kMonthNotNumber, M},
        Refusal{"3001", "x", 2, &kMonthNotNumber, M},
        // 3 and 4: the year range, before any month range
        Refusal{"3001", "04", 3, &kYearTooLate, Y}, Refusal{"3001", "13", 3, &kYearTooLate, Y},
        Refusal{"99999999999999999999", "04", 3, &kYearTooLate, Y},
        Refusal{"1899", "04", 4, &kYearTooEarly, Y}, Refusal{"1899", "0", 4, &kYearTooEarly, Y},
        Refusal{"-2006", "04", 4, &kYearTooEarly, Y}, Refusal{"0", "04", 4, &kYearTooEarly, Y},
        // 5 and 6: the month range
        Refusal{"2006", "13", 5, &kMonthTooHigh, M}, Refusal{"2006", "１３", 5, &kMonthTooHigh, M},
        Refusal{"2006", "0", 6, &kMonthTooLow, M}, Refusal{"2006", "00", 6, &kMonthTooLow, M},
        Refusal{"2006", "-1", 6, &kMonthTooLow, M}, Refusal{"2006", "0.0", 6, &kMonthTooLow, M}));

struct Passed {
    const char* year;
    const char* month;
    const char* monthKey;
};

void PrintTo(const Passed& c, std::ostream* os) {
    *os << '"' << c.year << "\" \"" << c.month << '"';
}

class PeriodPassed : public ::testing::TestWithParam<Passed> {};

TEST_P(PeriodPassed, GivesNormalisedTextsAndTheMonthKey) {
    auto r = checkPeriod(QString::fromUtf8(GetParam().year), QString::fromUtf8(GetParam().month));
    ASSERT_TRUE(r.passed()) << r.failedCheck;
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(r.monthKey().toStdString(), GetParam().monthKey);
    EXPECT_EQ(r.yearText.size(), 4);
    EXPECT_EQ(r.monthText.size(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Periods, PeriodPassed,
    ::testing::Values(Passed{"2006", "04", "2006/04"}, Passed{"2006", "4", "2006/04"},
                      Passed{"1900", "01", "1900/01"}, Passed{"3000", "12", "3000/12"},
                      Passed{" ２００６ ", "１２", "2006/12"}, Passed{"02006", "+4", "2006/04"},
                      Passed{"2006.0", "04.00", "2006/04"}, Passed{"　2006\t", " 004 ", "2006/04"},
                      Passed{"2,006", "1", "2006/01"}, Passed{"3000.000", "12.0", "3000/12"}));

} // namespace
} // namespace sorakado
