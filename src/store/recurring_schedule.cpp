#include "recurring_schedule.h"

#include <cstdio>

namespace sorakado::recurring {

namespace {

// Beyond four digits a month key could not be written the way the ledger stores it.
constexpr YearMonth kLastMonth{9999, 12};

std::optional<int> digits(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The first month of the period after the one day falls in.
YearMonth periodAfter(const Schedule& s, Day posted) {
    if (s.yearlyMonth)
        return {posted.year + 1, 1};
    return posted.yearMonth().next();
}

} // namespace

std::string YearMonth::text() const {
    char out[16];
    std::snprintf(out, sizeof out, "%04d/%02d", year, month);
    return out;
}

std::string Day::text() const {
    char out[16];
    std::snprintf(out, sizeof out, "%04d/%02d/%02d", year, month, day);
    return out;
}

bool leapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && leapYear(year) ? 29 : days[month - 1];
}

std::optional<YearMonth> parseMonth(std::string_view text) {
    if (text.size() != 7 || text[4] != '/')
        return std::nullopt;
    const auto year = digits(text.substr(0, 4));
    const auto month = digits(text.substr(5, 2));
    if (!year || !month || *year < 1 || *month < 1 || *month > 12)
        return std::nullopt;
    return YearMonth{*year, *month};
}

std::optional<Day> parseDay(std::string_view text) {
    if (text.size() != 10 || text[7] != '/')
        return std::nullopt;
    const auto ym = parseMonth(text.substr(0, 7));
    const auto day = digits(text.substr(8, 2));
    if (!ym || !day || *day < 1 || *day > daysInMonth(ym->year, ym->month))
        return std::nullopt;
    return Day{ym->year, ym->month, *day};
}

std::optional<std::string> scheduleProblem(const Schedule& s) {
    if (s.day != kLastDay && (s.day < 1 || s.day > 31))
        return "日が1～31でも末日でもありません";
    if (s.yearlyMonth && (*s.yearlyMonth < 1 || *s.yearlyMonth > 12))
        return "毎年の月が1～12ではありません";
    if (s.from.month < 1 || s.from.month > 12 || s.from.year < 1 || s.from > kLastMonth)
        return "最初の月が yyyy/mm の形ではありません";
    if (s.until && (s.until->month < 1 || s.until->month > 12 || s.until->year < 1 || *s.until > kLastMonth))
        return "最後の月が yyyy/mm の形ではありません";
    if (s.until && *s.until < s.from)
        return "最後の月が最初の月より前です";
    if (s.yearlyMonth && s.until) {
        YearMonth first{s.from.year, *s.yearlyMonth};
        if (first < s.from)
            first.year += 1;
        if (*s.until < first)
            return "最初の月から最後の月までに毎年の月がありません";
    }
    return std::nullopt;
}

std::optional<Day> dateIn(const Schedule& s, YearMonth ym) {
    if (ym < s.from || (s.until && *s.until < ym) || (s.yearlyMonth && ym.month != *s.yearlyMonth))
        return std::nullopt;
    const int last = daysInMonth(ym.year, ym.month);
    if (last == 0)
        return std::nullopt;
    const int day = s.day == kLastDay || s.day > last ? last : s.day;
    return Day{ym.year, ym.month, day};
}

namespace {

// The first month a date may be written in.
YearMonth firstMonth(const Schedule& s, std::optional<Day> lastPosted) {
    YearMonth first = s.from;
    if (lastPosted)
        first = std::max(first, periodAfter(s, *lastPosted));
    if (s.yearlyMonth) {
        YearMonth inYear{first.year, *s.yearlyMonth};
        first = inYear < first ? YearMonth{first.year + 1, *s.yearlyMonth} : inYear;
    }
    return first;
}

YearMonth step(const Schedule& s, YearMonth ym) {
    return s.yearlyMonth ? YearMonth{ym.year + 1, ym.month} : ym.next();
}

} // namespace

std::vector<Day> dueDates(const Schedule& s, std::optional<Day> lastPosted, Day today) {
    std::vector<Day> out;
    if (scheduleProblem(s))
        return out;
    for (YearMonth ym = firstMonth(s, lastPosted); ym <= today.yearMonth() && ym <= kLastMonth;
         ym = step(s, ym)) {
        const auto date = dateIn(s, ym);
        if (!date) {
            if (s.until && *s.until < ym)
                break;
            continue;
        }
        if (today < *date)
            break;
        out.push_back(*date);
    }
    return out;
}

std::optional<Day> nextDate(const Schedule& s, std::optional<Day> lastPosted) {
    if (scheduleProblem(s))
        return std::nullopt;
    const YearMonth ym = firstMonth(s, lastPosted);
    if (kLastMonth < ym)
        return std::nullopt;
    return dateIn(s, ym);
}

std::vector<YearMonth> dueMonths(YearMonth from, std::optional<YearMonth> until,
                                 std::optional<YearMonth> lastPosted, YearMonth current) {
    std::vector<YearMonth> out;
    YearMonth ym = lastPosted ? std::max(from, lastPosted->next()) : from;
    for (; ym <= current && ym <= kLastMonth && (!until || ym <= *until); ym = ym.next())
        out.push_back(ym);
    return out;
}

std::optional<YearMonth> nextMonth(YearMonth from, std::optional<YearMonth> until,
                                   std::optional<YearMonth> lastPosted) {
    const YearMonth ym = lastPosted ? std::max(from, lastPosted->next()) : from;
    if (kLastMonth < ym || (until && *until < ym))
        return std::nullopt;
    return ym;
}

std::string scheduleText(int day, std::optional<int> yearlyMonth) {
    const std::string dayText = day == kLastDay ? std::string("末日") : std::to_string(day) + "日";
    if (yearlyMonth)
        return "毎年 " + std::to_string(*yearlyMonth) + "月" + (day == kLastDay ? " " : "") + dayText;
    return "毎月 " + dayText;
}

} // namespace sorakado::recurring
