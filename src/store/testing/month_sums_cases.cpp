#include "month_sums_cases.h"

#include "other_program.h"
#include "store/ledger_access.h"
#include "store/month_key.h"
#include "store/month_sums_schema.h"
#include "store/statement.h"

namespace sorakado::testing {

namespace {

void run(Ledger& l, const std::string& sql) {
    LedgerAccess::prepare(l, sql, "test").run();
}

// The sums as the monthly view always read them: whole yen as integers, other amounts as
// rounded ten-thousandths, nothing when no amount was summed.
MonthSums sumsFromRows(Ledger& l, const std::string& yearText, const std::string& column,
                       const std::string& where, bool prefixMatch) {
    const std::string c = column;
    auto s =
        LedgerAccess::prepare(l,
                              "SELECT sum(CASE WHEN typeof(" + c + ")='integer' THEN " + c +
                                  " END), sum(CASE WHEN typeof(" + c + ") NOT IN ('integer','null') THEN " +
                                  month_sums::fractionPart(c) + " END), count(" + c + ") " + where,
                              "test");
    MonthSums out;
    for (int month = 1; month <= 12; ++month) {
        const std::string key = MonthKey::keyText(yearText, month);
        s.reset();
        s.bind(1, key);
        if (prefixMatch)
            s.bind(2, prefixUpperBound(key));
        if (s.step() && s.int64(2) > 0)
            out[month - 1] = Amount::fromYen(s.int64(0)) + Amount::fromTenThousandths(s.int64(1));
    }
    return out;
}

} // namespace

void seedAwkwardRows(Ledger& l) {
    run(l, "INSERT INTO 名前(名前ID, 名前) VALUES (1, '太郎'), (2, '花子')");
    run(l, "INSERT INTO 収入(名前ID, 年月, 収入) VALUES "
           "(1, '2006/01', 300000), (2, '2006/01', 0.1), (1, '2006/02', 0.2), (2, '2006/02', 0.1), "
           "(1, '2006/03', NULL), (1, '2006/4', 7), (1, '2006/04 ', 8), (1, '2006/04', -1500), "
           "(99, '2006/04', 42), (2, '2006/05', 'abc'), (1, NULL, 5), (1, X'323030362F3036', 9), "
           "(1, '2006/12', 999999999999999), (2, '2006/12', 123.4567), (1, '2007/01', 1), "
           "(1, '200/01', 11), (1, '20060/01', 13)");
    run(l, "INSERT INTO 品目(品目ID, 品目) VALUES (1, '食費'), (2, '娯楽')");
    run(l, "INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES "
           "('2006/01/05', 1, 'a', 1200), ('2006/01/31', 2, 'b', 0.1), ('2006/01/31', 2, 'c', 0.2), "
           "('2006/02/01', 1, 'd', NULL), ('2006/03/03', 7, '品目なし', 500), ('2006/03/04', NULL, 'e', 3), "
           "('2006/04', 1, '日なし', 4), ('2006/4/01', 1, '一桁', 1000), ('2006/04x', 1, 'f', 6), "
           "('2006/05/01', 1, 'g', 'abc'), ('2006/06/01', 1, 'h', -250.5), ('2006', 1, '短い', 8), "
           "(X'323030362F30372F3031', 1, 'BLOB', 9), ('2006/０8/01', 1, '全角', 10), (NULL, 1, 'i', 12), "
           "('2006/12/31', 1, 'j', 99999999999.9999), ('2006/12/31', 1, 'k', 99999999999.9999), "
           "('2007/01/01', 1, 'l', 1), ('200/01/01', 1, 'm', 2), ('20060/01/01', 1, 'n', 3)");
}

std::int64_t summedTenThousandths(Ledger& l, double stored) {
    auto s = LedgerAccess::prepare(l, "SELECT " + month_sums::fractionPart("?1"), "test");
    s.bindReal(1, stored);
    s.step();
    return s.int64(0);
}

MonthSums incomeSumsFromRows(Ledger& l, const std::string& yearText) {
    return sumsFromRows(l, yearText, "収入", "FROM 収入 WHERE 年月 = ?1", false);
}

MonthSums expenseSumsFromRows(Ledger& l, const std::string& yearText) {
    return sumsFromRows(l, yearText, "金額", "FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?2", true);
}

void makeEarlierVersion(Ledger& l) {
    l.inTransaction([&] {
        for (const char* table : {"収入月計", "出費月計"}) {
            for (const char* what : {"_追加", "_削除", "_変更前", "_変更後"})
                run(l, std::string("DROP TRIGGER ") + table + what);
            run(l, std::string("DROP TABLE ") + table);
        }
        run(l, "DROP INDEX DATA_年月日_明細");
        run(l, "CREATE INDEX DATA_年月日 ON DATA(年月日, 品目ID, 金額)");
        run(l, "PRAGMA user_version = 0");
    });
}

void makeVersionOneCount(Ledger& l) {
    std::vector<std::pair<std::string, std::string>> triggers;
    {
        auto s = LedgerAccess::prepare(
            l, "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND tbl_name IN ('収入', 'DATA')",
            "test");
        while (s.step())
            triggers.emplace_back(s.text(0).value_or(""), s.text(1).value_or(""));
    }
    l.inTransaction([&] {
        for (auto& [name, sql] : triggers) {
            for (const char* row : {"new", "old"})
                for (const char* column : {"収入", "金額"}) {
                    const std::string value = std::string(row) + "." + column;
                    const std::string today = month_sums::fractionPart(value);
                    const std::string then =
                        "CASE WHEN typeof(" + value + ") IN ('integer', 'null') THEN 0 WHEN abs(" + value +
                        ") < 9.0e14 THEN CAST(round(" + value + " * 10000) AS INTEGER) ELSE 0.5 END";
                    for (auto at = sql.find(today); at != std::string::npos; at = sql.find(today, at))
                        sql.replace(at, today.size(), then);
                }
            run(l, "DROP TRIGGER " + name);
            run(l, sql);
        }
        run(l, "PRAGMA user_version = 1");
    });
}

void dropTrigger(Ledger& l, const std::string& name) {
    run(l, "DROP TRIGGER " + name);
}

std::int64_t schemaVersion(Ledger& l) {
    auto s = LedgerAccess::prepare(l, "PRAGMA user_version", "test");
    return s.step() ? s.int64(0) : -1;
}

std::vector<std::string> schemaObjects(Ledger& l, const std::string& prefix) {
    auto s = LedgerAccess::prepare(l,
                                   "SELECT name FROM sqlite_master WHERE substr(name, 1, length(?1)) = ?1 "
                                   "ORDER BY name",
                                   "test");
    s.bind(1, prefix);
    std::vector<std::string> out;
    while (s.step())
        out.push_back(s.text(0).value_or(""));
    return out;
}

void replaceMonthEntries(Ledger& l, const std::string& monthKey, const std::string& date, std::int64_t yen) {
    auto s = LedgerAccess::prepare(
        l,
        "INSERT OR REPLACE INTO DATA(DATAID, 年月日, 品目ID, 内容, 金額) "
        "SELECT DATAID, ?2, 品目ID, 内容, ?3 FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?4",
        "test");
    s.bind(1, monthKey).bind(2, date).bind(3, yen).bind(4, prefixUpperBound(monthKey)).run();
}

void deleteIncomesAbove(Ledger& l, std::int64_t yen) {
    LedgerAccess::prepare(l, "DELETE FROM 収入 WHERE 収入 > ?1", "test").bind(1, yen).run();
}

void storeMonthFigure(Ledger& l, const std::string& table, const std::string& monthKey, std::int64_t yen,
                      std::int64_t count) {
    auto s = LedgerAccess::prepare(l, "INSERT OR REPLACE INTO " + table + " VALUES (?1, ?2, 0, ?3)", "test");
    s.bind(1, monthKey).bind(2, yen).bind(3, count).run();
}

void anotherProgramWrites(const std::filesystem::path& ledger) {
    OtherProgram other(ledger);
    other.exec("INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES ('2006/07/07', 99, '他', 0.5)");
    other.exec("UPDATE DATA SET 年月日 = '2006/08' || substr(年月日, 8), 金額 = 金額 * 3 WHERE 金額 < 1");
    other.exec("UPDATE 収入 SET 年月 = '2006/09'");
    other.exec("INSERT INTO 収入(名前ID, 年月, 収入) VALUES (1, '2006/09', NULL)");
}

void anotherProgramDeletesAllRows(const std::filesystem::path& ledger) {
    OtherProgram other(ledger);
    other.exec("DELETE FROM DATA");
    other.exec("DELETE FROM 収入");
}

void anotherProgramReplacesEveryEntry(const std::filesystem::path& ledger, std::int64_t yen) {
    OtherProgram other(ledger);
    other.exec("INSERT OR REPLACE INTO DATA(DATAID, 年月日, 品目ID, 内容, 金額) "
               "SELECT DATAID, 年月日, 品目ID, 内容, " +
               std::to_string(yen) + " FROM DATA");
}

} // namespace sorakado::testing
