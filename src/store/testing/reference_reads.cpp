#include "reference_reads.h"

#include "store/ledger_access.h"
#include "store/month_key.h"
#include "store/month_sums_schema.h"
#include "store/statement.h"

namespace sorakado::testing {

std::vector<Entry> monthEntries(Ledger& l, const std::string& monthKey) {
    auto s = LedgerAccess::prepare(l,
                                   "SELECT DATA.DATAID, DATA.年月日, 品目.品目, DATA.内容, DATA.金額 "
                                   "FROM DATA INNER JOIN 品目 ON DATA.品目ID = 品目.品目ID "
                                   "WHERE DATA.年月日 >= ?1 AND DATA.年月日 < ?2 "
                                   "ORDER BY DATA.年月日, DATA.DATAID",
                                   "明細の読み込み");
    s.bind(1, monthKey).bind(2, prefixUpperBound(monthKey));
    std::vector<Entry> out;
    while (s.step())
        out.push_back({s.int64(0), s.text(1), s.text(2), s.text(3), s.amount(4)});
    return out;
}

MonthExpenses monthExpenses(Ledger& l, const std::string& monthKey) {
    return l.monthExpenses(monthKey, l.categories());
}

std::int64_t readFloor(Ledger& l, const std::string& monthKey, const std::string& yearText) {
    std::int64_t values = 0;
    auto entries = LedgerAccess::prepare(
        l, "SELECT DATAID, 年月日, 品目ID, 内容, 金額 FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?2",
        "明細の読み込み");
    entries.bind(1, std::string_view(monthKey)).bind(2, prefixUpperBound(monthKey));
    while (entries.step()) {
        values += entries.int64(0) != 0;
        values += entries.text(1).has_value();
        values += entries.int64(2) != 0;
        values += entries.text(3).has_value();
        values += entries.amount(4).has_value();
    }
    for (const month_sums::Kind* kind : {&month_sums::incomes(), &month_sums::expenses()}) {
        auto figure = LedgerAccess::prepare(
            l, std::string("SELECT 円, 万分の一 FROM ") + kind->table + " WHERE 年月 = ?1",
            "月別合計の読み込み");
        for (int month = 1; month <= 12; ++month) {
            figure.reset();
            figure.bind(1, MonthKey::keyText(yearText, month));
            if (figure.step())
                values += figure.amount(0).has_value() + figure.amount(1).has_value();
        }
    }
    return values;
}

std::int64_t searchFloor(Ledger& l, const std::string& text) {
    auto s = LedgerAccess::prepare(l, "SELECT DATAID, 金額 FROM DATA WHERE 内容 LIKE ?1", "明細の検索");
    s.bind(1, "%" + text + "%");
    std::int64_t rows = 0;
    while (s.step()) {
        s.amount(1);
        ++rows;
    }
    return rows;
}

} // namespace sorakado::testing
