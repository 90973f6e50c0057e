#include "sqlite_error.h"

#include <sqlcipher/sqlite3.h>

namespace sorakado {

LedgerError::Kind errorKindOf(int sqliteResultCode) {
    switch (sqliteResultCode & 0xFF) { // extended codes carry the primary code in the low byte
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return LedgerError::Kind::Locked;
    case SQLITE_READONLY:
        return LedgerError::Kind::ReadOnly;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return LedgerError::Kind::NotLedger;
    default:
        return LedgerError::Kind::Failed;
    }
}

void throwSqliteError(int sqliteResultCode, std::string_view operation, const std::string& message) {
    throw LedgerError(errorKindOf(sqliteResultCode),
                      "台帳の" + std::string(operation) + "に失敗しました。（" + message + "）");
}

} // namespace sorakado
