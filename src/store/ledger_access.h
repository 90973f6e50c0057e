#pragma once

// The connection underneath a Ledger, for the store's own source files (and the store's test
// support library) alone: this is where statement texts meet the file.

#include "ledger.h"
#include "statement.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sorakado {

class LedgerAccess {
public:
    // Throws std::logic_error for a statement that would change the file while a snapshot is read.
    static Statement prepare(Ledger& ledger, std::string_view sql, std::string operation) {
        Statement s(ledger.db_, sql, std::move(operation));
        if (!s.readOnly())
            ledger.refuseChangeDuringSnapshot();
        return s;
    }
    // The same, from the statements kept prepared for the connection's life: for statements run
    // on every undo or change, whose preparing would cost more than their running.
    static Statement cached(Ledger& ledger, std::string_view sql, const char* operation) {
        Statement s = ledger.cachedStatement(sql, operation);
        if (!s.readOnly())
            ledger.refuseChangeDuringSnapshot();
        return s;
    }
    // The key the last appended row received.
    static std::int64_t lastInsertKey(const Ledger& ledger);
    // Rows the last statement changed.
    static int changedRows(const Ledger& ledger);
    static sqlite3* connection(const Ledger& ledger) { return ledger.db_; }
};

} // namespace sorakado
