#pragma once

#include "statement.h"

#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace sorakado {

// The statements a ledger runs on every rebuild of the window, prepared once and kept for the
// connection's life: preparing them took a tenth of a rebuild's reads. A statement handed out is
// reset and unbound when its Statement goes; one asked for while its kept copy is still in use
// comes freshly prepared instead, so two uses of one text never share it.
class StatementCache {
public:
    StatementCache() = default;
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;
    ~StatementCache(); // finalizes every kept statement: the connection must still be open

    // Throws LedgerError naming operation when sql does not prepare.
    Statement take(sqlite3* db, std::string_view sql, std::string operation);

private:
    struct Kept {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };
    std::unordered_map<std::string, Kept> kept_; // nodes never move, so the flags' addresses hold
};

} // namespace sorakado
