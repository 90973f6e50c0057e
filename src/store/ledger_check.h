#pragma once

// A ledger file looked over from outside the program: is it sound, does it have the four tables
// with their columns, and which rows does the window never show.

#include "ledger.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sorakado::check {

// A row kept in the file that no list of the window shows, and why.
struct HiddenRow {
    std::string table; // 収入 or DATA
    std::string row; // "名前ID 7, 年月 2006/4, 収入 300000" or "DATAID 9 (2006/05/03, 品目ID 4, 2500)"
    std::string reason;
};

struct Report {
    std::vector<std::string> damage;       // integrity_check's complaints
    std::vector<std::string> missingShape; // "表" or "表.列" the file lacks
    std::vector<HiddenRow> hidden;         // read only when the shape is complete
    // Repeating entries (table 定期明細) that can never post, and why; read when the file has them.
    std::vector<HiddenRow> badRecurring;
    // The stored per-month sums the year summaries show that are not what their rows add up to.
    // Read only when the shape is complete and the file keeps the sums (sumsKept); a ledger of an
    // earlier version gets them, counted from its rows, when the program next opens it.
    std::vector<MonthSumDifference> sumDifferences;
    bool sumsKept = false;

    bool damaged() const { return !damage.empty() || !missingShape.empty(); }
};

// Opens the file read-only with its own connection; changes nothing. Throws LedgerError when
// the file is missing, cannot be read, or does not open with the password as a database.
//
// Rows the window never shows: incomes whose member is gone (or names none), entries whose
// category is gone (or names none), income month keys the window cannot list (MonthKey:
// yyyy/mm, month 01 to 12, a year from 1900 to 3000) and entry dates not of the form yyyy/mm/dd
// with such a month.
// The per-month sums are recounted from the rows and compared with those stored.
Report checkLedger(const std::filesystem::path& ledger);

// Rewrites every stored per-month sum from the rows, in one transaction, through the program's
// own opening of the ledger (which also brings an older ledger up to date). Throws LedgerError.
void recountSums(const std::filesystem::path& ledger);

// True when the file opens with the password, has the four tables and holds no row in any of
// them: a ledger nothing was ever kept in (or everything was deleted from). False for anything
// else, a file that cannot be read included.
bool holdsNoRows(const std::filesystem::path& ledger);

} // namespace sorakado::check
