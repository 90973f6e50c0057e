// One month key for the whole program: how it is spelt, read back, and which months the window
// can list. The window's period check, the tool's check and the import once had a rule each
// (1900 to 3000, from 2000, any four digits); the table holds all three to the window's.

#include "monthly/period_check.h"
#include "store/month_key.h"

#include <gtest/gtest.h>

namespace sorakado {
namespace {

struct KeyCase {
    const char* text;
    bool parses;
    bool listable;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class MonthKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(MonthKeyTest, ReadsBackAndIsListableExactlyWhenTheWindowCanShowIt) {
    const KeyCase& c = GetParam();
    const auto key = MonthKey::parse(c.text);
    ASSERT_EQ(key.has_value(), c.parses);
    if (!key)
        return;
    EXPECT_EQ(key->text(), c.text);
    EXPECT_EQ(key->listable(), c.listable);
    // The window's period check lets the same months through.
    const PeriodCheck period =
        checkPeriod(QString::fromStdString(key->yearText()), QString::number(key->month()));
    EXPECT_EQ(period.passed(), c.listable);
    if (period.passed()) {
        EXPECT_EQ(period.monthKey().toStdString(), c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MonthKeyTest,
    ::testing::Values(
        // The window lists 1900 to 3000. The check called 1900-1999 hidden; the import let
        // through years before 1900 and after 3000.
        KeyCase{"1899/12", true, false}, KeyCase{"1900/01", true, true}, KeyCase{"1999/12", true, true},
        KeyCase{"2000/01", true, true}, KeyCase{"2006/04", true, true}, KeyCase{"3000/12", true, true},
        KeyCase{"3001/01", true, false}, KeyCase{"0200/01", true, false}, KeyCase{"9999/12", true, false},
        // Not a key the ledger stores months under.
        KeyCase{"2006/4", false, false}, KeyCase{"2006/00", false, false}, KeyCase{"2006/13", false, false},
        KeyCase{"2006-04", false, false}, KeyCase{" 2006/04", false, false},
        KeyCase{"2006/04 ", false, false}, KeyCase{"２００６/04", false, false},
        KeyCase{"20060/01", false, false}, KeyCase{"", false, false}));

TEST(MonthKey, BuiltFromNumbersOrAYearTextAsEveryReaderBuildsIt) {
    EXPECT_EQ(MonthKey::of(2006, 4)->text(), "2006/04");
    EXPECT_EQ(MonthKey::of(2006, 12)->text(), "2006/12");
    EXPECT_EQ(MonthKey::of(200, 1)->text(), "0200/01");
    EXPECT_EQ(MonthKey::of(2006, 4)->yearText(), "2006");
    EXPECT_FALSE(MonthKey::of(2006, 0));
    EXPECT_FALSE(MonthKey::of(2006, 13));
    EXPECT_FALSE(MonthKey::of(10000, 1));
    EXPECT_FALSE(MonthKey::of(-1, 1));
    // A year summary reads the keys of the year text it is given, as it stands.
    EXPECT_EQ(MonthKey::keyText("2006", 4), "2006/04");
    EXPECT_EQ(MonthKey::keyText("200", 11), "200/11");
    EXPECT_EQ(MonthKey::parse("2006/04"), MonthKey::of(2006, 4));
}

// Every year and month the period check is asked about, around both ends of the window's
// range: it passes exactly the listable keys.
TEST(MonthKey, ThePeriodCheckAndTheKeyAgreeAtBothEnds) {
    for (int year : {1, 1000, 1898, 1899, 1900, 1901, 1999, 2000, 2999, 3000, 3001, 9999})
        for (int month = 0; month <= 13; ++month) {
            const auto key = MonthKey::of(year, month);
            const bool listable = key && key->listable();
            EXPECT_EQ(checkPeriod(QString::number(year), QString::number(month)).passed(), listable)
                << year << "/" << month;
        }
}

} // namespace
} // namespace sorakado
