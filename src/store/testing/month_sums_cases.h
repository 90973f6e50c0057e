#pragma once

// The per-month sums under test: rows of every awkward kind, writes of other programs, ledgers
// of an earlier version, and the year's sums counted from the rows the way the monthly view
// always asked for them.

#include "store/ledger.h"

#include <filesystem>
#include <string>

namespace sorakado::testing {

// Fractional, negative, Null and text amounts; incomes of deleted members and entries of deleted
// categories or none; month keys and dates of odd shapes, and dates that are not text. Years
// with rows: 2006, 2007, 200, 20060.
void seedAwkwardRows(Ledger& l);

// A year's sums asked of the rows themselves: incomes stored under each month key exactly,
// entries whose date starts with it. Throws LedgerError when a sum fails (a sum beyond 64 bits).
MonthSums incomeSumsFromRows(Ledger& l, const std::string& yearText);
MonthSums expenseSumsFromRows(Ledger& l, const std::string& yearText);

// The ten-thousandths the per-month sums add for one stored REAL, as the ledger's own expression
// counts them: to be held against Amount::fromStoredDouble, which reads the single rows.
std::int64_t summedTenThousandths(Ledger& l, double stored);

// What a ledger looked like before it kept sums: no sums' tables or triggers, the old month
// index, version 0. Takes effect for the next open.
void makeEarlierVersion(Ledger& l);
// A ledger of version 1: its triggers count a REAL by its double times 10^4, rounded, as they
// did before. Takes effect at once on this connection and lasts until the next open.
void makeVersionOneCount(Ledger& l);
void dropTrigger(Ledger& l, const std::string& name);
std::int64_t schemaVersion(Ledger& l);
// Names of the file's tables, indexes and triggers starting with prefix, in name order.
std::vector<std::string> schemaObjects(Ledger& l, const std::string& prefix);

// Writes on this program's connection as another tool might make them: INSERT OR REPLACE puts
// the date and amount on every entry of monthKey; the incomes above amount go.
void replaceMonthEntries(Ledger& l, const std::string& monthKey, const std::string& date, std::int64_t yen);
void deleteIncomesAbove(Ledger& l, std::int64_t yen);
// Stores a figure without the rows behind it.
void storeMonthFigure(Ledger& l, const std::string& table, const std::string& monthKey, std::int64_t yen,
                      std::int64_t count);

// Another program's writes, on its own connection (recursive triggers off): an entry with a
// fraction, dates and amounts changed, every income moved to 2006/09, an income without amount.
void anotherProgramWrites(const std::filesystem::path& ledger);
// Another program empties DATA and 収入.
void anotherProgramDeletesAllRows(const std::filesystem::path& ledger);
// Another program puts amount on every entry by INSERT OR REPLACE, whose pushed-out rows its
// connection does not show to delete triggers.
void anotherProgramReplacesEveryEntry(const std::filesystem::path& ledger, std::int64_t yen);

} // namespace sorakado::testing
