#pragma once

// Deciding, row by row, what an old ledger becomes in the new one: which rows go in as they
// are, which are changed on the way, which cannot be placed, and which the user must settle.

#include "legacy_reader.h"

#include "store/ledger_import_writer.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace sorakado::legacy {

// One row the report names, and why.
struct RowNote {
    std::string table; // 名前, 収入, 品目 or DATA
    std::string row; // "DATAID 9 (2006/05/03, 品目ID 4, 2500)" or "row 1 (名前ID 1, 年月 "2006/4", 300000)"
    std::string reason;
};

struct TableCount {
    std::string table;
    std::size_t read = 0;    // rows the old file holds, readable or not
    std::size_t written = 0; // rows the new ledger receives
};

struct ImportPlan {
    LedgerRows rows;                  // what the new ledger receives
    std::array<TableCount, 4> counts; // 名前, 収入, 品目, DATA
    std::vector<RowNote> changed;     // written, but not exactly as they were
    std::vector<RowNote> hidden;      // written as they were; the program does not list them
    std::vector<RowNote> notImported; // not written
    std::vector<RowNote> decisions;   // written as they were; the user must settle them
    // Files a killed import into the same target had left behind, removed before this one.
    std::vector<std::string> leftoversRemoved;

    // Every row of the old file reached the new ledger and nothing waits for the user.
    bool complete() const { return notImported.empty() && decisions.empty(); }
};

// Pure: the old file's rows in, the plan out.
//
// - Keys are kept, gaps and all, so every reference still points where it did.
// - Amounts are read by their digits; more than four decimals are rounded and reported.
// - Null stays Null and empty text stays empty.
// - An income month key with a one-digit month ("2006/4") was never shown by the old program;
//   it is written with two digits ("2006/04") unless the member already has a row for that
//   month (or another row becomes one). Then every row of that member and month is kept
//   exactly as it was and all are reported for the user to decide: the import adds nothing up.
// - Rows whose member or category is gone, or whose month key or date the program cannot list,
//   are carried over unchanged and reported.
// - A row without a usable key, with a key already taken, or with an amount that is not a
//   number or too large is not written, and is reported.
ImportPlan planImport(const LegacyFile& file);

} // namespace sorakado::legacy
