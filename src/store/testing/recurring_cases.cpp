#include "recurring_cases.h"

#include "store/ledger_access.h"
#include "store/statement.h"

namespace sorakado::testing {

namespace {

void run(Ledger& l, const std::string& sql) {
    LedgerAccess::prepare(l, sql, "test").run();
}

} // namespace

std::int64_t addRecurringStoredAs(Ledger& l, const std::string& sqlValues) {
    run(l, "INSERT INTO 定期明細(品目ID, 名前ID, 内容, 金額, 日, 月, 開始, 終了, 記入済) VALUES (" +
               sqlValues + ")");
    return LedgerAccess::lastInsertKey(l);
}

void makeVersionBeforeRecurring(Ledger& l) {
    run(l, "DROP TABLE 定期明細");
    run(l, "ALTER TABLE 履歴行 RENAME TO 履歴行_広");
    run(l,
        "CREATE TABLE 履歴行(行番 INTEGER PRIMARY KEY, 表 INTEGER NOT NULL, キー, 前 INTEGER NOT NULL, 前1, "
        "前2, 前3, 前4, 後 INTEGER NOT NULL, 後1, 後2, 後3, 後4)");
    run(l, "INSERT INTO 履歴行 SELECT 行番, 表, キー, 前, 前1, 前2, 前3, 前4, 後, 後1, 後2, 後3, 後4 FROM "
           "履歴行_広");
    run(l, "DROP TABLE 履歴行_広");
    run(l, "PRAGMA user_version = 3");
}

std::int64_t historyRowColumns(Ledger& l) {
    auto s = LedgerAccess::prepare(l, "PRAGMA table_info(履歴行)", "test");
    std::int64_t columns = 0;
    while (s.step())
        ++columns;
    return columns;
}

} // namespace sorakado::testing
