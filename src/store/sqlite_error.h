#pragma once

// The one translation from SQLite's result codes to what the user is told. Store files only.

#include "ledger_error.h"

#include <string>
#include <string_view>

namespace sorakado {

// What a failed SQLite call means for the user: another program holds the file (busy, locked),
// the file cannot be written (read-only), the file is not a ledger or the password does not fit
// (not a database, corrupt), or anything else.
LedgerError::Kind errorKindOf(int sqliteResultCode);

// "台帳の<operation>に失敗しました。（<message>）" with the kind the code gives.
[[noreturn]] void throwSqliteError(int sqliteResultCode, std::string_view operation,
                                   const std::string& message);

} // namespace sorakado
