#pragma once

// The changes the editing commands make to the ledger. Each function is all-or-nothing: a
// change that takes more than one statement runs in one transaction, and a change aimed at a
// record that is no longer in the ledger is refused with a LedgerError instead of writing
// nothing, or writing a row nobody can ever see.

#include "amount.h"
#include "ledger.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sorakado::writes {

// Members (名前). A member's incomes of every month and repeating incomes go with it.
std::int64_t addMember(Ledger& ledger, const std::string& name);
void renameMember(Ledger& ledger, std::int64_t memberKey, const std::string& name);
void deleteMember(Ledger& ledger, std::int64_t memberKey);

// What setMonthIncome did to the member's income record for the month.
enum class IncomeWrite { Added, Changed, Removed };

// The member's income for the month. With no record yet, one is added (a zero as well); with
// a record, a zero removes it and any other amount replaces it. Should the ledger hold more
// than one record for the member and month, the first keeps the amount and the rest go, so
// the month's total is the amount entered. Refused when the member no longer exists.
IncomeWrite setMonthIncome(Ledger& ledger, std::int64_t memberKey, const std::string& monthKey,
                           Amount amount);

// Categories (品目). A category's expense entries of every month and repeating entries go with it.
std::int64_t addCategory(Ledger& ledger, const std::string& name);
void renameCategory(Ledger& ledger, std::int64_t categoryKey, const std::string& name);
void deleteCategory(Ledger& ledger, std::int64_t categoryKey);

// Expense entries (DATA).
struct EntryValues {
    std::string date; // "yyyy/mm/dd"
    std::int64_t categoryKey = 0;
    std::string description;
    Amount amount;
};

// Both refuse a category that no longer exists: the lists would never show such an entry.
std::int64_t addEntry(Ledger& ledger, const EntryValues& values);
void changeEntry(Ledger& ledger, std::int64_t entryKey, const EntryValues& values);
void deleteEntry(Ledger& ledger, std::int64_t entryKey);

// The category an entry is filed under; nullopt when the entry is not in the ledger.
std::optional<std::int64_t> entryCategory(Ledger& ledger, std::int64_t entryKey);

// What deleting a member or a category takes with it: the member's incomes and the category's
// entries of every month.
std::int64_t memberIncomeCount(Ledger& ledger, std::int64_t memberKey);
std::int64_t categoryEntryCount(Ledger& ledger, std::int64_t categoryKey);

} // namespace sorakado::writes
