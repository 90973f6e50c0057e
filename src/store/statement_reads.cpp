#include "statement_reads.h"

#include "ledger_access.h"

namespace sorakado::statement_reads {

namespace {

// Both read one stretch of the month index, which carries every column they need.
const char* const kDescriptionUses =
    "SELECT DATA.内容, DATA.品目ID, COUNT(*) FROM DATA JOIN 品目 ON 品目.品目ID = DATA.品目ID "
    "WHERE DATA.年月日 >= ?1 AND DATA.内容 IS NOT NULL GROUP BY DATA.内容, DATA.品目ID";
const char* const kEntriesBetween =
    "SELECT DATAID, 年月日, 内容, 金額 FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?2 "
    "AND 内容 IS NOT NULL AND 金額 IS NOT NULL ORDER BY 年月日, DATAID";

} // namespace

std::vector<DescriptionUse> descriptionUses(Ledger& ledger, const std::string& fromDate) {
    Statement s = LedgerAccess::prepare(ledger, kDescriptionUses, "品目の履歴の読み込み");
    // An empty text sorts before every date, and a Null date is never >= anything.
    s.bind(1, fromDate);
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
