#pragma once

// The history of the program's own changes, kept in the ledger file so it outlives the window.
//
// 履歴 holds one row per step: when it was made, what it was (the text the menus show), whether
// it is undone, and where its rows begin in 履歴行. 履歴行 holds, in the order they happened, the
// rows a step changed: which table and key, the row as it was before (or none) and as it was
// after (or none). The values keep their stored type, so an undo writes back the very value.
//
// Rows are recorded by TEMP triggers made on the program's own connection: they fire for the
// program's changes only, and only while a step is open. Another program's writes never touch
// the history; they show up at undo time as rows that no longer match what a step left.
#include <string>
#include <vector>

namespace sorakado::history_schema {

// A table a step may change: its code in 履歴行.表, its name, its key, and its other columns.
struct Table {
    int code;
    const char* name;
    const char* key; // the key column, or rowid for a table without one
    std::vector<const char*> columns;
};

// 名前, 収入, 品目, DATA and 定期明細, in that order.
const std::vector<Table>& tables();

// The two tables of the history, made with the ledger and by the upgrade to version 3.
std::vector<std::string> createStatements();
std::vector<std::string> objectNames();

// The connection's own recorder: the open step (temp), the triggers copying rows into 履歴行
// while one is, and the work table an undo fills. Made the first time the program records or
// undoes anything on a connection; never on the ledger tool's.
std::vector<std::string> connectionStatements();
// The name of one of the connection's objects, to tell whether they are made.
inline constexpr const char* kConnectionProbe = "履歴_作業";

// The most image columns any table has: 履歴行 holds this many before and after.
inline constexpr int kImageColumns = 9;
// Before version 4 a row held four; the upgrade adds the columns the file lacks, given the
// names of those it has.
std::vector<std::string> widenStatements(const std::vector<std::string>& presentColumns);
// The columns the file's row table has: their names in the second column.
inline constexpr const char* kPresentColumns = "PRAGMA table_info(履歴行)";

} // namespace sorakado::history_schema
