#pragma once

// Repeating entries (定期明細): expenses that come back every month or year, and members'
// monthly incomes, written into the ledger as ordinary entries and incomes when they fall due.
//
// What was written is recorded in the repeating entry's own row (記入済, the last date or month
// written), in the same transaction as the entries and incomes it wrote: a crash, a restore of an
// older copy of the file or a second program never finds entries without their record, or a
// record without its entries. Every posting run and every change is one step of the history.

#include "amount.h"
#include "ledger.h"
#include "recurring_schedule.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorakado::recurring {

// What a repeating entry is, as the family enters it. An expense names a category and has a
// schedule; an income names a member and comes every month.
struct Values {
    std::optional<std::int64_t> categoryKey; // an expense
    std::optional<std::int64_t> memberKey;   // an income
    std::string description;                 // expenses only
    Amount amount;
    int day = 1;                    // 1 to 31, or kLastDay (expenses)
    std::optional<int> yearlyMonth; // expenses: every year in this month
    YearMonth from;
    std::optional<YearMonth> until;

    bool income() const { return memberKey.has_value(); }
};

// One row of the table as it is stored, for the lists, the tool and the export.
struct Stored {
    std::int64_t key = 0; // 定期ID
    std::optional<std::int64_t> categoryKey;
    std::optional<std::int64_t> memberKey;
    std::optional<std::string> categoryName; // nullopt when Null or gone
    std::optional<std::string> memberName;
    std::optional<std::string> description;
    std::optional<Amount> amount;
    std::optional<std::int64_t> day;
    std::optional<std::int64_t> yearlyMonth;
    std::optional<std::string> from;   // "yyyy/mm"
    std::optional<std::string> until;  // "yyyy/mm"
    std::optional<std::string> posted; // the last date ("yyyy/mm/dd") or month ("yyyy/mm") written
    bool categoryThere = false;
    bool memberThere = false;

    bool income() const { return memberKey.has_value(); }
    // The values the row holds, when they make a repeating entry that can post; nullopt for a
    // row another tool left incomplete or out of range.
    std::optional<Values> values() const;
    // The next date ("yyyy/mm/dd", or month "yyyy/mm" for an income) that will be written.
    std::optional<std::string> next() const;
    // "毎月 25日", "毎年 2月29日", "毎月 (収入)".
    std::string scheduleText() const;
};

// Why a stored row can never post (a category or member that is gone, a schedule that cannot
// fall due, values missing or out of range, a record of what was written that is no date);
// nullopt when it can. Such rows are passed over by the posting and reported by check.
std::optional<std::string> rowProblem(const Stored& row);

// For the store's check, which reads the file through a connection of its own: the query of
// every row, and one row of it read.
const char* allRowsQuery();
Stored readRow(const Statement& s);

// Every repeating entry, ascending 定期ID. A ledger of an earlier version read as it is (read
// only) has none.
std::vector<Stored> list(Ledger& ledger);
std::optional<Stored> find(Ledger& ledger, std::int64_t key);
// How many repeating entries name the category (the member).
std::int64_t categoryCount(Ledger& ledger, std::int64_t categoryKey);
std::int64_t memberCount(Ledger& ledger, std::int64_t memberKey);

// Why values cannot be stored (schedule, a category or member not named or not there); nullopt
// when they can.
std::optional<std::string> valuesProblem(Ledger& ledger, const Values& values);

// Each one step of the history; add and change refuse values valuesProblem finds fault with
// (LedgerError), change and remove a key no longer there. A change keeps what was written:
// periods already written are never written again, whatever the new schedule.
std::int64_t add(Ledger& ledger, const Values& values);
void change(Ledger& ledger, std::int64_t key, const Values& values);
void remove(Ledger& ledger, std::int64_t key);

// What a posting run wrote.
struct Posted {
    std::string date; // "yyyy/mm/dd" for an entry, "yyyy/mm" for an income
    std::optional<std::int64_t> entryKey;
    std::optional<std::string> categoryName; // an entry
    std::optional<std::string> memberName;   // an income
    std::string description;
    Amount amount;
};

// Writes everything due up to today, oldest first, as one step of the history named
// 「定期明細の記入 (N件)」, in one transaction; nothing is written and no transaction is begun
// when nothing is due. Dates after today are never written; an income only where the member has
// no income for the month. Rows that cannot post (see check) are passed over. beforeWriting
// runs once something is found due, before anything is written.
std::vector<Posted> postDue(Ledger& ledger, Day today, const std::function<void()>& beforeWriting = {});

} // namespace sorakado::recurring
