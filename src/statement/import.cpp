#include "import.h"

#include "matching.h"
#include "store/history.h"
#include "store/ledger_writes.h"

namespace sorakado::statement {

std::string importStepLabel(std::size_t rows) {
    return "明細の取り込み (" + std::to_string(rows) + "件)";
}

std::vector<std::int64_t> writeImport(Ledger& ledger, const std::vector<ImportRow>& rows) {
    std::vector<std::int64_t> keys;
    keys.reserve(rows.size());
    // One step of the history, so one undo takes the whole import back.
    history::recordStep(ledger, importStepLabel(rows.size()), [&] {
        for (const auto& row : rows)
            keys.push_back(writes::addEntry(
                ledger, {ledgerDate(row.date), row.categoryKey, row.description.toStdString(), row.amount}));
    });
    return keys;
}

} // namespace sorakado::statement
