// When repeating entries fall due: table-driven over month ends, a leap year, year ends, yearly
// 2/29, and first and last months.

#include "store/recurring_schedule.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace sorakado::recurring {
namespace {

std::vector<std::string> texts(const std::vector<Day>& days) {
    std::vector<std::string> out;
    for (const auto& d : days)
        out.push_back(d.text());
    return out;
}

Day day(const char* text) {
    return *parseDay(text);
}

YearMonth month(const char* text) {
    return *parseMonth(text);
}

struct MonthlyCase {
    int day;
    const char* from;
    const char* today;
    std::vector<std::string> due;
};

TEST(RecurringSchedule, AMonthlyDayTheMonthLacksFallsOnItsLastDayEveryTimeWithoutDrifting) {
    const std::vector<MonthlyCase> cases{
        {31,
         "2023/11",
         "2024/05/31",
         {"2023/11/30", "2023/12/31", "2024/01/31", "2024/02/29", "2024/03/31", "2024/04/30", "2024/05/31"}},
        {30, "2024/01", "2024/03/30", {"2024/01/30", "2024/02/29", "2024/03/30"}},
        {29, "2023/01", "2023/03/29", {"2023/01/29", "2023/02/28", "2023/03/29"}},
        {29, "2024/02", "2024/02/29", {"2024/02/29"}},
        {kLastDay, "2023/12", "2024/03/31", {"2023/12/31", "2024/01/31", "2024/02/29", "2024/03/31"}},
        {kLastDay, "2025/02", "2025/02/28", {"2025/02/28"}},
        // Today before the day: this month is not written yet.
        {25, "2024/12", "2025/01/24", {"2024/12/25"}},
        {1, "2024/12", "2025/01/01", {"2024/12/01", "2025/01/01"}},
        // A first month after today writes nothing.
        {1, "2025/03", "2025/02/28", {}},
    };
    for (const auto& c : cases) {
        const Schedule s{c.day, std::nullopt, month(c.from), std::nullopt};
        EXPECT_EQ(texts(dueDates(s, std::nullopt, day(c.today))), c.due) << c.day << " from " << c.from;
    }
}

TEST(RecurringSchedule, AYearlyScheduleFallsOnceAYearAndOn228OutsideLeapYears) {
    const Schedule feb29{29, 2, month("2023/01"), std::nullopt};
    EXPECT_EQ(texts(dueDates(feb29, std::nullopt, day("2026/03/01"))),
              (std::vector<std::string>{"2023/02/28", "2024/02/29", "2025/02/28", "2026/02/28"}));
    // The month of the first year has gone by: the first date is the next year's.
    const Schedule april{10, 4, month("2024/05"), std::nullopt};
    EXPECT_EQ(texts(dueDates(april, std::nullopt, day("2026/04/09"))),
              (std::vector<std::string>{"2025/04/10"}));
    const Schedule yearEnd{kLastDay, 12, month("2024/12"), std::nullopt};
    EXPECT_EQ(texts(dueDates(yearEnd, std::nullopt, day("2026/01/01"))),
              (std::vector<std::string>{"2024/12/31", "2025/12/31"}));
}

TEST(RecurringSchedule, TheLastMonthEndsItAndWrittenPeriodsAreNeverWrittenAgain) {
    const Schedule s{15, std::nullopt, month("2024/01"), month("2024/03")};
    EXPECT_EQ(texts(dueDates(s, std::nullopt, day("2025/01/01"))),
              (std::vector<std::string>{"2024/01/15", "2024/02/15", "2024/03/15"}));
    EXPECT_EQ(texts(dueDates(s, day("2024/02/15"), day("2025/01/01"))),
              (std::vector<std::string>{"2024/03/15"}));
    EXPECT_TRUE(dueDates(s, day("2024/03/15"), day("2025/01/01")).empty());
    EXPECT_FALSE(nextDate(s, day("2024/03/15")).has_value());

    // The day changed after the 15th was written: the 20th of that month is not written again.
    const Schedule moved{20, std::nullopt, month("2024/01"), std::nullopt};
    EXPECT_EQ(texts(dueDates(moved, day("2024/02/15"), day("2024/03/20"))),
              (std::vector<std::string>{"2024/03/20"}));
    // A yearly schedule moved to a later month in a year already written waits for next year.
    const Schedule yearly{1, 9, month("2024/01"), std::nullopt};
    EXPECT_EQ(nextDate(yearly, day("2024/03/01"))->text(), "2025/09/01");
    // The clock turned back past what was written: nothing, and nothing twice.
    EXPECT_TRUE(dueDates(moved, day("2024/03/20"), day("2024/01/01")).empty());
}

TEST(RecurringSchedule, SchedulesThatCanNeverPostAreNamed) {
    EXPECT_FALSE(scheduleProblem({31, std::nullopt, month("2024/01"), std::nullopt}));
    EXPECT_FALSE(scheduleProblem({kLastDay, 2, month("2024/01"), month("2024/02")}));
    EXPECT_TRUE(scheduleProblem({32, std::nullopt, month("2024/01"), std::nullopt}));
    EXPECT_TRUE(scheduleProblem({-1, std::nullopt, month("2024/01"), std::nullopt}));
    EXPECT_TRUE(scheduleProblem({1, 13, month("2024/01"), std::nullopt}));
    EXPECT_TRUE(scheduleProblem({1, std::nullopt, month("2024/05"), month("2024/04")}));
    // Every year in May, but only from June to next April: it never comes.
    EXPECT_TRUE(scheduleProblem({1, 5, month("2024/06"), month("2025/04")}));
    EXPECT_TRUE(
        dueDates({1, 5, month("2024/06"), month("2025/04")}, std::nullopt, day("2030/01/01")).empty());
}

TEST(RecurringSchedule, MonthlyIncomesComeEveryMonthUpToTheCurrentOne) {
    const auto texts = [](const std::vector<YearMonth>& months) {
        std::vector<std::string> out;
        for (const auto& m : months)
            out.push_back(m.text());
        return out;
    };
    EXPECT_EQ(texts(dueMonths(month("2024/11"), std::nullopt, std::nullopt, month("2025/02"))),
              (std::vector<std::string>{"2024/11", "2024/12", "2025/01", "2025/02"}));
    EXPECT_EQ(texts(dueMonths(month("2024/11"), month("2024/12"), month("2024/11"), month("2025/02"))),
              (std::vector<std::string>{"2024/12"}));
    EXPECT_TRUE(dueMonths(month("2024/11"), std::nullopt, month("2025/02"), month("2025/01")).empty());
    EXPECT_EQ(nextMonth(month("2024/11"), std::nullopt, month("2025/02"))->text(), "2025/03");
    EXPECT_FALSE(nextMonth(month("2024/11"), month("2025/02"), month("2025/02")).has_value());
}

TEST(RecurringSchedule, DatesAndMonthsAreReadOnlyInTheLedgersOwnShape) {
    EXPECT_TRUE(parseDay("2024/02/29"));
    EXPECT_FALSE(parseDay("2023/02/29"));
    EXPECT_FALSE(parseDay("2024/2/29"));
    EXPECT_FALSE(parseDay("2024/04/31"));
    EXPECT_FALSE(parseMonth("2024/13"));
    EXPECT_FALSE(parseMonth("２０２４/01"));
    EXPECT_EQ(scheduleText(kLastDay, std::nullopt), "毎月 末日");
    EXPECT_EQ(scheduleText(29, 2), "毎年 2月29日");
}

} // namespace
} // namespace sorakado::recurring
