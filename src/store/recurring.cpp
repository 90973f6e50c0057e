#include "recurring.h"

#include "history.h"
#include "history_labels.h"
#include "ledger_access.h"
#include "ledger_error.h"

namespace sorakado::recurring {

namespace {

const char* const kTableThere = "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '定期明細'";
const char* const kColumns = "SELECT r.定期ID, r.品目ID, r.名前ID, c.品目, m.名前, r.内容, r.金額, r.日, "
                             "r.月, r.開始, r.終了, r.記入済, "
                             "c.品目ID IS NOT NULL, m.名前ID IS NOT NULL FROM 定期明細 r LEFT JOIN 品目 c ON "
                             "c.品目ID = r.品目ID LEFT JOIN 名前 m ON m.名前ID = r.名前ID ";
const char* const kCountCategory = "SELECT count(*) FROM 定期明細 WHERE 品目ID = ?1";
const char* const kCountMember = "SELECT count(*) FROM 定期明細 WHERE 名前ID = ?1";
const char* const kCategoryName = "SELECT 品目 FROM 品目 WHERE 品目ID = ?1";
const char* const kMemberName = "SELECT 名前 FROM 名前 WHERE 名前ID = ?1";
const char* const kAdd = "INSERT INTO 定期明細(品目ID, 名前ID, 内容, 金額, 日, 月, 開始, 終了) "
                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)";
const char* const kChange = "UPDATE 定期明細 SET 品目ID = ?2, 名前ID = ?3, 内容 = ?4, 金額 = ?5, 日 = ?6, "
                            "月 = ?7, 開始 = ?8, 終了 = ?9 WHERE 定期ID = ?1";
const char* const kRemove = "DELETE FROM 定期明細 WHERE 定期ID = ?1";
const char* const kMarkPosted = "UPDATE 定期明細 SET 記入済 = ?2 WHERE 定期ID = ?1";
const char* const kAddEntry = "INSERT INTO DATA(年月日, 品目ID, 内容, 金額) VALUES (?1, ?2, ?3, ?4)";
const char* const kIncomeThere = "SELECT EXISTS (SELECT 1 FROM 収入 WHERE 名前ID = ?1 AND 年月 = ?2)";
const char* const kAddIncome = "INSERT INTO 収入(名前ID, 年月, 収入) VALUES (?1, ?2, ?3)";

const char* const kGone = "選択された定期明細は台帳にありません。一覧を更新してからやり直して下さい。";

bool tableThere(Ledger& ledger) {
    return LedgerAccess::prepare(ledger, kTableThere, "定期明細の読み込み").step();
}

// An amount only another tool could have stored (text, a number too large) is no amount here.
std::optional<Amount> readAmount(const Statement& s, int column) {
    try {
        return s.amount(column);
    } catch (const LedgerError&) {
        return std::nullopt;
    }
}

Stored readStored(const Statement& s) {
    Stored r;
    r.key = s.int64(0);
    r.categoryKey = s.integer(1);
    r.memberKey = s.integer(2);
    r.categoryName = s.text(3);
    r.memberName = s.text(4);
    r.description = s.text(5);
    r.amount = readAmount(s, 6);
    r.day = s.integer(7);
    r.yearlyMonth = s.integer(8);
    r.from = s.text(9);
    r.until = s.text(10);
    r.posted = s.text(11);
    r.categoryThere = s.int64(12) != 0;
    r.memberThere = s.int64(13) != 0;
    return r;
}

std::vector<Stored> select(Ledger& ledger, const std::string& where, std::optional<std::int64_t> key) {
    std::vector<Stored> out;
    if (!tableThere(ledger))
        return out;
    auto s = LedgerAccess::prepare(ledger, kColumns + where, "定期明細の読み込み");
    if (key)
        s.bind(1, *key);
    while (s.step())
        out.push_back(readStored(s));
    return out;
}

std::int64_t count(Ledger& ledger, const char* sql, std::int64_t key) {
    if (!tableThere(ledger))
        return 0;
    auto s = LedgerAccess::prepare(ledger, sql, "定期明細の数え上げ");
    s.bind(1, key);
    return s.step() ? s.int64(0) : 0;
}

std::optional<std::optional<std::string>> nameOf(Ledger& ledger, const char* sql, std::int64_t key) {
    auto s = LedgerAccess::prepare(ledger, sql, "定期明細の確認");
    s.bind(1, key);
    if (!s.step())
        return std::nullopt;
    return s.text(0);
}

Schedule scheduleOf(const Values& v) {
    return {v.day, v.yearlyMonth, v.from, v.until};
}

void bindValues(Statement& s, int first, const Values& v) {
    const auto optionalKey = [&](int index, std::optional<std::int64_t> key) {
        if (key)
            s.bind(index, *key);
        else
            s.bindNull(index);
    };
    optionalKey(first, v.income() ? std::nullopt : v.categoryKey);
    optionalKey(first + 1, v.memberKey);
    s.bind(first + 2, std::string_view(v.income() ? std::string() : v.description));
    s.bind(first + 3, v.amount);
    optionalKey(first + 4, v.income() ? std::nullopt : std::optional<std::int64_t>(v.day));
    std::optional<std::int64_t> month;
    if (!v.income() && v.yearlyMonth)
        month = *v.yearlyMonth;
    optionalKey(first + 5, month);
    s.bind(first + 6, v.from.text());
    if (v.until)
        s.bind(first + 7, v.until->text());
    else
        s.bindNull(first + 7);
}

std::optional<std::string> nameFor(Ledger& ledger, const Values& v) {
    const auto name = v.income() ? nameOf(ledger, kMemberName, *v.memberKey)
                                 : nameOf(ledger, kCategoryName, v.categoryKey.value_or(0));
    return name ? *name : std::nullopt;
}

void refuse(Ledger& ledger, const Values& v) {
    if (auto problem = valuesProblem(ledger, v))
        throw LedgerError(LedgerError::Kind::Failed, *problem);
}

} // namespace

