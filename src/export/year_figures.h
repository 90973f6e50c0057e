#pragma once

#include "store/amount.h"
#include "store/month_key.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorakado {

class Ledger;

namespace yearly {

// The years the window can list.
inline constexpr int kFirstYear = MonthKey::kFirstYear;
inline constexpr int kLastYear = MonthKey::kLastYear;

// A year as typed on the command line: exactly four digits, from 1900 to 3000.
std::optional<int> parseYear(std::string_view text);

// The year text the ledger's month keys start with: 2006 gives "2006".
std::string yearText(int year);

// The month key of a month of the year, as the window builds it: 2006, 4 give "2006/04".
std::string monthKey(int year, int month);

// Spending of one category over the year.
struct CategorySpending {
    // nullopt stands for every entry whose category is no longer in the ledger, together.
    std::optional<std::int64_t> key;
    std::optional<std::string> name; // nullopt: Null in the ledger, or the category is gone
    Amount amount;
};

// The year's figures, the same the window shows month by month: a month's income is every
// income record under its month key, its spending every entry dated in it, category or not.
struct YearFigures {
    int year = 0;
    std::array<Amount, 12> income{}; // January first; nothing recorded counts 0
    std::array<Amount, 12> spending{};
    std::vector<CategorySpending> categories; // categories with entries in the year, biggest first

    Amount difference(int monthIndex) const { return income[monthIndex] - spending[monthIndex]; }
    Amount incomeTotal() const;
    Amount spendingTotal() const;
    bool empty() const;
};

// Throws LedgerError when a read fails.
YearFigures readYearFigures(Ledger& ledger, int year);

// Sorted for a chart: the largest spending first, ties by name, then by key.
void sortBiggestFirst(std::vector<CategorySpending>& categories);

// An amount with its whole part grouped by thousands: 1234567.5 gives "1,234,567.5".
std::string groupedNumber(Amount amount);
// The same with a yen sign, the sign first: "¥1,234,567", "-¥30".
std::string groupedYen(Amount amount);

} // namespace yearly
} // namespace sorakado
