#pragma once

// The per-month sums read on any connection to a ledger, for the store's own source files: the
// program's Ledger and the check of a file from outside share them.

#include "ledger.h"

#include <vector>

struct sqlite3;

namespace sorakado::detail {

// Every month whose stored figure differs from a recount of its rows; empty when all agree.
// Needs the sums' tables (keepsMonthSums). Throws LedgerError.
std::vector<MonthSumDifference> monthSumDifferences(sqlite3* db);
// The file has the sums' tables: a ledger made by an earlier version gets them on its next open.
bool keepsMonthSums(sqlite3* db);

} // namespace sorakado::detail
