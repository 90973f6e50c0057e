#include "ledger_writes.h"

#include "history.h"
#include "history_labels.h"
#include "ledger_access.h"
#include "ledger_error.h"

namespace sorakado::writes {

namespace {

const char* const kAddMember = "INSERT INTO 名前(名前) VALUES (?1)";
const char* const kRenameMember = "UPDATE 名前 SET 名前 = ?2 WHERE 名前ID = ?1";
const char* const kDeleteMember = "DELETE FROM 名前 WHERE 名前ID = ?1";
const char* const kDeleteMemberIncomes = "DELETE FROM 収入 WHERE 名前ID = ?1";
const char* const kDeleteMemberRecurring = "DELETE FROM 定期明細 WHERE 名前ID = ?1";

const char* const kMemberName = "SELECT 名前 FROM 名前 WHERE 名前ID = ?1";
const char* const kMonthIncomeRows =
    "SELECT rowid, 収入 FROM 収入 WHERE 名前ID = ?1 AND 年月 = ?2 ORDER BY rowid";
const char* const kAddIncome = "INSERT INTO 収入(名前ID, 年月, 収入) VALUES (?1, ?2, ?3)";
const char* const kChangeIncome = "UPDATE 収入 SET 収入 = ?2 WHERE rowid = ?1";
const char* const kDeleteIncomeRow = "DELETE FROM 収入 WHERE rowid = ?1";

const char* const kAddCategory = "INSERT INTO 品目(品目) VALUES (?1)";
const char* const kRenameCategory = "UPDATE 品目 SET 品目 = ?2 WHERE 品目ID = ?1";
const char* const kCategoryExists = "SELECT 品目 FROM 品目 WHERE 品目ID = ?1";
const char* const kDeleteCategory = "DELETE FROM 品目 WHERE 品目ID = ?1";
const char* const kDeleteCategoryEntries = "DELETE FROM DATA WHERE 品目ID = ?1";
const char* const kDeleteCategoryRecurring = "DELETE FROM 定期明細 WHERE 品目ID = ?1";

const char* const kAddEntry = "INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES (?1, ?2, ?3, ?4)";
const char* const kChangeEntry =
    "UPDATE DATA SET 年月日 = ?2, 品目ID = ?3, 内容 = ?4, 金額 = ?5 WHERE DATAID = ?1";
const char* const kDeleteEntry = "DELETE FROM DATA WHERE DATAID = ?1";
const char* const kEntryCategory = "SELECT 品目ID FROM DATA WHERE DATAID = ?1";
const char* const kCountMemberIncomes = "SELECT count(*) FROM 収入 WHERE 名前ID = ?1";
const char* const kCountCategoryEntries = "SELECT count(*) FROM DATA WHERE 品目ID = ?1";
const char* const kEntryShown =
    "SELECT DATA.年月日, 品目.品目, DATA.金額 FROM DATA LEFT JOIN 品目 ON 品目.品目ID = DATA.品目ID "
    "WHERE DATA.DATAID = ?1";

const char* const kMemberGone = "選択された名前は台帳にありません。一覧を更新してからやり直して下さい。";
const char* const kCategoryGone = "選択された品目は台帳にありません。一覧を更新してからやり直して下さい。";
const char* const kEntryGone = "選択された明細は台帳にありません。一覧を更新してからやり直して下さい。";

[[noreturn]] void gone(const char* what) {
    throw LedgerError(LedgerError::Kind::Failed, what);
}

// The name of the member (category) with key: nullopt when there is none, an empty optional
// inside for a Null name.
std::optional<std::optional<std::string>> nameOf(Ledger& ledger, const char* sql, std::int64_t key,
                                                 const char* operation) {
    auto s = LedgerAccess::prepare(ledger, sql, operation);
    s.bind(1, key);
    if (!s.step())
        return std::nullopt;
    return s.text(0);
}

namespace labels = history::labels;

// An amount for a step's text only: one that is no amount (only another tool stores such a
// value) is left out of the text rather than refusing the change.
std::optional<Amount> labelAmount(const Statement& s, int column) {
    try {
        return s.amount(column);
    } catch (const LedgerError&) {
        return std::nullopt;
    }
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
    std::int64_t key = 0;
    history::recordStep(ledger, labels::member(labels::kMemberAdded, name), [&] {
        LedgerAccess::prepare(ledger, kAddMember, "名前の登録").bind(1, std::string_view(name)).run();
        key = LedgerAccess::lastInsertKey(ledger);
    });
    return key;
}

void renameMember(Ledger& ledger, std::int64_t memberKey, const std::string& name) {
    history::Recorder step(ledger, {});
    const auto before = nameOf(ledger, kMemberName, memberKey, "名前の確認");
    auto s = LedgerAccess::prepare(ledger, kRenameMember, "名前の変更");
    s.bind(1, memberKey).bind(2, std::string_view(name));
    runOnOne(s, ledger, kMemberGone);
    step.setLabel(labels::memberRenamed(before.value_or(std::nullopt), name));
    step.commit();
}

void deleteMember(Ledger& ledger, std::int64_t memberKey) {
    history::Recorder step(ledger, {});
    const auto name = nameOf(ledger, kMemberName, memberKey, "名前の確認");
    auto member = LedgerAccess::prepare(ledger, kDeleteMember, "名前の削除");
    member.bind(1, memberKey);
    runOnOne(member, ledger, kMemberGone);
    LedgerAccess::prepare(ledger, kDeleteMemberIncomes, "収入の削除").bind(1, memberKey).run();
    const int incomes = changedRows(ledger);
    // A repeating income of a member who is gone would write incomes nobody can see.
    LedgerAccess::prepare(ledger, kDeleteMemberRecurring, "定期明細の削除").bind(1, memberKey).run();
    step.setLabel(labels::memberDeleted(name.value_or(std::nullopt), incomes));
    step.commit();
}

IncomeWrite setMonthIncome(Ledger& ledger, std::int64_t memberKey, const std::string& monthKey,
                           Amount amount) {
    IncomeWrite done = IncomeWrite::Added;
    history::Recorder step(ledger, {});
    const auto name = nameOf(ledger, kMemberName, memberKey, "名前の確認");
    if (!name)
        gone(kMemberGone);

    std::vector<std::int64_t> rows;
    std::optional<Amount> first;
    {
        auto s = LedgerAccess::prepare(ledger, kMonthIncomeRows, "収入の確認");
        s.bind(1, memberKey).bind(2, std::string_view(monthKey));
        while (s.step()) {
            if (rows.empty())
                first = labelAmount(s, 1);
            rows.push_back(s.int64(0));
        }
    }
    if (rows.empty()) {
        auto add = LedgerAccess::prepare(ledger, kAddIncome, "収入の登録");
        add.bind(1, memberKey).bind(2, std::string_view(monthKey)).bind(3, amount);
        add.run();
        step.setLabel(labels::income(labels::kIncomeAdded, monthKey, *name, amount));
        step.commit();
        return IncomeWrite::Added;
    }

    std::size_t firstToDelete = 1;
    if (amount.sign() == 0) {
        firstToDelete = 0;
        done = IncomeWrite::Removed;
        step.setLabel(labels::income(labels::kIncomeRemoved, monthKey, *name, first));
    } else {
        LedgerAccess::prepare(ledger, kChangeIncome, "収入の変更")
            .bind(1, rows.front())
            .bind(2, amount)
            .run();
        done = IncomeWrite::Changed;
        step.setLabel(labels::income(labels::kIncomeChanged, monthKey, *name, amount));
    }
    auto remove = LedgerAccess::prepare(ledger, kDeleteIncomeRow, "収入の削除");
    for (std::size_t i = firstToDelete; i < rows.size(); ++i) {
        remove.reset();
        remove.bind(1, rows[i]).run();
    }
    step.commit();
    return done;
}

std::int64_t addCategory(Ledger& ledger, const std::string& name) {
    std::int64_t key = 0;
    history::recordStep(ledger, labels::category(labels::kCategoryAdded, name), [&] {
        LedgerAccess::prepare(ledger, kAddCategory, "品目の登録").bind(1, std::string_view(name)).run();
        key = LedgerAccess::lastInsertKey(ledger);
    });
    return key;
}

void renameCategory(Ledger& ledger, std::int64_t categoryKey, const std::string& name) {
    history::Recorder step(ledger, {});
    const auto before = nameOf(ledger, kCategoryExists, categoryKey, "品目の確認");
    auto s = LedgerAccess::prepare(ledger, kRenameCategory, "品目の変更");
    s.bind(1, categoryKey).bind(2, std::string_view(name));
    runOnOne(s, ledger, kCategoryGone);
    step.setLabel(labels::categoryRenamed(before.value_or(std::nullopt), name));
    step.commit();
}

void deleteCategory(Ledger& ledger, std::int64_t categoryKey) {
    history::Recorder step(ledger, {});
    const auto name = nameOf(ledger, kCategoryExists, categoryKey, "品目の確認");
    auto category = LedgerAccess::prepare(ledger, kDeleteCategory, "品目の削除");
    category.bind(1, categoryKey);
    runOnOne(category, ledger, kCategoryGone);
    LedgerAccess::prepare(ledger, kDeleteCategoryEntries, "明細の削除").bind(1, categoryKey).run();
    const int entries = changedRows(ledger);
    LedgerAccess::prepare(ledger, kDeleteCategoryRecurring, "定期明細の削除").bind(1, categoryKey).run();
    step.setLabel(labels::categoryDeleted(name.value_or(std::nullopt), entries));
    step.commit();
}

namespace {

void bindEntry(Statement& s, int first, const EntryValues& v) {
    s.bind(first, std::string_view(v.date))
        .bind(first + 1, v.categoryKey)
        .bind(first + 2, std::string_view(v.description))
        .bind(first + 3, v.amount);
}

// The name of the category an entry is to be filed under; refused when it is not there.
std::optional<std::string> categoryFor(Ledger& ledger, const EntryValues& values) {
    const auto name = nameOf(ledger, kCategoryExists, values.categoryKey, "品目の確認");
    if (!name)
        gone(kCategoryGone);
    return *name;
}

} // namespace

std::int64_t addEntry(Ledger& ledger, const EntryValues& values) {
    history::Recorder step(ledger, {});
    const auto category = categoryFor(ledger, values);
    auto s = LedgerAccess::prepare(ledger, kAddEntry, "明細の登録");
    bindEntry(s, 1, values);
    s.run();
    const std::int64_t key = LedgerAccess::lastInsertKey(ledger);
    step.setLabel(labels::entry(labels::kEntryAdded, values.date, category, values.amount));
    step.commit();
    return key;
}

void changeEntry(Ledger& ledger, std::int64_t entryKey, const EntryValues& values) {
    history::Recorder step(ledger, {});
    const auto category = categoryFor(ledger, values);
    auto s = LedgerAccess::prepare(ledger, kChangeEntry, "明細の変更");
    s.bind(1, entryKey);
    bindEntry(s, 2, values);
    runOnOne(s, ledger, kEntryGone);
    step.setLabel(labels::entry(labels::kEntryChanged, values.date, category, values.amount));
    step.commit();
}

void deleteEntry(Ledger& ledger, std::int64_t entryKey) {
    history::Recorder step(ledger, {});
    std::string label;
    {
        auto shown = LedgerAccess::prepare(ledger, kEntryShown, "明細の読み込み");
        shown.bind(1, entryKey);
        if (shown.step())
            label = labels::entry(labels::kEntryDeleted, shown.text(0), shown.text(1), labelAmount(shown, 2));
    }
    auto s = LedgerAccess::prepare(ledger, kDeleteEntry, "明細の削除");
    s.bind(1, entryKey);
    runOnOne(s, ledger, kEntryGone);
    step.setLabel(std::move(label));
    step.commit();
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
