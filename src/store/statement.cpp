#include "statement.h"

#include "sqlite_error.h"

#include <sqlcipher/sqlite3.h>

namespace sorakado {

void Statement::Finalizer::operator()(sqlite3_stmt* s) const {
    if (!inUse) {
        sqlite3_finalize(s);
        return;
    }
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    *inUse = false;
}

Statement::Statement(sqlite3* db, std::string_view sql, std::string operation)
    : db_(db), stmt_(nullptr, Finalizer{nullptr}), operation_(std::move(operation)) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    stmt_.reset(raw);
    if (rc != SQLITE_OK)
        fail(rc);
}

Statement::Statement(sqlite3* db, sqlite3_stmt* kept, bool* inUse, std::string operation)
    : db_(db), stmt_(kept, Finalizer{inUse}), operation_(std::move(operation)) {}

void Statement::fail(int rc) const {
    throwSqliteError(rc, operation_, db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
}

Statement& Statement::bind(int index, std::int64_t value) {
    if (int rc = sqlite3_bind_int64(stmt_.get(), index, value); rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    if (int rc = sqlite3_bind_text(stmt_.get(), index, text.data(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT);
        rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bindOptional(int index, const std::optional<std::string>& text) {
    return text ? bind(index, std::string_view(*text)) : bindNull(index);
}

Statement& Statement::bind(int index, Amount value) {
    // Whole yen go in as INTEGER so sums stay exact; a fraction goes in as REAL with four decimals.
    if (auto yen = value.wholeYen())
        return bind(index, *yen);
    return bindReal(index, value.toDouble());
}

Statement& Statement::bindReal(int index, double value) {
    if (int rc = sqlite3_bind_double(stmt_.get(), index, value); rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bindNull(int index) {
    if (int rc = sqlite3_bind_null(stmt_.get(), index); rc != SQLITE_OK)
        fail(rc);
    return *this;
}

bool Statement::step() {
    int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_.get());
    fail(rc);
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_.get());
    sqlite3_clear_bindings(stmt_.get());
}

bool Statement::readOnly() const {
    return sqlite3_stmt_readonly(stmt_.get()) != 0;
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL;
}

std::int64_t Statement::int64(int column) const {
    return sqlite3_column_int64(stmt_.get(), column);
}

std::optional<std::int64_t> Statement::integer(int column) const {
    if (sqlite3_column_type(stmt_.get(), column) != SQLITE_INTEGER)
        return std::nullopt;
    return sqlite3_column_int64(stmt_.get(), column);
}

std::optional<std::string> Statement::text(int column) const {
    if (isNull(column))
        return std::nullopt;
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
    int n = sqlite3_column_bytes(stmt_.get(), column);
    return std::string(p ? p : "", static_cast<size_t>(n));
}

std::int64_t Statement::sumPart(int column) const {
    if (sqlite3_column_type(stmt_.get(), column) != SQLITE_INTEGER)
        throw LedgerError(LedgerError::Kind::Failed,
                          "台帳の" + operation_ +
                              "に失敗しました。（大きすぎるか数ではない金額があるため合計できません）");
    return sqlite3_column_int64(stmt_.get(), column);
}

std::optional<Amount> Statement::amount(int column) const {
    switch (sqlite3_column_type(stmt_.get(), column)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_INTEGER:
        return Amount::fromYen(sqlite3_column_int64(stmt_.get(), column));
    default:
        // A REAL, or text (only a foreign tool could store it) read as its numeric value.
        break;
    }
    if (auto amount = Amount::fromStoredDouble(sqlite3_column_double(stmt_.get(), column)))
        return amount;
    // Infinite or beyond any amount: shown as an error, never as a number it is not.
    throw LedgerError(LedgerError::Kind::Failed, "台帳の" + operation_ + "に失敗しました。（金額「" +
                                                     text(column).value_or("") +
                                                     "」は大きすぎるか数ではないため読めません）");
}

} // namespace sorakado
