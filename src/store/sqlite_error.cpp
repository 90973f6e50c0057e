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
    const std::string failed = "台帳の" + std::string(operation) + "に失敗しました。";
    // SQLite says these two in English and in its own terms; the user needs to hear what became
    // of the change and what to do.
    switch (sqliteResultCode & 0xFF) {
    case SQLITE_FULL:
        throw LedgerError(LedgerError::Kind::Failed,
                          failed + "ディスクがいっぱいのため、この変更は保存されていません。"
                                   "ディスクの空きを増やしてから、もう一度操作してください。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        // Sorakado itself is one program per ledger: what holds the file is something else (a
        // database tool, a synchronising program, a copy being made).
        throw LedgerError(LedgerError::Kind::Locked,
                          failed +
                              "ほかのプログラムが台帳ファイルを使用中で、終わるのを待ちきれませんでした。"
                              "台帳ファイルを開いているほかのプログラムを終了してから、もう一度操作して"
                              "ください。");
    case SQLITE_CANTOPEN:
        throw LedgerError(
            LedgerError::Kind::ReadOnly,
            failed + "台帳ファイルのあるフォルダーに書き込めないため、この変更は保存されていません。");
    default:
        throw LedgerError(errorKindOf(sqliteResultCode), failed + "（" + message + "）");
    }
}

void throwAboutFile(LedgerError::Kind kind, const std::string& what, const std::filesystem::path& path) {
    throw LedgerError(kind, what + "\n" + path.string());
}

void execOrThrow(sqlite3* db, const char* sql, std::string_view operation) {
    char* err = nullptr;
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string message = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        throwSqliteError(rc, operation, message);
    }
}

} // namespace sorakado
