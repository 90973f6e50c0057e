#include "schema.h"

namespace sorakado::schema {

const std::vector<Table>& tables() {
    static const std::vector<Table> t{
        {"名前", {"名前ID", "名前"}},
        {"収入", {"名前ID", "年月", "収入"}},
        {"品目", {"品目ID", "品目"}},
        {"DATA", {"DATAID", "年月日", "品目ID", "内容", "金額"}},
    };
    return t;
}

const std::vector<const char*>& createStatements() {
    // AUTOINCREMENT: a deleted record's key is never handed out again, so a key in a list row
    // or in an old copy of the clipboard can never name a newer record.
    static const std::vector<const char*> s{
        "CREATE TABLE 名前(名前ID INTEGER PRIMARY KEY AUTOINCREMENT, 名前 TEXT)",
        "CREATE TABLE 収入(名前ID INTEGER, 年月 TEXT, 収入 NUMERIC)",
        "CREATE TABLE 品目(品目ID INTEGER PRIMARY KEY AUTOINCREMENT, 品目 TEXT)",
        "CREATE TABLE DATA(DATAID INTEGER PRIMARY KEY AUTOINCREMENT, 年月日 TEXT, 品目ID INTEGER, 内容 TEXT, "
        "金額 NUMERIC)",
        // The month's sums read the index alone: date range, category, amount.
        "CREATE INDEX DATA_年月日 ON DATA(年月日, 品目ID, 金額)",
        "CREATE INDEX DATA_品目ID ON DATA(品目ID)",
        "CREATE INDEX 収入_年月 ON 収入(年月)",
        "CREATE INDEX 収入_名前ID ON 収入(名前ID)",
    };
    return s;
}

} // namespace sorakado::schema
