#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sorakado::schema {

struct Table {
    const char* name;
    std::vector<const char*> columns;
};

// PRAGMA user_version of a ledger in today's shape: the four tables, the stored per-month sums
// with their triggers, and the indexes below. Ledgers made before have 0; version 1 counted a
// REAL amount by its double times 10^4, which loses the last digit above about 9 * 10^11 yen.
// Version 3 keeps the history of changes; version 4 the repeating entries (定期明細), whose rows
// the history holds too, nine values a row. A ledger of a later version is refused: this program
// would change its rows without keeping what the later version keeps beside them.
inline constexpr int kVersion = 4;

// The four tables and the columns the program reads and writes. Other tools read this shape.
const std::vector<Table>& tables();
// Statements that make an empty ledger: tables, then the indexes the monthly view reads through,
// then the per-month sums. The caller sets the version.
std::vector<std::string> createStatements();
// Statements that bring a ledger of an earlier version, or one another tool took something
// from, to today's shape; each leaves what is already in place alone. The per-month sums'
// figures are then recounted from the rows.
// A ledger of a version before 2 has its sums' triggers made anew.
std::vector<std::string> upgradeStatements(std::int64_t fromVersion);
// The names of the tables, indexes and triggers beyond the four tables that today's shape has.
std::vector<std::string> addedObjects();

} // namespace sorakado::schema
