#include "schema.h"

#include "history_schema.h"
#include "month_sums_schema.h"

namespace sorakado::schema {

namespace {

// The month's entries in the order they are listed, each with every column the list and the
// category totals read, so a month is one stretch of one index and never a row lookup per entry.
const char* const kMonthIndex = "DATA_年月日_明細";
const char* const kMonthIndexColumns = " ON DATA(年月日, DATAID, 品目ID, 金額, 内容)";
// Made by earlier versions; the month index covers everything it served.
const char* const kOldMonthIndex = "DATA_年月日";

const std::vector<std::pair<const char*, const char*>>& otherIndexes() {
    static const std::vector<std::pair<const char*, const char*>> i{
        {"DATA_品目ID", " ON DATA(品目ID)"},
        {"収入_年月", " ON 収入(年月)"},
        {"収入_名前ID", " ON 収入(名前ID)"},
    };
    return i;
}

// Repeating entries (recurring.h): an expense names 品目ID, an income 名前ID. 日 is 1 to 31, or 0
// for the month's last day; 月 is the month of a yearly expense. 開始 and 終了 are "yyyy/mm";
// 記入済 the last date ("yyyy/mm/dd") or month ("yyyy/mm") written, kept in the same transaction
// as what was written.
const char* const kRecurring =
    "CREATE TABLE IF NOT EXISTS 定期明細(定期ID INTEGER PRIMARY KEY AUTOINCREMENT, 品目ID INTEGER, 名前ID "
    "INTEGER, 内容 TEXT, 金額 NUMERIC, 日 INTEGER, 月 INTEGER, 開始 TEXT, 終了 TEXT, 記入済 TEXT)";

} // namespace

const std::vector<Table>& tables() {
    static const std::vector<Table> t{
        {"名前", {"名前ID", "名前"}},
        {"収入", {"名前ID", "年月", "収入"}},
        {"品目", {"品目ID", "品目"}},
        {"DATA", {"DATAID", "年月日", "品目ID", "内容", "金額"}},
    };
    return t;
}

std::vector<std::string> createStatements() {
    // AUTOINCREMENT: a deleted record's key is never handed out again, so a key in a list row
    // or in an old copy of the clipboard can never name a newer record.
    std::vector<std::string> s{
        "CREATE TABLE 名前(名前ID INTEGER PRIMARY KEY AUTOINCREMENT, 名前 TEXT)",
        "CREATE TABLE 収入(名前ID INTEGER, 年月 TEXT, 収入 NUMERIC)",
        "CREATE TABLE 品目(品目ID INTEGER PRIMARY KEY AUTOINCREMENT, 品目 TEXT)",
        "CREATE TABLE DATA(DATAID INTEGER PRIMARY KEY AUTOINCREMENT, 年月日 TEXT, 品目ID INTEGER, 内容 TEXT, "
        "金額 NUMERIC)",
        std::string("CREATE INDEX ") + kMonthIndex + kMonthIndexColumns,
    };
    for (const auto& [name, on] : otherIndexes())
        s.push_back(std::string("CREATE INDEX ") + name + on);
    for (auto& statement : month_sums::createStatements())
        s.push_back(std::move(statement));
    for (auto& statement : history_schema::createStatements())
        s.push_back(std::move(statement));
    s.push_back(kRecurring);
    return s;
}

std::vector<std::string> upgradeStatements(std::int64_t fromVersion) {
    // The old index goes first, so the new one is built in the pages it leaves free.
    std::vector<std::string> s{
        std::string("DROP INDEX IF EXISTS ") + kOldMonthIndex,
        std::string("CREATE INDEX IF NOT EXISTS ") + kMonthIndex + kMonthIndexColumns,
    };
    if (fromVersion < 2)
        for (auto& statement : month_sums::dropTriggerStatements())
            s.push_back(std::move(statement));
    for (const auto& [name, on] : otherIndexes())
        s.push_back(std::string("CREATE INDEX IF NOT EXISTS ") + name + on);
    for (auto& statement : month_sums::createStatements())
        s.push_back(std::move(statement));
    for (auto& statement : history_schema::createStatements())
        s.push_back(std::move(statement));
    s.push_back(kRecurring);
    return s;
}

std::vector<std::string> addedObjects() {
    std::vector<std::string> names{kMonthIndex};
    for (const auto& [name, on] : otherIndexes())
        names.push_back(name);
    for (auto& name : month_sums::objectNames())
        names.push_back(std::move(name));
    for (auto& name : history_schema::objectNames())
        names.push_back(std::move(name));
    names.push_back("定期明細");
    return names;
}

} // namespace sorakado::schema
