#include "ledger_import_writer.h"

#include "ledger_access.h"
#include "ledger_error.h"

namespace sorakado {

namespace {

const char* const kInsertMember = "INSERT INTO 名前(名前ID, 名前) VALUES (?1, ?2)";
const char* const kInsertIncome = "INSERT INTO 収入(名前ID, 年月, 収入) VALUES (?1, ?2, ?3)";
const char* const kInsertCategory = "INSERT INTO 品目(品目ID, 品目) VALUES (?1, ?2)";
const char* const kInsertEntry =
    "INSERT INTO DATA(DATAID, 年月日, 品目ID, 内容, 金額) VALUES (?1, ?2, ?3, ?4, ?5)";

const char* const kAllMembers = "SELECT 名前ID, 名前 FROM 名前 ORDER BY 名前ID";
const char* const kAllIncomes = "SELECT 名前ID, 年月, 収入 FROM 収入 ORDER BY rowid";
const char* const kAllCategories = "SELECT 品目ID, 品目 FROM 品目 ORDER BY 品目ID";
const char* const kAllEntries = "SELECT DATAID, 年月日, 品目ID, 内容, 金額 FROM DATA ORDER BY DATAID";

const char* const kCounter = "SELECT seq FROM sqlite_sequence WHERE name = ?1";
const char* const kIntegrity = "PRAGMA integrity_check";

Statement& bindKey(Statement& s, int index, const std::optional<std::int64_t>& key) {
    return key ? s.bind(index, *key) : s.bindNull(index);
}

Statement& bindAmount(Statement& s, int index, const std::optional<Amount>& amount) {
    return amount ? s.bind(index, *amount) : s.bindNull(index);
}

std::optional<std::int64_t> optionalKey(const Statement& s, int column) {
    if (s.isNull(column))
        return std::nullopt;
    return s.int64(column);
}

} // namespace

void writeLedgerRows(Ledger& ledger, const LedgerRows& rows) {
    ledger.inTransaction([&] {
        auto member = LedgerAccess::prepare(ledger, kInsertMember, "名前の取り込み");
        for (const auto& m : rows.members) {
            member.reset();
            member.bind(1, m.key).bindOptional(2, m.name).run();
        }
        auto income = LedgerAccess::prepare(ledger, kInsertIncome, "収入の取り込み");
        for (const auto& i : rows.incomes) {
            income.reset();
            bindKey(income, 1, i.memberKey).bindOptional(2, i.monthKey);
            bindAmount(income, 3, i.amount).run();
        }
        auto category = LedgerAccess::prepare(ledger, kInsertCategory, "品目の取り込み");
        for (const auto& c : rows.categories) {
            category.reset();
            category.bind(1, c.key).bindOptional(2, c.name).run();
        }
        auto entry = LedgerAccess::prepare(ledger, kInsertEntry, "明細の取り込み");
        for (const auto& e : rows.entries) {
            entry.reset();
            entry.bind(1, e.key).bindOptional(2, e.date);
            bindKey(entry, 3, e.categoryKey).bindOptional(4, e.description);
            bindAmount(entry, 5, e.amount).run();
        }
    });
}

LedgerRows readLedgerRows(Ledger& ledger) {
    LedgerRows out;
    auto members = LedgerAccess::prepare(ledger, kAllMembers, "名前の読み込み");
    while (members.step())
        out.members.push_back({members.int64(0), members.text(1)});
    auto incomes = LedgerAccess::prepare(ledger, kAllIncomes, "収入の読み込み");
    while (incomes.step())
        out.incomes.push_back({optionalKey(incomes, 0), incomes.text(1), incomes.amount(2)});
    auto categories = LedgerAccess::prepare(ledger, kAllCategories, "品目の読み込み");
    while (categories.step())
        out.categories.push_back({categories.int64(0), categories.text(1)});
    auto entries = LedgerAccess::prepare(ledger, kAllEntries, "明細の読み込み");
    while (entries.step())
        out.entries.push_back(
            {entries.int64(0), entries.text(1), optionalKey(entries, 2), entries.text(3), entries.amount(4)});
    return out;
}

std::optional<std::int64_t> autoincrementCounter(Ledger& ledger, const std::string& table) {
    auto s = LedgerAccess::prepare(ledger, kCounter, "採番の確認");
    s.bind(1, table);
    if (!s.step())
        return std::nullopt;
    return s.int64(0);
}

std::string integrityProblems(Ledger& ledger) {
    auto s = LedgerAccess::prepare(ledger, kIntegrity, "整合性の確認");
    std::string problems;
    while (s.step()) {
        std::string line = s.text(0).value_or("");
        if (line == "ok")
            continue;
        if (!problems.empty())
            problems += "\n";
        problems += line;
    }
    return problems;
}

} // namespace sorakado
