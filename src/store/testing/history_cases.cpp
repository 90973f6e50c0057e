#include "history_cases.h"

#include "other_program.h"
#include "store/ledger_access.h"
#include "store/statement.h"

namespace sorakado::testing {

namespace {

void run(Ledger& l, const std::string& sql) {
    LedgerAccess::prepare(l, sql, "test").run();
}

std::string image(Ledger& l, const std::string& table, const std::string& key,
                  const std::vector<std::string>& columns) {
    std::string list = key;
    for (const auto& c : columns)
        list += ", typeof(" + c + "), quote(" + c + ")";
    auto s = LedgerAccess::prepare(l, "SELECT " + list + " FROM " + table + " ORDER BY " + key, "test");
    std::string out;
    while (s.step()) {
        out += table + " " + std::to_string(s.int64(0)) + ":";
        for (int c = 0; c < int(columns.size()); ++c)
            out += " " + s.text(1 + 2 * c).value_or("") + "=" + s.text(2 + 2 * c).value_or("");
        out += "\n";
    }
    return out;
}

} // namespace

std::string rowsImage(Ledger& l) {
    return image(l, "名前", "名前ID", {"名前"}) + image(l, "収入", "rowid", {"名前ID", "年月", "収入"}) +
           image(l, "品目", "品目ID", {"品目"}) +
           image(l, "DATA", "DATAID", {"年月日", "品目ID", "内容", "金額"});
}

std::int64_t historyRowCount(Ledger& l) {
    auto s = LedgerAccess::prepare(l, "SELECT count(*) FROM 履歴行", "test");
    s.step();
    return s.int64(0);
}

void ageSteps(Ledger& l, int days) {
    run(l, "UPDATE 履歴 SET 日時 = 日時 - " + std::to_string(std::int64_t(days) * 86400));
}

void makeVersionBeforeHistory(Ledger& l) {
    run(l, "DROP TABLE 履歴");
    run(l, "DROP TABLE 履歴行");
    run(l, "PRAGMA user_version = 2");
}

void setSchemaVersion(Ledger& l, int version) {
    run(l, "PRAGMA user_version = " + std::to_string(version));
}

void changeEntryUnrecorded(Ledger& l, std::int64_t entryKey, std::int64_t yen) {
    l.inTransaction([&] {
        auto s = LedgerAccess::prepare(l, "UPDATE DATA SET 金額 = ?2 WHERE DATAID = ?1", "test");
        s.bind(1, entryKey).bind(2, yen);
        s.run();
    });
}

std::int64_t entryRowBytes(Ledger& l, std::int64_t entryKey) {
    auto s = LedgerAccess::prepare(
        l,
        "SELECT coalesce(length(CAST(年月日 AS BLOB)), 0) + coalesce(length(CAST(品目ID "
        "AS BLOB)), 0) + coalesce(length(CAST(内容 AS BLOB)), 0) + 8 FROM DATA WHERE "
        "DATAID = ?1",
        "test");
    s.bind(1, entryKey);
    return s.step() ? s.int64(0) : 0;
}

void anotherProgramSetsEntryAmount(const std::filesystem::path& ledger, std::int64_t entryKey,
                                   std::int64_t yen) {
    OtherProgram(ledger).exec("UPDATE DATA SET 金額 = " + std::to_string(yen) +
                              " WHERE DATAID = " + std::to_string(entryKey));
}

void anotherProgramDeletesCategory(const std::filesystem::path& ledger, std::int64_t categoryKey) {
    OtherProgram(ledger).exec("DELETE FROM 品目 WHERE 品目ID = " + std::to_string(categoryKey));
}

void anotherProgramAddsMemberWithKey(const std::filesystem::path& ledger, std::int64_t memberKey) {
    OtherProgram(ledger).exec("INSERT INTO 名前(名前ID, 名前) VALUES (" + std::to_string(memberKey) +
                              ", '他')");
}

void anotherProgramAddsEntry(const std::filesystem::path& ledger, std::int64_t categoryKey) {
    OtherProgram(ledger).exec("INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES ('2006/12/31', " +
                              std::to_string(categoryKey) + ", '他', 1)");
}

} // namespace sorakado::testing
