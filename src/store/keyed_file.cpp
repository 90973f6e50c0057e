#include "keyed_file.h"

#include "ledger_error.h"
#include "ledger_journal.h"
#include "platform/platform.h"
#include "schema.h"
#include "sqlite_error.h"
#include "store/ledger_key.h"

#include <sqlcipher/sqlite3.h>

#include <cstring>

namespace sorakado::detail {

sqlite3* openKeyed(const std::filesystem::path& path, KeyedFile::Access access) {
    journal::refuseLink(path);
    const int flags = access == KeyedFile::Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    sqlite3* db = nullptr;
    // Each connection is used by one thread at a time, so SQLite need not take a lock around
    // every call on it.
    int rc = sqlite3_open_v2(platform::utf8Path(path).c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        throwAboutFile(errorKindOf(rc), "台帳ファイルを開けません。（" + message + "）", path);
    }
    try {
        // Plain SQLite ignores the key pragma and would read an unencrypted file as if all were
        // well. Key derivation is most of the cost of opening.
        platform::clearUpperVectorState();
        execOrThrow(db, (std::string("PRAGMA key = '") + kLedgerKey + "'").c_str(), "暗号化の設定");
        Statement version(db, "PRAGMA cipher_version", "暗号化の確認");
        if (!version.step())
            throwAboutFile(LedgerError::Kind::Failed,
                           "暗号化ライブラリ（SQLCipher）が使えないため台帳ファイルを開けません。", path);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    return db;
}

void proveKeyFits(sqlite3* db, const std::filesystem::path& path, const char* cannot) {
    try {
        Statement s(db, "SELECT count(*) FROM sqlite_master", "表の確認");
        s.step();
    } catch (const LedgerError& e) {
        if (e.kind() == LedgerError::Kind::Locked)
            throwAboutFile(LedgerError::Kind::Locked,
                           std::string("台帳ファイルが他のプログラムで使用中のため") + cannot + "。", path);
        // Only a connection that may write can put back what a half-done change overwrote.
        if (e.kind() == LedgerError::Kind::ReadOnly && journal::present(path))
            throwAboutFile(LedgerError::Kind::ReadOnly,
                           std::string("台帳に、途中で終わった変更の記録（") +
                               journal::pathOf(path).filename().string() +
                               "）が残っているため、読み取り専用では" + cannot +
                               "。台帳が壊れているのではありません。台帳に書き込める場所で sorakado-ledger "
                               "check を実行するか Sorakado を起動すると、その変更を取り消してから読めます。",
                           path);
        if (e.kind() == LedgerError::Kind::NotLedger)
            throwAboutFile(LedgerError::Kind::NotLedger,
                           std::string("台帳ファイルを") + cannot +
                               "。パスワードが違うか、Sorakadoの台帳ファイルではないか、壊れています。",
                           path);
        throwAboutFile(LedgerError::Kind::Failed, e.description(), path);
    }
}

std::vector<std::string> missingShape(sqlite3* db) {
    std::vector<std::string> missing;
    for (const auto& table : schema::tables()) {
        std::vector<std::string> columns;
        Statement info(db, std::string("PRAGMA table_info(") + table.name + ")", "表の確認");
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

namespace {

// SQLite says only "disk I/O error" of a folder where the file should be.
const std::filesystem::path& refuseFolder(const std::filesystem::path& path) {
    if (platform::fileFacts(path).folder)
        throwAboutFile(LedgerError::Kind::NotLedger, kFolderInsteadOfLedger, path);
    return path;
}

} // namespace

KeyedFile::KeyedFile(const std::filesystem::path& path, Access access)
    : db_(openKeyed(refuseFolder(path), access)), path_(path) {
    sqlite3_busy_timeout(db_, 2000);
}

KeyedFile::~KeyedFile() {
    sqlite3_close_v2(db_);
}

Statement KeyedFile::prepare(std::string_view sql, std::string operation) {
    return Statement(db_, sql, std::move(operation));
}

void KeyedFile::proveReadable() {
    proveKeyFits(db_, path_, "読めません");
    keepCacheSmall();
}

void KeyedFile::exec(const char* sql, const char* operation) {
    execOrThrow(db_, sql, operation);
}

void KeyedFile::keepCacheSmall() {
    exec("PRAGMA cache_size = -512", "キャッシュの設定");
}

void KeyedFile::stopWhen(const std::atomic<bool>* stop) {
    stop_ = stop;
    if (!stop) {
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        return;
    }
    // Looked at every few thousand steps of the virtual machine: often enough to stop a long
    // check within a moment, rarely enough to cost it nothing.
    sqlite3_progress_handler(
        db_, 4096, [](void* file) { return static_cast<KeyedFile*>(file)->stop_->load() ? 1 : 0; }, this);
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
    return detail::missingShape(db_);
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
