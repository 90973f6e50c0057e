// The reads that take whole tables out of the ledger (spreadsheet export, the year report).
#include "ledger.h"
#include "statement.h"

namespace sorakado {

namespace {

// LEFT JOIN: an entry whose category was deleted is still the family's spending, and the year
// sums count it; it is read with no category name.
const char* const kEntriesAll =
    "SELECT DATA.DATAID, DATA.年月日, DATA.品目ID, 品目.品目, DATA.内容, DATA.金額 "
    "FROM DATA LEFT JOIN 品目 ON DATA.品目ID = 品目.品目ID ORDER BY DATA.年月日, DATA.DATAID";
const char* const kEntriesFrom =
    "SELECT DATA.DATAID, DATA.年月日, DATA.品目ID, 品目.品目, DATA.内容, DATA.金額 "
    "FROM DATA LEFT JOIN 品目 ON DATA.品目ID = 品目.品目ID "
    "WHERE DATA.年月日 >= ?1 AND DATA.年月日 < ?2 ORDER BY DATA.年月日, DATA.DATAID";
const char* const kIncomesAll =
    "SELECT 収入.年月, 収入.名前ID, 名前.名前, 収入.収入 "
    "FROM 収入 LEFT JOIN 名前 ON 収入.名前ID = 名前.名前ID ORDER BY 収入.年月, 収入.名前ID, 収入.rowid";
const char* const kIncomesFrom =
    "SELECT 収入.年月, 収入.名前ID, 名前.名前, 収入.収入 "
    "FROM 収入 LEFT JOIN 名前 ON 収入.名前ID = 名前.名前ID "
    "WHERE 収入.年月 >= ?1 AND 収入.年月 < ?2 ORDER BY 収入.年月, 収入.名前ID, 収入.rowid";

std::optional<std::int64_t> optionalKey(const Statement& s, int column) {
    if (s.isNull(column))
        return std::nullopt;
    return s.int64(column);
}

} // namespace

std::vector<EntryRecord> Ledger::entryRecords(const std::string& datePrefix) {
    Statement s(db_, datePrefix.empty() ? kEntriesAll : kEntriesFrom, "明細の読み込み");
    if (!datePrefix.empty())
        s.bind(1, datePrefix).bind(2, prefixUpperBound(datePrefix));
    std::vector<EntryRecord> out;
    while (s.step())
        out.push_back({s.int64(0), s.text(1), optionalKey(s, 2), s.text(3), s.text(4), s.amount(5)});
    return out;
}

std::vector<IncomeRecord> Ledger::incomeRecords(const std::string& monthPrefix) {
    Statement s(db_, monthPrefix.empty() ? kIncomesAll : kIncomesFrom, "収入の読み込み");
    if (!monthPrefix.empty())
        s.bind(1, monthPrefix).bind(2, prefixUpperBound(monthPrefix));
    std::vector<IncomeRecord> out;
    while (s.step())
        out.push_back({s.text(0), optionalKey(s, 1), s.text(2), s.amount(3)});
    return out;
}

} // namespace sorakado
