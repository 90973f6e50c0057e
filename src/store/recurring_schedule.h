#pragma once

// When a repeating entry falls due: plain calendar arithmetic, no ledger. A monthly entry falls
// on its day of every month (or the month's last day), a yearly one on its month and day; a day
// the month lacks falls on the month's last day, each month anew, so 31 gives 4/30 and then 5/31
// again, never drifting to the 30th.

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorakado::recurring {

// The day that stands for the month's last day (末日).
inline constexpr int kLastDay = 0;

struct YearMonth {
    int year = 0;
    int month = 0; // 1 to 12

    auto operator<=>(const YearMonth&) const = default;
    YearMonth next() const { return month == 12 ? YearMonth{year + 1, 1} : YearMonth{year, month + 1}; }
    std::string text() const; // "2026/04"
};

struct Day {
    int year = 0;
    int month = 0;
    int day = 0;

    auto operator<=>(const Day&) const = default;
    YearMonth yearMonth() const { return {year, month}; }
    std::string text() const; // "2026/04/30"
};

int daysInMonth(int year, int month);
bool leapYear(int year);

// "yyyy/mm" with a month 01 to 12 and a year 0001 to 9999; nullopt for anything else.
std::optional<YearMonth> parseMonth(std::string_view text);
// "yyyy/mm/dd" naming a day the calendar has; nullopt for anything else.
std::optional<Day> parseDay(std::string_view text);

struct Schedule {
    int day = 1;                    // 1 to 31, or kLastDay
    std::optional<int> yearlyMonth; // every year in this month; nullopt: every month
    YearMonth from;                 // the first month it may fall in
    std::optional<YearMonth> until; // the last month, when it ends

    bool operator==(const Schedule&) const = default;
};

// Why the schedule can never be posted (day or month out of range, a last month before the
// first, a yearly month that never comes between them); nullopt when it can.
std::optional<std::string> scheduleProblem(const Schedule& schedule);

// The date the schedule falls on in month ym; nullopt when it falls in no day of that month (a
// yearly schedule in another month, or a month outside from..until).
std::optional<Day> dateIn(const Schedule& schedule, YearMonth ym);

// Every date to write, oldest first: from the first month, or from the period after that of
// lastPosted (the month of a monthly schedule, the year of a yearly one, so a changed day never
// writes a period twice), up to today and the last month. Empty for a schedule that cannot post.
std::vector<Day> dueDates(const Schedule& schedule, std::optional<Day> lastPosted, Day today);
// The next date that will be written, whether due already or not; nullopt when none will be.
std::optional<Day> nextDate(const Schedule& schedule, std::optional<Day> lastPosted);

// A monthly income: every month from the first (or after lastPosted) up to the current month
// and the last month.
std::vector<YearMonth> dueMonths(YearMonth from, std::optional<YearMonth> until,
                                 std::optional<YearMonth> lastPosted, YearMonth current);
std::optional<YearMonth> nextMonth(YearMonth from, std::optional<YearMonth> until,
                                   std::optional<YearMonth> lastPosted);

// How a schedule reads in lists and reports: "毎月 25日", "毎月 末日", "毎年 2月29日", "毎年 3月 末日".
std::string scheduleText(int day, std::optional<int> yearlyMonth);

} // namespace sorakado::recurring
