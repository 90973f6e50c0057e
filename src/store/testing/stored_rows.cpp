#include "stored_rows.h"

#include "store/ledger_access.h"
#include "store/statement.h"

namespace sorakado::testing {

std::vector<StoredRow> storedRows(Ledger& l, const std::string& table,
                                  const std::vector<std::string>& columns, const std::string& orderBy) {
    std::string list;
    for (const auto& c : columns)
        list += (list.empty() ? "" : ", ") + c + ", typeof(" + c + ")";
    auto s = LedgerAccess::prepare(l, "SELECT " + list + " FROM " + table + " ORDER BY " + orderBy, "test");
    std::vector<StoredRow> rows;
    while (s.step()) {
        StoredRow row;
        for (int c = 0; c < static_cast<int>(columns.size()); ++c)
            row.push_back({s.text(2 * c + 1).value_or(""), s.text(2 * c), s.amount(2 * c)});
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::optional<std::string>> storedColumn(Ledger& l, const std::string& table,
                                                     const std::string& column) {
    std::vector<std::optional<std::string>> out;
    for (const auto& row : storedRows(l, table, {column}))
        out.push_back(row[0].text);
    return out;
}

} // namespace sorakado::testing
