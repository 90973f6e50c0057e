#pragma once

// Another program on a ledger file: its own connection straight through SQLCipher. It makes
// files the store must refuse, and holds locks on a ledger the store has open.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace sorakado::testing {

// The ledger's key: what the program itself encrypts with.
const char* ledgerKey();

// Tables and their columns, for files made with another shape than the store's.
using TableShape = std::vector<std::pair<std::string, std::vector<std::string>>>;

class OtherProgram {
public:
    // key nullopt leaves the file unencrypted; create makes the file when it is missing.
    // Throws std::runtime_error when the file cannot be opened.
    explicit OtherProgram(const std::filesystem::path& path, std::optional<std::string> key = ledgerKey(),
                          bool create = false);
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    ~OtherProgram();

    // Makes the tables, columns untyped. Throws std::runtime_error.
    void createTables(const TableShape& shape);
    // The tables in the file; throws std::runtime_error when the file cannot be read (no
    // ledger, or another key).
    std::vector<std::string> tableNames();
    std::vector<std::string> columnsOf(const std::string& table);
    std::int64_t rowCount(const std::string& table);

    // Holding the file: reading (a shared lock until the transaction ends), in the middle of a
    // change (a reserved lock), or exclusively.
    void beginReading();
    void beginChange();
    void beginExclusive();
    void addCategory(const std::string& name);
    // Begins a change that deletes every entry, through a cache too small to hold it: the
    // change's pages reach the file before it commits, with its journal written in full, so a
    // process ended meanwhile leaves that journal hot.
    void beginDeletingEntriesSpillingToTheFile();
    void commit();
    void rollback();
    // Statements as that program runs them; for the store's test support, which keeps the
    // statement texts (tests hold none).
    void exec(const std::string& sql);

private:
    sqlite3* db_ = nullptr;
};

} // namespace sorakado::testing
