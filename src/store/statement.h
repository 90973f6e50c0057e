#pragma once

#include "amount.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace sorakado {

// One prepared statement. Every value goes in as a bound parameter, never as statement text.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql, std::string operation);
    // A statement kept prepared by its owner (StatementCache): when this goes it is reset and
    // unbound for the next use, and *inUse cleared, instead of finalized.
    Statement(sqlite3* db, sqlite3_stmt* kept, bool* inUse, std::string operation);

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view text);
    Statement& bindOptional(int index, const std::optional<std::string>& text);
    Statement& bind(int index, Amount value);
    // A REAL as it stands, for values no Amount holds (a test's stored double).
    Statement& bindReal(int index, double value);
    Statement& bindNull(int index);

    // Advances to the next row; false at the end. Throws LedgerError on failure.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    // The statement reads only, and can change nothing in the file.
    bool readOnly() const;
    bool isNull(int column) const;
    std::int64_t int64(int column) const;
    // The value when it is stored as an integer; nullopt for Null, a REAL or text.
    std::optional<std::int64_t> integer(int column) const;
    // An INTEGER part of a sum; any other value (a sum an amount too large to add has entered)
    // is refused with a message, never clipped to 64 bits.
    std::int64_t sumPart(int column) const;
    std::optional<std::string> text(int column) const;
    // A stored amount: INTEGER read exactly, REAL rounded to four decimals; Null gives nullopt.
    std::optional<Amount> amount(int column) const;

private:
    [[noreturn]] void fail(int rc) const;

    struct Finalizer {
        bool* inUse; // set for a kept statement, which is handed back rather than finalized
        void operator()(sqlite3_stmt* s) const;
    };
    sqlite3* db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
    std::string operation_;
};

} // namespace sorakado
