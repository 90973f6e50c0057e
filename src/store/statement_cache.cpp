#include "statement_cache.h"

#include "sqlite_error.h"

#include <sqlcipher/sqlite3.h>

namespace sorakado {

StatementCache::~StatementCache() {
    for (auto& [sql, kept] : kept_)
        sqlite3_finalize(kept.stmt);
}

Statement StatementCache::take(sqlite3* db, std::string_view sql, std::string operation) {
    Kept& kept = kept_[std::string(sql)];
    if (kept.inUse)
        return Statement(db, sql, std::move(operation));
    if (!kept.stmt) {
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(raw);
            kept_.erase(std::string(sql));
            throwSqliteError(rc, operation, sqlite3_errmsg(db));
        }
        kept.stmt = raw;
    }
    kept.inUse = true;
    return Statement(db, kept.stmt, &kept.inUse, std::move(operation));
}

} // namespace sorakado
