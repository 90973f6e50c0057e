#include "ledger_writes.h"

#include "ledger_access.h"
#include "ledger_error.h"

namespace sorakado::writes {

namespace {

const char* const kAddMember = "INSERT INTO 名前(名前) VALUES (?1)";
const char* const kRenameMember = "UPDATE 名前 SET 名前 = ?2 WHERE 名前ID = ?1";
const char* const kMemberExists = "SELECT 1 FROM 名前 WHERE 名前ID = ?1";
const char* const kDeleteMember = "DELETE FROM 名前 WHERE 名前ID = ?1";
const char* const kDeleteMemberIncomes = "DELETE FROM 収入 WHERE 名前ID = ?1";

const char* const kMonthIncomeRows = "SELECT rowid FROM 収入 WHERE 名前ID = ?1 AND 年月 = ?2 ORDER BY rowid";
const char* const kAddIncome = "INSERT INTO 収入(名前ID, 年月, 収入) VALUES (?1, ?2, ?3)";
const char* const kChangeIncome = "UPDATE 収入 SET 収入 = ?2 WHERE rowid = ?1";
const char* const kDeleteIncomeRow = "DELETE FROM 収入 WHERE rowid = ?1";

const char* const kAddCategory = "INSERT INTO 品目(品目) VALUES (?1)";
const char* const kRenameCategory = "UPDATE 品目 SET 品目 = ?2 WHERE 品目ID = ?1";
const char* const kCategoryExists = "SELECT 1 FROM 品目 WHERE 品目ID = ?1";
const char* const kDeleteCategory = "DELETE FROM 品目 WHERE 品目ID = ?1";
const char* const kDeleteCategoryEntries = "DELETE FROM DATA WHERE 品目ID = ?1";

const char* const kAddEntry = "INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES (?1, ?2, ?3, ?4)";
const char* const kChangeEntry =
    "UPDATE DATA SET 年月日 = ?2, 品目ID = ?3, 内容 = ?4, 金額 = ?5 WHERE DATAID = ?1";
const char* const kDeleteEntry = "DELETE FROM DATA WHERE DATAID = ?1";
const char* const kEntryCategory = "SELECT 品目ID FROM DATA WHERE DATAID = ?1";
const char* const kCountMemberIncomes = "SELECT count(*) FROM 収入 WHERE 名前ID = ?1";
const char* const kCountCategoryEntries = "SELECT count(*) FROM DATA WHERE 品目ID = ?1";

const char* const kMemberGone = "選択された名前は台帳にありません。一覧を更新してからやり直して下さい。";
const char* const kCategoryGone = "選択された品目は台帳にありません。一覧を更新してからやり直して下さい。";
const char* const kEntryGone = "選択された明細は台帳にありません。一覧を更新してからやり直して下さい。";

[[noreturn]] void gone(const char* what) {
    throw LedgerError(LedgerError::Kind::Failed, what);
}

bool exists(Ledger& ledger, const char* sql, std::int64_t key, const char* operation) {
    auto s = LedgerAccess::prepare(ledger, sql, operation);
    s.bind(1, key);
    return s.step();
}

// Rows the last statement changed on this connection.
int changedRows(Ledger& ledger) {
    return LedgerAccess::changedRows(ledger);
}

// Runs a one-row statement keyed by ?1 and refuses the change when no row had that key. The
// statement changes nothing then, so there is nothing to undo.
void runOnOne(Statement& s, Ledger& ledger, const char* goneText) {
    s.run();
    if (changedRows(ledger) == 0)
        gone(goneText);
}

} // namespace

std::int64_t addMember(Ledger& ledger, const std::string& name) {
    LedgerAccess::prepare(ledger, kAddMember, "名前の登録").bind(1, std::string_view(name)).run();
    return LedgerAccess::lastInsertKey(ledger);
}

void renameMember(Ledger& ledger, std::int64_t memberKey, const std::string& name) {
    auto s = LedgerAccess::prepare(ledger, kRenameMember, "名前の変更");
    s.bind(1, memberKey).bind(2, std::string_view(name));
    runOnOne(s, ledger, kMemberGone);
}

void deleteMember(Ledger& ledger, std::int64_t memberKey) {
    ledger.inTransaction([&] {
        auto member = LedgerAccess::prepare(ledger, kDeleteMember, "名前の削除");
        member.bind(1, memberKey);
        runOnOne(member, ledger, kMemberGone);
        LedgerAccess::prepare(ledger, kDeleteMemberIncomes, "収入の削除").bind(1, memberKey).run();
    });
}

IncomeWrite setMonthIncome(Ledger& ledger, std::int64_t memberKey, const std::string& monthKey,
                           Amount amount) {
    IncomeWrite done = IncomeWrite::Added;
    ledger.inTransaction([&] {
        if (!exists(ledger, kMemberExists, memberKey, "名前の確認"))
            gone(kMemberGone);

        std::vector<std::int64_t> rows;
        {
            auto s = LedgerAccess::prepare(ledger, kMonthIncomeRows, "収入の確認");
            s.bind(1, memberKey).bind(2, std::string_view(monthKey));
            while (s.step())
                rows.push_back(s.int64(0));
        }
        if (rows.empty()) {
            auto add = LedgerAccess::prepare(ledger, kAddIncome, "収入の登録");
            add.bind(1, memberKey).bind(2, std::string_view(monthKey)).bind(3, amount);
            add.run();
            done = IncomeWrite::Added;
            return;
        }

        std::size_t firstToDelete = 1;
        if (amount.sign() == 0) {
            firstToDelete = 0;
            done = IncomeWrite::Removed;
        } else {
            LedgerAccess::prepare(ledger, kChangeIncome, "収入の変更")
                .bind(1, rows.front())
                .bind(2, amount)
                .run();
            done = IncomeWrite::Changed;
        }
        auto remove = LedgerAccess::prepare(ledger, kDeleteIncomeRow, "収入の削除");
        for (std::size_t i = firstToDelete; i < rows.size(); ++i) {
            remove.reset();
            remove.bind(1, rows[i]).run();
        }
    });
    return done;
}

std::int64_t addCategory(Ledger& ledger, const std::string& name) {
    LedgerAccess::prepare(ledger, kAddCategory, "品目の登録").bind(1, std::string_view(name)).run();
    return LedgerAccess::lastInsertKey(ledger);
}

void renameCategory(Ledger& ledger, std::int64_t categoryKey, const std::string& name) {
    auto s = LedgerAccess::prepare(ledger, kRenameCategory, "品目の変更");
    s.bind(1, categoryKey).bind(2, std::string_view(name));
    runOnOne(s, ledger, kCategoryGone);
}

void deleteCategory(Ledger& ledger, std::int64_t categoryKey) {
    ledger.inTransaction([&] {
        auto category = LedgerAccess::prepare(ledger, kDeleteCategory, "品目の削除");
        category.bind(1, categoryKey);
        runOnOne(category, ledger, kCategoryGone);
        LedgerAccess::prepare(ledger, kDeleteCategoryEntries, "明細の削除").bind(1, categoryKey).run();
    });
}

namespace {

void bindEntry(Statement& s, int first, const EntryValues& v) {
    s.bind(first, std::string_view(v.date))
        .bind(first + 1, v.categoryKey)
        .bind(first + 2, std::string_view(v.description))
        .bind(first + 3, v.amount);
}

} // namespace

std::int64_t addEntry(Ledger& ledger, const EntryValues& values) {
    std::int64_t key = 0;
    ledger.inTransaction([&] {
        if (!exists(ledger, kCategoryExists, values.categoryKey, "品目の確認"))
            gone(kCategoryGone);
        auto s = LedgerAccess::prepare(ledger, kAddEntry, "明細の登録");
        bindEntry(s, 1, values);
        s.run();
        key = LedgerAccess::lastInsertKey(ledger);
    });
    return key;
}

void changeEntry(Ledger& ledger, std::int64_t entryKey, const EntryValues& values) {
    ledger.inTransaction([&] {
        if (!exists(ledger, kCategoryExists, values.categoryKey, "品目の確認"))
            gone(kCategoryGone);
        auto s = LedgerAccess::prepare(ledger, kChangeEntry, "明細の変更");
        s.bind(1, entryKey);
        bindEntry(s, 2, values);
        runOnOne(s, ledger, kEntryGone);
    });
}

void deleteEntry(Ledger& ledger, std::int64_t entryKey) {
    auto s = LedgerAccess::prepare(ledger, kDeleteEntry, "明細の削除");
    s.bind(1, entryKey);
    runOnOne(s, ledger, kEntryGone);
}

std::optional<std::int64_t> entryCategory(Ledger& ledger, std::int64_t entryKey) {
    auto s = LedgerAccess::prepare(ledger, kEntryCategory, "明細の読み込み");
    s.bind(1, entryKey);
    if (!s.step() || s.isNull(0))
        return std::nullopt;
    return s.int64(0);
}

std::int64_t memberIncomeCount(Ledger& ledger, std::int64_t memberKey) {
    auto s = LedgerAccess::prepare(ledger, kCountMemberIncomes, "収入の数え上げ");
    s.bind(1, memberKey);
    return s.step() ? s.int64(0) : 0;
}

std::int64_t categoryEntryCount(Ledger& ledger, std::int64_t categoryKey) {
    auto s = LedgerAccess::prepare(ledger, kCountCategoryEntries, "明細の数え上げ");
    s.bind(1, categoryKey);
    return s.step() ? s.int64(0) : 0;
}

} // namespace sorakado::writes
