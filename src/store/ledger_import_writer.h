#pragma once

// Filling a new ledger with rows carried over from another ledger file, keys and all, and
// reading every row back so the caller can prove the copy is exact. Only the importer uses
// this: the program itself never writes a key.

#include "amount.h"
#include "ledger.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorakado {

// One 収入 row as it stands in the file. The table has no key of its own, so a row is known
// by its place; any column may be Null.
struct IncomeRow {
    std::optional<std::int64_t> memberKey; // 名前ID
    std::optional<std::string> monthKey;   // 年月
    std::optional<Amount> amount;          // 収入
    bool operator==(const IncomeRow&) const = default;
};

// One DATA row with its category key (the monthly reads join to the name instead).
struct EntryRow {
    std::int64_t key = 0;                    // DATAID
    std::optional<std::string> date;         // 年月日
    std::optional<std::int64_t> categoryKey; // 品目ID
    std::optional<std::string> description;  // 内容, Null kept apart from empty
    std::optional<Amount> amount;            // 金額
    bool operator==(const EntryRow&) const = default;
};

// Every row of the four tables: members, categories and entries by key, incomes in the order
// they were written.
struct LedgerRows {
    std::vector<Member> members;
    std::vector<IncomeRow> incomes;
    std::vector<Category> categories;
    std::vector<EntryRow> entries;
};

// Writes all rows into an empty ledger in one transaction, each with the key it brings.
// Amounts go in as Statement::bind(Amount) stores them: whole yen as INTEGER. Afterwards each
// keyed table's AUTOINCREMENT counter stands at its highest key, so the next appended row gets
// a key above every carried-over one. Throws LedgerError; on failure nothing is written.
void writeLedgerRows(Ledger& ledger, const LedgerRows& rows);

// Reads every row back in the order LedgerRows describes.
LedgerRows readLedgerRows(Ledger& ledger);

// The AUTOINCREMENT counter of a keyed table (名前, 品目 or DATA): the highest key it has
// handed out, nullopt while the table has never held a row.
std::optional<std::int64_t> autoincrementCounter(Ledger& ledger, const std::string& table);

// SQLite's own check of the file: empty when sound, else its complaints.
std::string integrityProblems(Ledger& ledger);

} // namespace sorakado
