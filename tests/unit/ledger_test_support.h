#pragma once

// Store test support: a second connection straight through SQLCipher, standing in for another
// program (it makes files the store must refuse and holds locks on a ledger the store has open),
// and amounts printed as their text in test failures.

#include "store/amount.h"
#include "store/ledger_error.h"

#include <sqlcipher/sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

namespace sorakado {
inline void PrintTo(const Amount& a, std::ostream* os) {
    *os << a.text();
}
inline void PrintTo(LedgerError::Kind k, std::ostream* os) {
    const char* names[] = {"Missing", "ReadOnly", "Locked", "NotLedger", "MissingTable", "Exists", "Failed"};
    *os << names[static_cast<int>(k)];
}
} // namespace sorakado

namespace sorakado::testing {

inline constexpr const char* kLedgerPassword = "73921kqz";

class RawConnection {
public:
    // key nullopt leaves the file unencrypted; create makes the file when it is missing.
    explicit RawConnection(const std::filesystem::path& path,
                           std::optional<std::string> key = kLedgerPassword, bool create = false) {
        int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
        if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK)
            throw std::runtime_error("open failed: " + path.string());
        if (key)
            exec("PRAGMA key = '" + *key + "'");
    }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;
    ~RawConnection() { sqlite3_close_v2(db_); }

    // Returns SQLite's result code; throws only when asked to.
    int tryExec(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr); }
    void exec(const std::string& sql) {
        if (int rc = tryExec(sql); rc != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
    }
    // The first column of the first row as text ("" when Null or no row).
    std::string scalar(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        std::string out;
        if (sqlite3_step(s) == SQLITE_ROW && sqlite3_column_text(s, 0))
            out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
        return out;
    }
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace sorakado::testing
