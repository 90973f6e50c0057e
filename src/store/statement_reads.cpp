#include "statement_reads.h"

#include "ledger_access.h"

namespace sorakado::statement_reads {

namespace {

// Both read one stretch of the month index, which carries every column they need: the latest
// entries backwards from the date, with no join, so the cost is the entries asked for whatever
// the size of the ledger.
const char* const kRecentDescriptionUses =
    "SELECT 内容, 品目ID, COUNT(*) FROM (SELECT 内容, 品目ID FROM DATA WHERE 年月日 < ?1 "
    "ORDER BY 年月日 DESC LIMIT ?2) WHERE 内容 IS NOT NULL AND 品目ID IS NOT NULL GROUP BY 内容, 品目ID";
const char* const kEntriesBetween =
    "SELECT DATAID, 年月日, 内容, 金額 FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?2 "
    "AND 内容 IS NOT NULL AND 金額 IS NOT NULL ORDER BY 年月日, DATAID";

} // namespace

std::vector<DescriptionUse> recentDescriptionUses(Ledger& ledger, const std::string& lastDate,
                                                  std::int64_t entries) {
    Statement s = LedgerAccess::prepare(ledger, kRecentDescriptionUses, "品目の履歴の読み込み");
    s.bind(1, prefixUpperBound(lastDate)).bind(2, entries);
    std::vector<DescriptionUse> out;
    while (s.step())
        out.push_back({s.text(0).value_or(std::string()), s.int64(1), s.int64(2)});
    return out;
}

std::vector<DatedEntry> entriesBetween(Ledger& ledger, const std::string& firstDate,
                                       const std::string& lastDate) {
    Statement s = LedgerAccess::prepare(ledger, kEntriesBetween, "明細の読み込み");
    s.bind(1, firstDate).bind(2, prefixUpperBound(lastDate));
    std::vector<DatedEntry> out;
    while (s.step()) {
        auto amount = s.amount(3);
        if (!amount)
            continue;
        out.push_back(
            {s.int64(0), s.text(1).value_or(std::string()), s.text(2).value_or(std::string()), *amount});
    }
    return out;
}

} // namespace sorakado::statement_reads
