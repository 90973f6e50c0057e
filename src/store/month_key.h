#pragma once

// The key a month is stored and read under, "yyyy/mm", and which months the window can list.
// Every part of the program that builds, reads or judges such a key does it here: the window's
// period check and month, the tool's check, the import, the export and the report.

#include <optional>
#include <string>
#include <string_view>

namespace sorakado {

class MonthKey {
public:
    // The years the window's period check lets through: a month of another year is kept in the
    // ledger but never shown.
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 3000;

    // A month of a year the key can spell (0 to 9999, four digits); nullopt for a month outside
    // 1 to 12 or a year beyond four digits.
    static std::optional<MonthKey> of(int year, int month);
    // Exactly "yyyy/mm" with a month 01 to 12, as the ledger stores it; nullopt otherwise
    // ("2006/4", "2006/13", "２００６/04", " 2006/04").
    static std::optional<MonthKey> parse(std::string_view text);
    // The key of a month of the year written yearText, as it stands: "2006" and 4 give
    // "2006/04". A year summary reads the twelve keys of whatever year text it is given.
    static std::string keyText(std::string_view yearText, int month);

    int year() const { return year_; }
    int month() const { return month_; }
    // "2006/04".
    std::string text() const;
    // "2006": what the key of every month of the year starts with.
    std::string yearText() const;
    // A month the window can list: its year within kFirstYear..kLastYear.
    bool listable() const { return year_ >= kFirstYear && year_ <= kLastYear; }

    bool operator==(const MonthKey&) const = default;

private:
    MonthKey(int year, int month) : year_(year), month_(month) {}
    int year_;
    int month_;
};

} // namespace sorakado
