#pragma once

// Putting rows straight into a ledger's tables, and damaging it on purpose, so tests and
// benchmarks do not depend on the editing commands they may be checking. Nothing here keeps
// the rules the commands keep: an entry may name a category that does not exist, a member may
// go without its incomes.

#include "store/amount.h"
#include "store/ledger.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sorakado::testing {

// Rows appended with the key the ledger hands out, which they return.
std::int64_t addMember(Ledger& l, const std::optional<std::string>& name);
std::int64_t addCategory(Ledger& l, const std::optional<std::string>& name);
std::int64_t addEntry(Ledger& l, const std::string& date, std::int64_t category,
                      const std::optional<std::string>& description, std::optional<Amount> amount);
void addIncome(Ledger& l, std::int64_t member, const std::string& monthKey, std::optional<Amount> amount);

// Rows with a key of their own choosing, as another tool may have written them.
void addMemberWithKey(Ledger& l, std::int64_t key, const std::optional<std::string>& name);
void addEntryWithKey(Ledger& l, std::int64_t key, const std::string& date, std::int64_t category,
                     const std::optional<std::string>& description, std::optional<Amount> amount);

// Rows whose amount is an SQL literal written as it stands ("9e999", "'1e400'"), as another
// tool may have stored values the program never would.
void addIncomeStoredAs(Ledger& l, std::int64_t member, const std::string& monthKey,
                       const std::string& sqlAmount);
std::int64_t addEntryStoredAs(Ledger& l, const std::string& date, std::int64_t category,
                              const std::string& sqlAmount);

// The one row alone: a member's incomes and a category's entries stay behind.
void deleteMemberRow(Ledger& l, std::int64_t key);
void deleteCategoryRow(Ledger& l, std::int64_t key);
// Every row of the table (名前, 収入, 品目 or DATA), nothing else.
void deleteAllRows(Ledger& l, const std::string& table);

// The table is gone from the file, so every read of it fails.
void dropTable(Ledger& l, const std::string& table);
// Every delete from the table fails on this connection, as a full disk or a damaged file would
// make it fail ("disk I/O error").
void failDeletesFrom(Ledger& l, const std::string& table);
// The file may not grow past its size now: every change that needs another page fails on this
// connection as on a full disk ("database or disk is full").
void fillDisk(Ledger& l);
// Every write on this connection fails as on a file that cannot be written.
void refuseWrites(Ledger& l);

inline Amount yen(std::int64_t y) {
    return Amount::fromYen(y);
}
inline Amount tenThousandths(Amount::Raw raw) {
    return Amount::fromTenThousandths(raw);
}

} // namespace sorakado::testing
