#include "backup_rotation.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

namespace sorakado::backup {

namespace {

std::tm localParts(TimePoint t) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(t);
    std::tm parts{};
    ::localtime_r(&seconds, &parts);
    return parts;
}

// Days since 1970-01-01 of a calendar date (proleptic Gregorian).
long long dayNumber(const std::tm& parts) {
    using namespace std::chrono;
    return sys_days(year_month_day(year(parts.tm_year + 1900), month(static_cast<unsigned>(parts.tm_mon + 1)),
                                   day(static_cast<unsigned>(parts.tm_mday))))
        .time_since_epoch()
        .count();
}

long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// 1970-01-01 was a Thursday: shifting by three days starts each week on a Monday.
long long weekNumber(const std::tm& parts) {
    return floorDiv(dayNumber(parts) + 3, 7);
}

long long monthNumber(const std::tm& parts) {
    return (parts.tm_year + 1900LL) * 12 + parts.tm_mon;
}

bool allDigits(const std::string& s, std::size_t from, std::size_t count) {
    if (from + count > s.size())
        return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

} // namespace

std::string backupName(const std::string& stem, const std::string& extension, TimePoint made, int attempt) {
    std::tm parts = localParts(made);
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    std::string name = stem + stamp;
    if (attempt > 1)
        name += "-" + std::to_string(attempt);
    return name + extension;
}

std::optional<TimePoint> backupTime(const std::string& name, const std::string& stem,
                                    const std::string& extension) {
    const std::string head = stem + "-";
    if (name.size() < head.size() + 15 + extension.size() || name.compare(0, head.size(), head) != 0 ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        return std::nullopt;
    const std::size_t at = head.size();
    if (!allDigits(name, at, 8) || name[at + 8] != '-' || !allDigits(name, at + 9, 6))
        return std::nullopt;
    const std::string rest = name.substr(at + 15, name.size() - extension.size() - at - 15);
    if (!rest.empty() && (rest[0] != '-' || !allDigits(rest, 1, rest.size() - 1) || rest.size() < 2))
        return std::nullopt;

    auto number = [&](std::size_t from, std::size_t count) { return std::stoi(name.substr(from, count)); };
    std::tm parts{};
    parts.tm_year = number(at, 4) - 1900;
    parts.tm_mon = number(at + 4, 2) - 1;
    parts.tm_mday = number(at + 6, 2);
    parts.tm_hour = number(at + 9, 2);
    parts.tm_min = number(at + 11, 2);
    parts.tm_sec = number(at + 13, 2);
    parts.tm_isdst = -1;
    const int month = parts.tm_mon, day = parts.tm_mday;
    std::time_t seconds = std::mktime(&parts);
    if (seconds == static_cast<std::time_t>(-1) || parts.tm_mon != month || parts.tm_mday != day)
        return std::nullopt; // 2026-02-30 and the like
    return std::chrono::system_clock::from_time_t(seconds);
}

std::vector<std::string> copiesToRemove(const std::vector<BackupCopy>& copies, TimePoint now) {
    if (copies.empty())
        return {};
    auto earlier = [](const BackupCopy& a, const BackupCopy& b) {
        return a.made != b.made ? a.made < b.made : a.name < b.name;
    };
    std::vector<BackupCopy> sorted = copies;
    std::sort(sorted.begin(), sorted.end(), earlier);

    const std::tm today = localParts(now);
    const long long todayWeek = weekNumber(today), todayMonth = monthNumber(today);
    std::map<long long, std::string> oldestOfWeek, oldestOfMonth; // sorted: the first seen is the oldest
    for (const auto& c : sorted) {
        const std::tm parts = localParts(c.made);
        oldestOfWeek.emplace(weekNumber(parts), c.name);
        oldestOfMonth.emplace(monthNumber(parts), c.name);
    }

    std::vector<std::string> remove;
    for (std::size_t i = 0; i + 1 < sorted.size(); ++i) { // the last, the newest, always stays
        const auto& c = sorted[i];
        if (now - c.made < std::chrono::days(kKeepAllDays))
            continue; // also a copy from the future, when the clock was set back
        const std::tm parts = localParts(c.made);
        const long long week = weekNumber(parts), month = monthNumber(parts);
        if (todayWeek - week < kKeepWeeklyWeeks && oldestOfWeek[week] == c.name)
            continue;
        if (todayMonth - month < kKeepMonthlyMonths && oldestOfMonth[month] == c.name)
            continue;
        remove.push_back(c.name);
    }
    return remove;
}

} // namespace sorakado::backup
