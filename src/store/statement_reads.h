#pragma once

// What an import of a bank or card statement reads from the ledger: the family's own history,
// from which it guesses categories, and the entries a statement's lines may already be.

#include "amount.h"
#include "ledger.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sorakado::statement_reads {

// How often one description was filed under one category.
struct DescriptionUse {
    std::string description;
    std::int64_t categoryKey = 0;
    std::int64_t count = 0;
};

// The descriptions of the latest `entries` entries dated lastDate ("yyyy/mm/dd") or earlier, each
// with every category it was filed under there and how often. Entries with no description or no
// category are left out; the category may be one that is gone.
std::vector<DescriptionUse> recentDescriptionUses(Ledger& ledger, const std::string& lastDate,
                                                  std::int64_t entries);

struct DatedEntry {
    std::int64_t key = 0; // DATAID
    std::string date;     // "yyyy/mm/dd"
    std::string description;
    Amount amount;
};

// The entries dated firstDate to lastDate, both included, by date and key. Entries with a Null
// date, description or amount are left out: no statement line can be one of them.
std::vector<DatedEntry> entriesBetween(Ledger& ledger, const std::string& firstDate,
                                       const std::string& lastDate);

} // namespace sorakado::statement_reads
