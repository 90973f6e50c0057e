#include "other_program.h"

#include "platform/platform.h"
#include "store/ledger_key.h"

#include <sqlcipher/sqlite3.h>

#include <stdexcept>

namespace sorakado::testing {

namespace {

// Runs sql on db and calls row with each row; throws with SQLite's message on failure.
template <class Row> void query(sqlite3* db, const std::string& sql, Row row) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s);
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db));
    }
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        row(s);
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db));
}

std::string columnText(sqlite3_stmt* s, int column) {
    auto p = sqlite3_column_text(s, column);
    return p ? reinterpret_cast<const char*>(p) : "";
}

} // namespace

const char* ledgerKey() {
    return kLedgerKey;
}

OtherProgram::OtherProgram(const std::filesystem::path& path, std::optional<std::string> key, bool create) {
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(platform::utf8Path(path).c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db_);
        throw std::runtime_error("open failed: " + path.string());
    }
    if (key)
        exec("PRAGMA key = '" + *key + "'");
}

OtherProgram::~OtherProgram() {
    sqlite3_close_v2(db_);
}

void OtherProgram::exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
}

void OtherProgram::createTables(const TableShape& shape) {
    std::string sql;
    for (const auto& [table, columns] : shape) {
        std::string list;
        for (const auto& c : columns)
            list += (list.empty() ? "" : ", ") + c;
        sql += "CREATE TABLE " + table + "(" + list + ");";
    }
    exec(sql);
}

std::vector<std::string> OtherProgram::tableNames() {
    std::vector<std::string> out;
    query(db_, "SELECT name FROM sqlite_master WHERE type = 'table'",
          [&](sqlite3_stmt* s) { out.push_back(columnText(s, 0)); });
    return out;
}

std::vector<std::string> OtherProgram::columnsOf(const std::string& table) {
    std::vector<std::string> out;
    query(db_, "PRAGMA table_info(" + table + ")", [&](sqlite3_stmt* s) { out.push_back(columnText(s, 1)); });
    return out;
}

std::int64_t OtherProgram::rowCount(const std::string& table) {
    std::int64_t n = 0;
    query(db_, "SELECT count(*) FROM " + table, [&](sqlite3_stmt* s) { n = sqlite3_column_int64(s, 0); });
    return n;
}

void OtherProgram::beginReading() {
    exec("BEGIN");
    rowCount("名前"); // the read takes the shared lock, kept until the transaction ends
}

void OtherProgram::beginChange() {
    exec("BEGIN IMMEDIATE");
}

void OtherProgram::beginDeletingEntriesSpillingToTheFile() {
    exec("PRAGMA cache_size = 4");
    exec("PRAGMA synchronous = FULL");
    beginChange();
    exec("DELETE FROM DATA");
}

void OtherProgram::beginExclusive() {
    exec("BEGIN EXCLUSIVE");
}

void OtherProgram::addCategory(const std::string& name) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO 品目(品目) VALUES (?1)", -1, &s, nullptr);
    sqlite3_bind_text(s, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    int rc = sqlite3_step(s);
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(std::string("insert: ") + sqlite3_errmsg(db_));
}

void OtherProgram::commit() {
    exec("COMMIT");
}

void OtherProgram::rollback() {
    exec("ROLLBACK");
}

} // namespace sorakado::testing
