#pragma once

#include <vector>

namespace sorakado::schema {

struct Table {
    const char* name;
    std::vector<const char*> columns;
};

// The four tables and the columns the program reads and writes. Other tools read this shape.
const std::vector<Table>& tables();
// Statements that make an empty ledger: tables, then the indexes the monthly view reads through.
const std::vector<const char*>& createStatements();

} // namespace sorakado::schema
