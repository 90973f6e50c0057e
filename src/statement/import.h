#pragma once

#include "store/amount.h"
#include "store/ledger.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace sorakado::statement {

// A statement line the user chose to write, with the category it goes under.
struct ImportRow {
    QDate date;
    std::int64_t categoryKey = 0;
    QString description; // stored as the statement has it, whatever it begins with
    Amount amount;
};

// The name of the import in the ledger's history: 明細の取り込み (37件).
std::string importStepLabel(std::size_t rows);

// Writes every row as an expense entry in one transaction and one step of the ledger's history
// (importStepLabel): all of them or none, and one undo takes them all back. Refused with a
// LedgerError when a category is no longer there. Returns the new entries' keys in row order.
std::vector<std::int64_t> writeImport(Ledger& ledger, const std::vector<ImportRow>& rows);

} // namespace sorakado::statement
