#pragma once

// Ledgers as only another tool, or a damaged disk, leaves them: rows no command of the program
// writes, and a file whose damage only SQLite's integrity check notices. For tests of the
// ledger's check, backups and restore.

#include "store/amount.h"
#include "store/ledger.h"

#include <filesystem>
#include <optional>
#include <string>

namespace sorakado::testing {

// An income that names no member (名前ID Null).
void addIncomeWithoutMember(Ledger& l, const std::string& monthKey, std::optional<Amount> amount);
// An entry without a date (年月日 Null).
void addEntryWithoutDate(Ledger& l, std::int64_t category, std::optional<Amount> amount);
// An entry whose category key is stored as the SQL literal sqlCategoryKey ("1.5", "'1'").
void addEntryWithCategoryKeyStoredAs(Ledger& l, const std::string& date, const std::string& sqlCategoryKey,
                                     Amount amount);

// The file's index on 収入.年月 is declared over another column, so it no longer matches the
// table for any income row: every page still decrypts and reads, only integrity_check sees the
// damage. The ledger needs at least one income.
void breakAnIndex(const std::filesystem::path& ledger);

} // namespace sorakado::testing
