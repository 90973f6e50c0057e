#pragma once

// Reads that tests and benchmarks set the store's own reads against: the month's entries by the
// plainest query there is, and the least work a rebuild or a search could possibly do. The
// program never reads a ledger this way.

#include "store/ledger.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sorakado::testing {

// The month's entries whose category is there, by date, then entry key, with the category's
// name joined in row by row. monthKey is "yyyy/mm".
std::vector<Entry> monthEntries(Ledger& l, const std::string& monthKey);
// Ledger::monthExpenses with the categories read first, as the window reads them.
MonthExpenses monthExpenses(Ledger& l, const std::string& monthKey);

// The least one monthly rebuild must read: every column of the month's entries in the order the
// file keeps them, nothing joined or sorted, and one stored figure per month of the year for
// incomes and for expenses. Returns how many values it read.
std::int64_t readFloor(Ledger& l, const std::string& monthKey, const std::string& yearText);
// The least a search of the whole ledger can be set against: the descriptions that hold text
// found by a plain LIKE '%text%' scan of the file, each with its key and amount. Returns how many
// rows it found.
std::int64_t searchFloor(Ledger& l, const std::string& text);

} // namespace sorakado::testing
