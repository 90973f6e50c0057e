#pragma once

// A ledger file, or a copy of one, opened by a connection of its own and keyed with the ledger's
// password: for copies, checks and restores, apart from the program's one Ledger. Inside the
// store only.

#include "statement.h"

#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace sorakado::detail {

class KeyedFile {
public:
    enum class Access { ReadOnly, ReadWrite };

    // Opens an existing file (never creates one) and keys the connection. Throws LedgerError.
    KeyedFile(const std::filesystem::path& path, Access access);
    KeyedFile(const KeyedFile&) = delete;
    KeyedFile& operator=(const KeyedFile&) = delete;
    ~KeyedFile();

    sqlite3* handle() const { return db_; }
    const std::filesystem::path& path() const { return path_; }

    // Reads the schema, which proves the password fits and the file is a database at all.
    // Throws LedgerError (NotLedger, Locked or Failed) naming the path. From then on the file is
    // read through a small cache (keepCacheSmall).
    void proveReadable();
    // Copies and checks walk the file once from end to end, so a page is rarely read twice: a
    // small cache costs them nothing and keeps the window's process small while a copy runs beside
    // it. Needs a readable file (an empty one will do).
    void keepCacheSmall();
    // Statements on this connection stop (SQLITE_INTERRUPT) once stop is set; null: never.
    void stopWhen(const std::atomic<bool>* stop);
    // SQLite's own check of every page and index: empty when sound, else its complaints.
    std::vector<std::string> integrityProblems();
    // The tables and columns of the ledger's shape that the file lacks, as "表" or "表.列".
    std::vector<std::string> missingShape();

    void exec(const char* sql, const char* operation);
    Statement prepare(std::string_view sql, std::string operation);

private:
    sqlite3* db_ = nullptr;
    std::filesystem::path path_;
    const std::atomic<bool>* stop_ = nullptr;
};

// The one way a ledger file is opened, for the program's Ledger and for a KeyedFile alike.
//
// Opens an existing file (never creates one) and keys the connection with the ledger's
// password, proving SQLCipher is underneath. Throws LedgerError naming the path; the connection
// is the caller's to close.
sqlite3* openKeyed(const std::filesystem::path& path, KeyedFile::Access access);
// Reads the schema, which proves the password fits and the file is a database at all. Throws
// LedgerError (Locked, NotLedger or Failed) whose description says the file could not be
// opened (cannot = "開けません") or read ("読めません").
void proveKeyFits(sqlite3* db, const std::filesystem::path& path, const char* cannot);
// The tables and columns of the ledger's shape that the file lacks, as "表" or "表.列".
std::vector<std::string> missingShape(sqlite3* db);

// Writes the file's data to the disk (fsync), and the folder's entry for a name given or removed.
// Both throw LedgerError with the operation's name on failure.
void syncFile(const std::filesystem::path& path);
void syncFolder(const std::filesystem::path& folder);

} // namespace sorakado::detail
