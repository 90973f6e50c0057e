#pragma once

#include <string>
#include <vector>

namespace sorakado::schema {

struct Table {
    const char* name;
    std::vector<const char*> columns;
};

// PRAGMA user_version of a ledger in today's shape: the four tables, the stored per-month sums
// with their triggers, and the indexes below. Ledgers made before have 0.
inline constexpr int kVersion = 1;

// The four tables and the columns the program reads and writes. Other tools read this shape.
const std::vector<Table>& tables();
// Statements that make an empty ledger: tables, then the indexes the monthly view reads through,
// then the per-month sums. The caller sets the version.
std::vector<std::string> createStatements();
// Statements that bring a ledger of an earlier version, or one another tool took something
// from, to today's shape; each leaves what is already in place alone. The per-month sums'
// figures are then recounted from the rows.
std::vector<std::string> upgradeStatements();
// The names of the tables, indexes and triggers beyond the four tables that today's shape has.
std::vector<std::string> addedObjects();

} // namespace sorakado::schema
