#include "history.h"

#include "history_schema.h"
#include "ledger_access.h"
#include "statement.h"

#include <algorithm>
#include <limits>

namespace sorakado::history {

namespace {

using history_schema::kImageColumns;
using history_schema::Table;

constexpr std::int64_t kNoEnd = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kDaySeconds = 24 * 60 * 60;

const char* const kNow = "SELECT CAST(strftime('%s', 'now') AS INTEGER)";
const char* const kConnectionReady = "SELECT 1 FROM sqlite_temp_master WHERE name = ?1";
const char* const kOpenStep = "SELECT 手順ID FROM temp.履歴_記録中";
const char* const kDropUndoneRows =
    "DELETE FROM 履歴行 WHERE 行番 >= (SELECT min(最初行) FROM 履歴 WHERE 取消済 = 1)";
const char* const kDropUndoneSteps = "DELETE FROM 履歴 WHERE 取消済 = 1";
const char* const kAddStep = "INSERT INTO 履歴(日時, 内容, 最初行) VALUES (?1, '', "
                             "(SELECT coalesce(max(行番), 0) + 1 FROM 履歴行))";
const char* const kMarkOpen = "INSERT INTO temp.履歴_記録中(手順ID) VALUES (?1)";
const char* const kMarkClosed = "DELETE FROM temp.履歴_記録中";
const char* const kStepHasRows =
    "SELECT EXISTS (SELECT 1 FROM 履歴行 WHERE 行番 >= (SELECT 最初行 FROM 履歴 WHERE 手順ID = ?1))";
const char* const kDropStep = "DELETE FROM 履歴 WHERE 手順ID = ?1";
const char* const kLabelStep = "UPDATE 履歴 SET 内容 = ?2 WHERE 手順ID = ?1";
// The oldest steps go while more than kKeptSteps are kept and they are older than kKeptDays: a
// run from the oldest, so the rows left are exactly those of the steps left.
const char* const kTrimSteps =
    "DELETE FROM 履歴 WHERE 手順ID <= (SELECT max(手順ID) FROM 履歴 WHERE 日時 < ?2 AND 手順ID <= "
    "(SELECT 手順ID FROM 履歴 ORDER BY 手順ID DESC LIMIT 1 OFFSET ?1))";
const char* const kTrimRows = "DELETE FROM 履歴行 WHERE 行番 < (SELECT coalesce(min(最初行), 0) FROM 履歴)";

const char* const kStepColumns = "SELECT 手順ID, 日時, 内容, 取消済, 最初行 FROM 履歴 ";
const char* const kStepEnd = "SELECT 最初行 FROM 履歴 WHERE 手順ID > ?1 ORDER BY 手順ID LIMIT 1";
const char* const kRowCount = "SELECT count(*) FROM 履歴行 WHERE 行番 >= ?1 AND 行番 < ?2";
const char* const kMarkUndone = "UPDATE 履歴 SET 取消済 = ?2 WHERE 手順ID = ?1";
const char* const kClearWork = "DELETE FROM temp.履歴_作業";
const char* const kWorkTables = "SELECT DISTINCT 表 FROM temp.履歴_作業";

// The conflict is found inside the transaction, which then rolls everything back.
struct Refused {};

std::string images(const char* prefix) {
    std::string s;
    for (int i = 1; i <= kImageColumns; ++i)
        s += std::string(", ") + prefix + std::to_string(i);
    return s;
}

// Fills the work table with one row per record the step touched: for an undo, what its last
// change left (今) and what was there before its first (次); for a redo the other way round.
std::string fillWork(bool undoing) {
    const char* now = undoing ? "a.後" : "b.前";
    const char* next = undoing ? "b.前" : "a.後";
    std::string cols;
    for (int i = 1; i <= kImageColumns; ++i)
        cols += std::string(", ") + now + std::to_string(i);
    std::string nextCols;
    for (int i = 1; i <= kImageColumns; ++i)
        nextCols += std::string(", ") + next + std::to_string(i);
    return "INSERT INTO temp.履歴_作業(表, キー, 今" + images("今") + ", 次" + images("次") +
           ") SELECT g.表, g.キー, " + now + cols + ", " + next + nextCols +
           " FROM (SELECT 表, キー, min(行番) AS 最初, max(行番) AS 最後 FROM main.履歴行 WHERE 行番 >= ?1 "
           "AND "
           "行番 < ?2 GROUP BY 表, キー) g JOIN main.履歴行 a ON a.行番 = g.最後 JOIN main.履歴行 b ON "
           "b.行番 = "
           "g.最初";
}

std::string work(const Table& t, const std::string& more) {
    return "SELECT キー FROM temp.履歴_作業 WHERE 表 = " + std::to_string(t.code) + " AND " + more;
}

// A record is as the step left it: there with the very values and types, or not there.
std::string mismatch(const Table& t) {
    const std::string row = std::string("SELECT 1 FROM main.") + t.name + " r WHERE r." + t.key + " = w.キー";
    std::string same;
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        const std::string c = std::string("r.") + t.columns[i];
        const std::string v = "w.今" + std::to_string(i + 1);
        same += " AND " + c + " IS " + v + " AND typeof(" + c + ") = typeof(" + v + ")";
    }
    return "SELECT EXISTS (SELECT 1 FROM temp.履歴_作業 w WHERE w.表 = " + std::to_string(t.code) +
           " AND CASE WHEN w.今 = 1 THEN NOT EXISTS (" + row + same + ") ELSE EXISTS (" + row + ") END)";
}

std::vector<std::string> applyStatementsOf(const Table& t) {
    const std::string name = std::string("main.") + t.name;
    std::string columns, values;
    for (std::size_t i = 0; i < t.columns.size(); ++i) {
        columns += std::string(i ? ", " : "") + t.columns[i];
        values += std::string(i ? ", " : "") + "次" + std::to_string(i + 1);
    }
    const std::string code = std::to_string(t.code);
    const bool one = t.columns.size() == 1;
    return {
        "DELETE FROM " + name + " WHERE " + t.key + " IN (" + work(t, "今 = 1 AND 次 = 0") + ")",
        "UPDATE " + name + " SET " + (one ? columns : "(" + columns + ")") + " = (SELECT " + values +
            " FROM temp.履歴_作業 w WHERE w.表 = " + code + " AND w.キー = " + t.name + "." + t.key +
            ") WHERE " + t.key + " IN (" + work(t, "今 = 1 AND 次 = 1") + ")",
        "INSERT INTO " + name + "(" + t.key + ", " + columns + ") SELECT キー, " + values +
            " FROM temp.履歴_作業 WHERE 表 = " + code + " AND 今 = 0 AND 次 = 1",
    };
}

// A table's statements: whether the records are as the step left them, then the writes that
// put them back. Made once, as their texts are the keys of the statements kept prepared.
struct TableStatements {
    const Table* table = nullptr;
    std::string mismatch;
    std::vector<std::string> apply;
};

const std::vector<TableStatements>& tableStatements() {
    static const std::vector<TableStatements> all = [] {
        std::vector<TableStatements> out;
        for (const Table& t : history_schema::tables())
            out.push_back({&t, mismatch(t), applyStatementsOf(t)});
        return out;
    }();
    return all;
}

const std::string& fillStatement(bool undoing) {
    static const std::string undo = fillWork(true), redo = fillWork(false);
    return undoing ? undo : redo;
}

// After the rows are written (each with the values 次 holds): every entry and income written names
// a category and a member that are there, and no category or member taken away leaves entries or
// incomes behind.
const char* const kBrokenReferences =
    "SELECT EXISTS (SELECT 1 FROM (SELECT DISTINCT 次2 AS k FROM temp.履歴_作業 WHERE 表 = 4 AND 次 = 1) w "
    "WHERE NOT EXISTS (SELECT 1 FROM main.品目 c WHERE c.品目ID = w.k)) "
    "OR EXISTS (SELECT 1 FROM (SELECT DISTINCT 次1 AS k FROM temp.履歴_作業 WHERE 表 = 2 AND 次 = 1) w "
    "WHERE NOT EXISTS (SELECT 1 FROM main.名前 m WHERE m.名前ID = w.k)) "
    "OR EXISTS (SELECT 1 FROM temp.履歴_作業 w WHERE w.表 = 3 AND w.次 = 0 AND EXISTS (SELECT 1 FROM "
    "main.DATA d "
    "WHERE d.品目ID = w.キー)) "
    "OR EXISTS (SELECT 1 FROM temp.履歴_作業 w WHERE w.表 = 1 AND w.次 = 0 AND EXISTS (SELECT 1 FROM "
    "main.収入 i "
    "WHERE i.名前ID = w.キー)) "
    // Repeating entries name their category or member as entries and incomes do.
    "OR EXISTS (SELECT 1 FROM temp.履歴_作業 w WHERE w.表 = 5 AND w.次 = 1 AND ((w.次1 IS NOT NULL AND NOT "
    "EXISTS (SELECT 1 FROM main.品目 c WHERE c.品目ID = w.次1)) OR (w.次2 IS NOT NULL AND NOT EXISTS (SELECT "
    "1 "
    "FROM main.名前 m WHERE m.名前ID = w.次2)))) "
    "OR EXISTS (SELECT 1 FROM temp.履歴_作業 w WHERE w.表 = 3 AND w.次 = 0 AND EXISTS (SELECT 1 FROM "
    "main.定期明細 r WHERE r.品目ID = w.キー)) "
    "OR EXISTS (SELECT 1 FROM temp.履歴_作業 w WHERE w.表 = 1 AND w.次 = 0 AND EXISTS (SELECT 1 FROM "
    "main.定期明細 r WHERE r.名前ID = w.キー))";

// The months of the entries and incomes the step touched, before and after.
const char* const kMonths =
    "SELECT DISTINCT m FROM (SELECT substr(今1, 1, 7) AS m FROM temp.履歴_作業 WHERE 表 = 4 AND 今 = 1 "
    "UNION ALL SELECT substr(次1, 1, 7) FROM temp.履歴_作業 WHERE 表 = 4 AND 次 = 1 "
    "UNION ALL SELECT 今2 FROM temp.履歴_作業 WHERE 表 = 2 AND 今 = 1 "
    "UNION ALL SELECT 次2 FROM temp.履歴_作業 WHERE 表 = 2 AND 次 = 1) LIMIT 2";
const char* const kTouched = "SELECT キー, 次 FROM temp.履歴_作業 WHERE 表 = ?1 LIMIT 2";
const char* const kIncomeMembers =
    "SELECT DISTINCT m FROM (SELECT 今1 AS m FROM temp.履歴_作業 WHERE 表 = 2 AND 今 = 1 "
    "UNION ALL SELECT 次1 FROM temp.履歴_作業 WHERE 表 = 2 AND 次 = 1) LIMIT 2";
const char* const kMemberThere = "SELECT 1 FROM main.名前 WHERE 名前ID = ?1";

// Every statement of the history is kept prepared: an undo of one entry runs some twenty of
// them, and preparing them (with the triggers each write compiles) took most of its time.
Statement statement(Ledger& ledger, std::string_view sql, const char* operation) {
    return LedgerAccess::cached(ledger, sql, operation);
}

void run(Ledger& ledger, std::string_view sql, const char* operation) {
    statement(ledger, sql, operation).run();
}

bool yes(Ledger& ledger, std::string_view sql, const char* operation) {
    auto s = statement(ledger, sql, operation);
    return s.step() && s.int64(0) != 0;
}

// The connection's recorder and work table, made on first use.
void prepareConnection(Ledger& ledger) {
    {
        auto s = statement(ledger, kConnectionReady, "履歴の準備");
        s.bind(1, std::string_view(history_schema::kConnectionProbe));
        if (s.step())
            return;
    }
    for (const std::string& ddl : history_schema::connectionStatements())
        LedgerAccess::prepare(ledger, ddl, "履歴の準備").run();
}

std::int64_t now(Ledger& ledger) {
    auto s = statement(ledger, kNow, "履歴の記録");
    s.step();
    return s.int64(0);
}

struct Located {
    StepInfo info;
    std::int64_t first = 0, end = kNoEnd;
};

std::optional<Located> locate(Ledger& ledger, const std::string& where) {
    Located out;
    {
        auto s = statement(ledger, kStepColumns + where, "履歴の読み込み");
        if (!s.step())
            return std::nullopt;
        out.info = {s.int64(0), s.int64(1), s.text(2).value_or(""), s.int64(3) != 0, 0};
        out.first = s.int64(4);
    }
    auto e = statement(ledger, kStepEnd, "履歴の読み込み");
    e.bind(1, out.info.id);
    if (e.step())
        out.end = e.int64(0);
    auto c = statement(ledger, kRowCount, "履歴の読み込み");
    c.bind(1, out.first).bind(2, out.end);
    c.step();
    out.info.rows = c.int64(0);
    return out;
}

const char* const kNewestDone = "WHERE 取消済 = 0 ORDER BY 手順ID DESC LIMIT 1";
const char* const kOldestUndone = "WHERE 取消済 = 1 ORDER BY 手順ID LIMIT 1";

// What the window shows after the step is undone or redone, read from the work table.
void describe(Ledger& ledger, Outcome& out) {
    {
        auto s = statement(ledger, kMonths, "履歴の読み込み");
        std::vector<std::optional<std::string>> months;
        while (s.step())
            months.push_back(s.text(0));
        if (months.size() == 1)
            out.month = months.front();
    }
    auto one = [&](int table) -> std::optional<std::int64_t> {
        auto s = statement(ledger, kTouched, "履歴の読み込み");
        s.bind(1, std::int64_t(table));
        std::optional<std::int64_t> key;
        int count = 0;
        bool there = false;
        while (s.step()) {
            ++count;
            key = s.integer(0);
            there = s.int64(1) != 0;
        }
        return count == 1 && there ? key : std::nullopt;
    };
    out.entry = one(4);
    out.member = one(1);
    if (!out.member) {
        auto s = statement(ledger, kIncomeMembers, "履歴の読み込み");
        std::vector<std::optional<std::int64_t>> members;
        while (s.step())
            members.push_back(s.integer(0));
        if (members.size() == 1 && members.front()) {
            auto there = statement(ledger, kMemberThere, "履歴の読み込み");
            there.bind(1, *members.front());
            if (there.step())
                out.member = members.front();
        }
    }
}

Outcome turn(Ledger& ledger, bool undoing) {
    Outcome out;
    try {
        ledger.inTransaction([&] {
            const auto step = locate(ledger, undoing ? kNewestDone : kOldestUndone);
            if (!step)
                return;
            out.label = step->info.label;
            prepareConnection(ledger);
            run(ledger, kClearWork, "履歴の準備");
            auto fill = statement(ledger, fillStatement(undoing), "履歴の読み込み");
            fill.bind(1, step->first).bind(2, step->end);
            fill.run();
            // Only the tables the step touched are checked and written.
            std::vector<std::int64_t> codes;
            {
                auto present = statement(ledger, kWorkTables, "履歴の読み込み");
                while (present.step())
                    codes.push_back(present.int64(0));
            }
            std::vector<const TableStatements*> touched;
            for (const TableStatements& t : tableStatements())
                if (std::find(codes.begin(), codes.end(), t.table->code) != codes.end())
                    touched.push_back(&t);
            for (const TableStatements* t : touched)
                if (yes(ledger, t->mismatch, "履歴の確認"))
                    throw Refused{};
            for (const TableStatements* t : touched)
                for (const std::string& sql : t->apply)
                    run(ledger, sql, undoing ? "元に戻す" : "やり直し");
            if (yes(ledger, kBrokenReferences, "履歴の確認"))
                throw Refused{};
            describe(ledger, out);
            auto mark = statement(ledger, kMarkUndone, "履歴の記録");
            mark.bind(1, step->info.id).bind(2, std::int64_t(undoing ? 1 : 0));
            mark.run();
            run(ledger, kClearWork, "履歴の準備");
            out.result = Outcome::Result::Done;
        });
    } catch (const Refused&) {
        Outcome refused;
        refused.result = Outcome::Result::Conflict;
        refused.label = out.label;
        return refused;
    }
    return out;
}

} // namespace

