#pragma once

// The one translation from SQLite's result codes to what the user is told. Store files only.

#include "ledger_error.h"

#include <filesystem>
#include <string>
#include <string_view>

struct sqlite3;

namespace sorakado {

// What a failed SQLite call means for the user: another program holds the file (busy, locked),
// the file cannot be written (read-only), the file is not a ledger or the password does not fit
// (not a database, corrupt), or anything else.
LedgerError::Kind errorKindOf(int sqliteResultCode);

// "台帳の<operation>に失敗しました。（<message>）" with the kind the code gives.
[[noreturn]] void throwSqliteError(int sqliteResultCode, std::string_view operation,
                                   const std::string& message);

// what, then the file it is about on a line of its own: how every failure about a file is told.
[[noreturn]] void throwAboutFile(LedgerError::Kind kind, const std::string& what,
                                 const std::filesystem::path& path);

// Runs sql (no rows, no values) on db; throws as throwSqliteError does, naming operation.
void execOrThrow(sqlite3* db, const char* sql, std::string_view operation);

} // namespace sorakado