const char* allRowsQuery() {
    static const std::string q = std::string(kColumns) + "ORDER BY r.定期ID";
    return q.c_str();
}

Stored readRow(const Statement& s) {
    return readStored(s);
}

std::optional<std::string> rowProblem(const Stored& r) {
    if (r.categoryKey.has_value() == r.memberKey.has_value())
        return "品目か名前のどちらか一方を指定していません";
    if (r.categoryKey && !r.categoryThere)
        return "その品目はもうありません";
    if (r.memberKey && !r.memberThere)
        return "その名前はもうありません";
    if (!r.amount)
        return "金額がありません";
    const auto from = r.from ? parseMonth(*r.from) : std::nullopt;
    if (!from)
        return "最初の月が yyyy/mm の形ではありません";
    std::optional<YearMonth> until;
    if (r.until) {
        until = parseMonth(*r.until);
        if (!until)
            return "最後の月が yyyy/mm の形ではありません";
    }
    Schedule s{1, std::nullopt, *from, until};
    if (!r.income()) {
        if (!r.day || *r.day < 0 || *r.day > 31)
            return "日が1～31でも末日でもありません";
        s.day = int(*r.day);
        if (r.yearlyMonth) {
            if (*r.yearlyMonth < 1 || *r.yearlyMonth > 12)
                return "毎年の月が1～12ではありません";
            s.yearlyMonth = int(*r.yearlyMonth);
        }
    }
    if (auto problem = scheduleProblem(s))
        return problem;
    // Read as nothing written yet, such a record would write every date again.
    if (r.posted && !(r.income() ? parseMonth(*r.posted).has_value() : parseDay(*r.posted).has_value()))
        return "記入済が" + std::string(r.income() ? "yyyy/mm" : "yyyy/mm/dd") + " の形ではありません";
    return std::nullopt;
}

std::optional<Values> Stored::values() const {
    if (rowProblem(*this))
        return std::nullopt;
    Values v;
    v.categoryKey = categoryKey;
    v.memberKey = memberKey;
    v.description = description.value_or("");
    v.amount = *amount;
    v.from = *parseMonth(*from);
    if (until)
        v.until = parseMonth(*until);
    if (!v.income()) {
        v.day = int(*day);
        if (yearlyMonth)
            v.yearlyMonth = int(*yearlyMonth);
    }
    return v;
}

std::optional<std::string> Stored::next() const {
    const auto v = values();
    if (!v)
        return std::nullopt;
    if (v->income()) {
        const auto posted_ = posted ? parseMonth(*posted) : std::nullopt;
        const auto next = nextMonth(v->from, v->until, posted_);
        return next ? std::optional(next->text()) : std::nullopt;
    }
    const auto next = nextDate(scheduleOf(*v), posted ? parseDay(*posted) : std::nullopt);
    return next ? std::optional(next->text()) : std::nullopt;
}

std::string Stored::scheduleText() const {
    if (income())
        return "毎月 (収入)";
    if (!day)
        return {};
    std::optional<int> month;
    if (yearlyMonth)
        month = int(*yearlyMonth);
    return recurring::scheduleText(int(*day), month);
}

std::vector<Stored> list(Ledger& ledger) {
    return select(ledger, "ORDER BY r.定期ID", std::nullopt);
}

std::optional<Stored> find(Ledger& ledger, std::int64_t key) {
    auto found = select(ledger, "WHERE r.定期ID = ?1", key);
    return found.empty() ? std::nullopt : std::optional(found.front());
}

std::int64_t categoryCount(Ledger& ledger, std::int64_t categoryKey) {
    return count(ledger, kCountCategory, categoryKey);
}

std::int64_t memberCount(Ledger& ledger, std::int64_t memberKey) {
    return count(ledger, kCountMember, memberKey);
}

std::optional<std::string> valuesProblem(Ledger& ledger, const Values& v) {
    if (v.categoryKey.has_value() == v.memberKey.has_value())
        return "品目か名前のどちらか一方を指定して下さい。";
    if (v.income()) {
        if (!nameOf(ledger, kMemberName, *v.memberKey))
            return "その名前は台帳にありません。";
    } else if (!nameOf(ledger, kCategoryName, *v.categoryKey)) {
        return "その品目は台帳にありません。";
    }
    Schedule s = scheduleOf(v);
    if (v.income()) {
        s.day = 1;
        s.yearlyMonth.reset();
    }
    if (auto problem = scheduleProblem(s))
        return *problem + "。";
    return std::nullopt;
}