Recorder::Recorder(Ledger& ledger, std::string label)
    : ledger_(ledger), transaction_(ledger), label_(std::move(label)) {
    prepareConnection(ledger_);
    {
        auto open = statement(ledger_, kOpenStep, "履歴の記録");
        if (open.step())
            return; // joins the step already open
    }
    run(ledger_, kDropUndoneRows, "履歴の記録");
    run(ledger_, kDropUndoneSteps, "履歴の記録");
    auto add = statement(ledger_, kAddStep, "履歴の記録");
    add.bind(1, now(ledger_));
    add.run();
    step_ = LedgerAccess::lastInsertKey(ledger_);
    statement(ledger_, kMarkOpen, "履歴の記録").bind(1, *step_).run();
}

Recorder::~Recorder() = default;

void Recorder::commit() {
    if (step_) {
        auto rows = statement(ledger_, kStepHasRows, "履歴の記録");
        rows.bind(1, *step_);
        if (rows.step() && rows.int64(0) != 0) {
            statement(ledger_, kLabelStep, "履歴の記録")
                .bind(1, *step_)
                .bind(2, std::string_view(label_))
                .run();
            auto trim = statement(ledger_, kTrimSteps, "履歴の整理");
            trim.bind(1, std::int64_t(kKeptSteps)).bind(2, now(ledger_) - kKeptDays * kDaySeconds);
            trim.run();
            run(ledger_, kTrimRows, "履歴の整理");
        } else {
            statement(ledger_, kDropStep, "履歴の記録").bind(1, *step_).run();
        }
        run(ledger_, kMarkClosed, "履歴の記録");
    }
    transaction_.commit();
}

