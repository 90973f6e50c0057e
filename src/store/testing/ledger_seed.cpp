#include "ledger_seed.h"

#include "store/ledger_access.h"
#include "store/statement.h"

#include <functional>

namespace sorakado::testing {

namespace {

// Table names come from the tests themselves, never from a user.
void run(Ledger& l, const std::string& sql) {
    LedgerAccess::prepare(l, sql, "test").run();
}

Statement& bindAmount(Statement& s, int index, const std::optional<Amount>& amount) {
    return amount ? s.bind(index, *amount) : s.bindNull(index);
}

} // namespace

std::int64_t addMember(Ledger& l, const std::optional<std::string>& name) {
    LedgerAccess::prepare(l, "INSERT INTO 名前(名前) VALUES (?1)", "test").bindOptional(1, name).run();
    return LedgerAccess::lastInsertKey(l);
}

std::int64_t addCategory(Ledger& l, const std::optional<std::string>& name) {
    LedgerAccess::prepare(l, "INSERT INTO 品目(品目) VALUES (?1)", "test").bindOptional(1, name).run();
    return LedgerAccess::lastInsertKey(l);
}

std::int64_t addEntry(Ledger& l, const std::string& date, std::int64_t category,
                      const std::optional<std::string>& description, std::optional<Amount> amount) {
    auto s = LedgerAccess::prepare(l, "INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES (?1, ?2, ?3, ?4)",
                                   "test");
    s.bind(1, date).bind(2, category).bindOptional(3, description);
    bindAmount(s, 4, amount).run();
    return LedgerAccess::lastInsertKey(l);
}

void addIncome(Ledger& l, std::int64_t member, const std::string& monthKey, std::optional<Amount> amount) {
    auto s = LedgerAccess::prepare(l, "INSERT INTO 収入(名前ID, 年月, 収入) VALUES (?1, ?2, ?3)", "test");
    s.bind(1, member).bind(2, monthKey);
    bindAmount(s, 3, amount).run();
}

void addMemberWithKey(Ledger& l, std::int64_t key, const std::optional<std::string>& name) {
    LedgerAccess::prepare(l, "INSERT INTO 名前(名前ID, 名前) VALUES (?1, ?2)", "test")
        .bind(1, key)
        .bindOptional(2, name)
        .run();
}

void addEntryWithKey(Ledger& l, std::int64_t key, const std::string& date, std::int64_t category,
                     const std::optional<std::string>& description, std::optional<Amount> amount) {
    auto s = LedgerAccess::prepare(
        l, "INSERT INTO DATA(DATAID, 年月日, 品目ID, 内容, 金額) VALUES (?1, ?2, ?3, ?4, ?5)", "test");
    s.bind(1, key).bind(2, date).bind(3, category).bindOptional(4, description);
    bindAmount(s, 5, amount).run();
}

void addIncomeStoredAs(Ledger& l, std::int64_t member, const std::string& monthKey,
                       const std::string& sqlAmount) {
    LedgerAccess::prepare(l, "INSERT INTO 収入(名前ID, 年月, 収入) VALUES (?1, ?2, " + sqlAmount + ")",
                          "test")
        .bind(1, member)
        .bind(2, monthKey)
        .run();
}

std::int64_t addEntryStoredAs(Ledger& l, const std::string& date, std::int64_t category,
                              const std::string& sqlAmount) {
    LedgerAccess::prepare(l, "INSERT INTO DATA(年月日, 品目ID, 金額) VALUES (?1, ?2, " + sqlAmount + ")",
                          "test")
        .bind(1, date)
        .bind(2, category)
        .run();
    return LedgerAccess::lastInsertKey(l);
}

void deleteMemberRow(Ledger& l, std::int64_t key) {
    LedgerAccess::prepare(l, "DELETE FROM 名前 WHERE 名前ID = ?1", "test").bind(1, key).run();
}

void deleteCategoryRow(Ledger& l, std::int64_t key) {
    LedgerAccess::prepare(l, "DELETE FROM 品目 WHERE 品目ID = ?1", "test").bind(1, key).run();
}

void deleteAllRows(Ledger& l, const std::string& table) {
    run(l, "DELETE FROM " + table);
}

void dropTable(Ledger& l, const std::string& table) {
    run(l, "DROP TABLE " + table);
}

void failDeletesFrom(Ledger& l, const std::string& table) {
    run(l, "CREATE TEMP TRIGGER refuse_" + std::to_string(std::hash<std::string>{}(table)) +
               " BEFORE DELETE ON " + table + " BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END");
}

void fillDisk(Ledger& l) {
    auto pages = LedgerAccess::prepare(l, "PRAGMA page_count", "test");
    pages.step();
    run(l, "PRAGMA max_page_count = " + std::to_string(pages.int64(0)));
}

void refuseWrites(Ledger& l) {
    run(l, "PRAGMA query_only = ON");
}

} // namespace sorakado::testing
