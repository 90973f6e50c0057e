#pragma once

// Reading a ledger's tables back cell by cell, storage class and all, independently of the
// store's own reads: what a test compares with what it expects.

#include "store/amount.h"
#include "store/ledger.h"

#include <optional>
#include <string>
#include <vector>

namespace sorakado::testing {

struct StoredValue {
    std::string type;                // SQLite's storage class: "integer", "real", "text", "blob" or "null"
    std::optional<std::string> text; // the value as text; nullopt for Null
    std::optional<Amount> amount;    // the value read as an amount (REAL rounded to four decimals)
};
using StoredRow = std::vector<StoredValue>;

// The columns of every row of the table, ordered by the column orderBy (storage order by default).
std::vector<StoredRow> storedRows(Ledger& l, const std::string& table,
                                  const std::vector<std::string>& columns,
                                  const std::string& orderBy = "rowid");

// The values of one column down the table, in storage order, as text (Null as nullopt).
std::vector<std::optional<std::string>> storedColumn(Ledger& l, const std::string& table,
                                                     const std::string& column);

} // namespace sorakado::testing