std::optional<StepInfo> nextUndo(Ledger& ledger) {
    const auto step = locate(ledger, kNewestDone);
    return step ? std::optional(step->info) : std::nullopt;
}

std::optional<StepInfo> nextRedo(Ledger& ledger) {
    const auto step = locate(ledger, kOldestUndone);
    return step ? std::optional(step->info) : std::nullopt;
}

std::vector<StepInfo> steps(Ledger& ledger, std::optional<std::int64_t> limit) {
    std::vector<StepInfo> out;
    Ledger::Snapshot snapshot(ledger);
    std::vector<std::int64_t> firsts;
    {
        auto s =
            statement(ledger, std::string(kStepColumns) + "ORDER BY 手順ID DESC LIMIT ?1", "履歴の読み込み");
        s.bind(1, limit.value_or(-1));
        while (s.step()) {
            out.push_back({s.int64(0), s.int64(1), s.text(2).value_or(""), s.int64(3) != 0, 0});
            firsts.push_back(s.int64(4));
        }
    }
    std::int64_t end = kNoEnd;
    if (!out.empty()) {
        auto e = statement(ledger, kStepEnd, "履歴の読み込み");
        e.bind(1, out.front().id);
        if (e.step())
            end = e.int64(0);
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto c = statement(ledger, kRowCount, "履歴の読み込み");
        c.bind(1, firsts[i]).bind(2, end);
        c.step();
        out[i].rows = c.int64(0);
        end = firsts[i];
    }
    return out;
}

Outcome undo(Ledger& ledger) {
    return turn(ledger, true);
}

Outcome redo(Ledger& ledger) {
    return turn(ledger, false);
}

} // namespace sorakado::history
