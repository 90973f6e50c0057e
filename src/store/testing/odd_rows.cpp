#include "odd_rows.h"

#include "store/ledger_access.h"
#include "store/statement.h"

namespace sorakado::testing {

void addIncomeWithoutMember(Ledger& l, const std::string& monthKey, std::optional<Amount> amount) {
    auto s = LedgerAccess::prepare(l, "INSERT INTO 収入(名前ID, 年月, 収入) VALUES (NULL, ?1, ?2)", "test");
    s.bind(1, monthKey);
    amount ? s.bind(2, *amount) : s.bindNull(2);
    s.run();
}

void addEntryWithoutDate(Ledger& l, std::int64_t category, std::optional<Amount> amount) {
    auto s = LedgerAccess::prepare(
        l, "INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES (NULL, ?1, '', ?2)", "test");
    s.bind(1, category);
    amount ? s.bind(2, *amount) : s.bindNull(2);
    s.run();
}

void addEntryWithCategoryKeyStoredAs(Ledger& l, const std::string& date, const std::string& sqlCategoryKey,
                                     Amount amount) {
    auto s = LedgerAccess::prepare(
        l, "INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES (?1, " + sqlCategoryKey + ", '', ?2)",
        "test");
    s.bind(1, date).bind(2, amount);
    s.run();
}

void breakAnIndex(const std::filesystem::path& ledger) {
    Ledger l = Ledger::open(ledger);
    LedgerAccess::prepare(l, "PRAGMA writable_schema = ON", "test").run();
    LedgerAccess::prepare(l,
                          "UPDATE sqlite_master SET sql = 'CREATE INDEX 収入_年月 ON 収入(収入)' "
                          "WHERE name = '収入_年月'",
                          "test")
        .run();
}

} // namespace sorakado::testing
