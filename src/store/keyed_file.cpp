#include "keyed_file.h"

#include "ledger_error.h"
#include "platform/platform.h"
#include "schema.h"
#include "sqlite_error.h"
#include "store/ledger_key.h"

#include <sqlcipher/sqlite3.h>

#include <cstring>

namespace sorakado::detail {

KeyedFile::KeyedFile(const std::filesystem::path& path, Access access) : path_(path) {
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    int rc = sqlite3_open_v2(platform::utf8Path(path).c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throwAboutFile(errorKindOf(rc), "台帳ファイルを開けません。（" + message + "）", path);
    }
    sqlite3_busy_timeout(db_, 2000);
    try {
        platform::clearUpperVectorState();
        exec((std::string("PRAGMA key = '") + kLedgerKey + "'").c_str(), "暗号化の設定");
        Statement version(db_, "PRAGMA cipher_version", "暗号化の確認");
        if (!version.step())
            throwAboutFile(LedgerError::Kind::Failed,
                           "暗号化ライブラリ（SQLCipher）が使えないため台帳ファイルを開けません。", path);
    } catch (...) {
        sqlite3_close_v2(db_);
        throw;
    }
}

KeyedFile::~KeyedFile() {
    sqlite3_close_v2(db_);
}

Statement KeyedFile::prepare(std::string_view sql, std::string operation) {
    return Statement(db_, sql, std::move(operation));
}

void KeyedFile::proveReadable() {
    try {
        Statement s(db_, "SELECT count(*) FROM sqlite_master", "表の確認");
        s.step();
    } catch (const LedgerError& e) {
        int code = sqlite3_errcode(db_);
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            throwAboutFile(LedgerError::Kind::Locked,
                           "台帳ファイルが他のプログラムで使用中のため読めません。", path_);
        if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
            throwAboutFile(
                LedgerError::Kind::NotLedger,
                "台帳ファイルを読めません。パスワードが違うか、Sorakadoの台帳ファイルではないか、壊れていま"
                "す。",
                path_);
        throwAboutFile(LedgerError::Kind::Failed, e.description(), path_);
    }
    keepCacheSmall();
}

void KeyedFile::exec(const char* sql, const char* operation) {
    execOrThrow(db_, sql, operation);
}

void KeyedFile::keepCacheSmall() {
    exec("PRAGMA cache_size = -512", "キャッシュの設定");
}

std::vector<std::string> KeyedFile::integrityProblems() {
    std::vector<std::string> problems;
    try {
        Statement s(db_, "PRAGMA integrity_check", "整合性の確認");
        while (s.step())
            if (auto line = s.text(0).value_or(""); line != "ok")
                problems.push_back(line);
    } catch (const LedgerError& e) {
        // A file damaged badly enough that the check itself stops is damaged all the same.
        if (e.kind() == LedgerError::Kind::Locked)
            throw;
        problems.push_back(e.description());
    }
    return problems;
}

std::vector<std::string> KeyedFile::missingShape() {
    std::vector<std::string> missing;
    for (const auto& table : schema::tables()) {
        std::vector<std::string> columns;
        Statement info(db_, std::string("PRAGMA table_info(") + table.name + ")", "表の確認");
        while (info.step())
            columns.push_back(info.text(1).value_or(""));
        if (columns.empty()) {
            missing.push_back(table.name);
            continue;
        }
        for (const char* column : table.columns) {
            bool has = false;
            for (const auto& c : columns)
                has = has || c == column;
            if (!has)
                missing.push_back(std::string(table.name) + "." + column);
        }
    }
    return missing;
}

void syncFile(const std::filesystem::path& path) {
    if (const platform::Outcome synced = platform::syncFile(path); !synced)
        throwAboutFile(LedgerError::Kind::Failed,
                       "ファイルをディスクに書き出せませんでした。（" + synced.detail + "）", path);
}

void syncFolder(const std::filesystem::path& folder) {
    if (const platform::Outcome synced = platform::syncFolder(folder); !synced)
        throwAboutFile(LedgerError::Kind::Failed,
                       "フォルダーの変更をディスクに書き出せませんでした。（" + synced.detail + "）", folder);
}

} // namespace sorakado::detail