std::int64_t add(Ledger& ledger, const Values& values) {
    history::Recorder step(ledger, {});
    refuse(ledger, values);
    auto s = LedgerAccess::prepare(ledger, kAdd, "定期明細の登録");
    bindValues(s, 1, values);
    s.run();
    const std::int64_t key = LedgerAccess::lastInsertKey(ledger);
    step.setLabel(
        history::labels::recurring(history::labels::kRecurringAdded, nameFor(ledger, values), values.amount));
    step.commit();
    return key;
}

void change(Ledger& ledger, std::int64_t key, const Values& values) {
    history::Recorder step(ledger, {});
    refuse(ledger, values);
    auto s = LedgerAccess::prepare(ledger, kChange, "定期明細の変更");
    s.bind(1, key);
    bindValues(s, 2, values);
    s.run();
    if (LedgerAccess::changedRows(ledger) == 0)
        throw LedgerError(LedgerError::Kind::Failed, kGone);
    step.setLabel(history::labels::recurring(history::labels::kRecurringChanged, nameFor(ledger, values),
                                             values.amount));
    step.commit();
}

void remove(Ledger& ledger, std::int64_t key) {
    history::Recorder step(ledger, {});
    const auto before = find(ledger, key);
    if (!before)
        throw LedgerError(LedgerError::Kind::Failed, kGone);
    LedgerAccess::prepare(ledger, kRemove, "定期明細の削除").bind(1, key).run();
    step.setLabel(history::labels::recurring(history::labels::kRecurringDeleted,
                                             before->income() ? before->memberName : before->categoryName,
                                             before->amount));
    step.commit();
}

namespace {

// The writes one repeating entry has due, and the mark it leaves.
struct Due {
    const Stored* row = nullptr;
    std::vector<Day> dates;
    std::vector<YearMonth> months;
    std::string mark;
};

std::vector<Due> dueOf(const std::vector<Stored>& rows, Day today) {
    std::vector<Due> out;
    for (const Stored& r : rows) {
        const auto v = r.values();
        // A category or member that is gone posts nothing: the lists would never show it.
        if (!v)
            continue;
        Due due{&r, {}, {}, {}};
        if (v->income()) {
            due.months = dueMonths(v->from, v->until, r.posted ? parseMonth(*r.posted) : std::nullopt,
                                   today.yearMonth());
            if (!due.months.empty())
                due.mark = due.months.back().text();
        } else {
            due.dates = dueDates(scheduleOf(*v), r.posted ? parseDay(*r.posted) : std::nullopt, today);
            if (!due.dates.empty())
                due.mark = due.dates.back().text();
        }
        if (!due.mark.empty())
            out.push_back(std::move(due));
    }
    return out;
}

} // namespace

std::vector<Posted> postDue(Ledger& ledger, Day today, const std::function<void()>& beforeWriting) {
    // Most openings find nothing due: that costs one read, and no write lock.
    if (dueOf(list(ledger), today).empty())
        return {};
    if (beforeWriting)
        beforeWriting();
    std::vector<Posted> out;
    history::Recorder step(ledger, {});
    // Read again inside the transaction: another program may have posted meanwhile.
    const std::vector<Stored> rows = list(ledger);
    for (const Due& due : dueOf(rows, today)) {
        const Stored& r = *due.row;
        if (r.income()) {
            for (const YearMonth& ym : due.months) {
                auto there = LedgerAccess::cached(ledger, kIncomeThere, "収入の確認");
                there.bind(1, *r.memberKey).bind(2, ym.text());
                if (there.step() && there.int64(0) != 0)
                    continue; // an income the family entered is never overwritten
                auto s = LedgerAccess::cached(ledger, kAddIncome, "定期明細の記入");
                s.bind(1, *r.memberKey).bind(2, ym.text()).bind(3, *r.amount);
                s.run();
                out.push_back({ym.text(), std::nullopt, std::nullopt, r.memberName, {}, *r.amount});
            }
        } else {
            auto s = LedgerAccess::cached(ledger, kAddEntry, "定期明細の記入");
            for (const Day& date : due.dates) {
                s.reset();
                s.bind(1, date.text())
                    .bind(2, *r.categoryKey)
                    .bind(3, std::string_view(r.description.value_or("")))
                    .bind(4, *r.amount);
                s.run();
                out.push_back({date.text(), LedgerAccess::lastInsertKey(ledger), r.categoryName, std::nullopt,
                               r.description.value_or(""), *r.amount});
            }
        }
        auto mark = LedgerAccess::cached(ledger, kMarkPosted, "定期明細の記入");
        mark.bind(1, r.key).bind(2, std::string_view(due.mark));
        mark.run();
    }
    step.setLabel(history::labels::recurringPosted(out.size()));
    step.commit();
    return out;
}

} // namespace sorakado::recurring
