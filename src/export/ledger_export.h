#pragma once

#include "output_files.h"
#include "store/ledger.h"
#include "store/recurring.h"

#include <optional>
#include <string>
#include <vector>

namespace sorakado::exporting {

// One month of the summary: the figures of the window's year summaries.
struct MonthSummary {
    std::string monthKey; // "2006/04"
    Amount income;
    Amount spending;
};

// Everything the export writes, read from the ledger in one go.
struct LedgerTables {
    std::optional<int> year; // nullopt: the whole ledger
    std::vector<Member> members;
    std::vector<Category> categories;
    std::vector<EntryRecord> entries;         // entries whose category is gone included
    std::vector<IncomeRecord> incomes;        // incomes whose member is gone included
    std::vector<MonthSummary> summary;        // twelve months of every year in view
    std::vector<recurring::Stored> recurring; // every repeating entry, whatever the year
};

// With a year, the entries and incomes whose date or month key starts with it and the twelve
// months of that year; without, every row and the twelve months of each year the rows name.
// Members, categories and repeating entries are always all of them. Throws LedgerError.
LedgerTables readLedgerTables(Ledger& ledger, std::optional<int> year);

// The CSV files of the tables, in a fixed order: entries, incomes, members, categories,
// summary, repeating entries. Names carry the year when there is one ("entries-2006.csv"). Amounts are plain
// numbers, exact to the ten-thousandth; Null values are empty fields.
std::vector<OutputFile> csvFiles(const LedgerTables& tables);

} // namespace sorakado::exporting
