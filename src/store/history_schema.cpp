#include "history_schema.h"

#include <algorithm>

namespace sorakado::history_schema {

namespace {

std::string imageColumns(const char* prefix) {
    std::string s;
    for (int i = 1; i <= kImageColumns; ++i)
        s += std::string(", ") + prefix + std::to_string(i);
    return s;
}

// The values of row (new or old) for the image columns, padded with Nulls.
std::string imageValues(const Table& t, const std::string& row) {
    std::string s;
    for (int i = 0; i < kImageColumns; ++i)
        s += ", " + (i < int(t.columns.size()) ? row + "." + t.columns[std::size_t(i)] : std::string("NULL"));
    return s;
}

std::string nulls() {
    std::string s;
    for (int i = 0; i < kImageColumns; ++i)
        s += ", NULL";
    return s;
}

// The triggers record only while the program has a step open.
const char* const kRecording = "WHEN EXISTS (SELECT 1 FROM temp.履歴_記録中)";

std::string recordRow(const Table& t, const std::string& key, const std::string& before,
                      const std::string& after) {
    return "INSERT INTO 履歴行(表, キー, 前" + imageColumns("前") + ", 後" + imageColumns("後") +
           ") VALUES (" + std::to_string(t.code) + ", " + key + ", " + before + ", " + after + "); ";
}

} // namespace

const std::vector<Table>& tables() {
    static const std::vector<Table> t{
        {1, "名前", "名前ID", {"名前"}},
        {2, "収入", "rowid", {"名前ID", "年月", "収入"}},
        {3, "品目", "品目ID", {"品目"}},
        {4, "DATA", "DATAID", {"年月日", "品目ID", "内容", "金額"}},
        {5, "定期明細", "定期ID", {"品目ID", "名前ID", "内容", "金額", "日", "月", "開始", "終了", "記入済"}},
    };
    return t;
}

std::vector<std::string> createStatements() {
    // The images have no declared type, so every value keeps the type it was stored with.
    return {
        "CREATE TABLE IF NOT EXISTS 履歴(手順ID INTEGER PRIMARY KEY AUTOINCREMENT, 日時 INTEGER NOT NULL, "
        "内容 TEXT NOT NULL, 取消済 INTEGER NOT NULL DEFAULT 0, 最初行 INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS 履歴行(行番 INTEGER PRIMARY KEY, 表 INTEGER NOT NULL, キー, 前 INTEGER "
        "NOT "
        "NULL" +
            imageColumns("前") + ", 後 INTEGER NOT NULL" + imageColumns("後") + ")",
    };
}

std::vector<std::string> widenStatements(const std::vector<std::string>& present) {
    std::vector<std::string> s;
    for (const char* side : {"前", "後"})
        for (int i = 1; i <= kImageColumns; ++i) {
            const std::string column = side + std::to_string(i);
            if (std::find(present.begin(), present.end(), column) == present.end())
                s.push_back("ALTER TABLE 履歴行 ADD COLUMN " + column);
        }
    return s;
}

std::vector<std::string> objectNames() {
    return {"履歴", "履歴行"};
}

std::vector<std::string> connectionStatements() {
    std::vector<std::string> s{
        "CREATE TEMP TABLE IF NOT EXISTS 履歴_記録中(手順ID INTEGER NOT NULL)",
        // One row per record a step touched: what it is now (今) and what it becomes (次).
        "CREATE TEMP TABLE IF NOT EXISTS 履歴_作業(表 INTEGER NOT NULL, キー NOT NULL, 今 INTEGER NOT NULL" +
            imageColumns("今") + ", 次 INTEGER NOT NULL" + imageColumns("次") + ", PRIMARY KEY(表, キー))",
    };
    for (const Table& t : tables()) {
        const std::string on = std::string(" ON main.") + t.name + " ";
        const std::string oldKey = std::string("old.") + t.key;
        const std::string newKey = std::string("new.") + t.key;
        const std::string prefix = std::string("CREATE TEMP TRIGGER IF NOT EXISTS 履歴_") + t.name;
        s.push_back(prefix + "_追加 AFTER INSERT" + on + kRecording + " BEGIN " +
                    recordRow(t, newKey, "0" + nulls(), "1" + imageValues(t, "new")) + "END");
        s.push_back(prefix + "_削除 AFTER DELETE" + on + kRecording + " BEGIN " +
                    recordRow(t, oldKey, "1" + imageValues(t, "old"), "0" + nulls()) + "END");
        // A change of key is the old row going and a new one coming, as an undo puts it back.
        s.push_back(prefix + "_変更 AFTER UPDATE" + on + kRecording + " AND " + oldKey + " IS " + newKey +
                    " BEGIN " +
                    recordRow(t, newKey, "1" + imageValues(t, "old"), "1" + imageValues(t, "new")) + "END");
        s.push_back(prefix + "_鍵変更 AFTER UPDATE" + on + kRecording + " AND " + oldKey + " IS NOT " +
                    newKey + " BEGIN " + recordRow(t, oldKey, "1" + imageValues(t, "old"), "0" + nulls()) +
                    recordRow(t, newKey, "0" + nulls(), "1" + imageValues(t, "new")) + "END");
    }
    return s;
}

} // namespace sorakado::history_schema
