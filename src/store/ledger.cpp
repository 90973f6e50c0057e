#include "ledger.h"

#include "keyed_file.h"
#include "ledger_access.h"
#include "ledger_error.h"
#include "ledger_journal.h"
#include "month_sums_schema.h"
#include "platform/platform.h"
#include "schema.h"
#include "sqlite_error.h"
#include "statement.h"
#include "statement_cache.h"
#include "wide_int.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace sorakado {

namespace {

// Sums stay exact: whole yen are added as 64-bit integers, and amounts with a fraction as whole
// ten-thousandths, each the stored double's own value rounded. Columns: yen, ten-thousandths,
// count of amounts.
std::string amountSum(const std::string& column) {
    return "sum(CASE WHEN typeof(" + column + ")='integer' THEN " + column + " END), sum(CASE WHEN typeof(" +
           column + ") NOT IN ('integer','null') THEN " + month_sums::fractionPart(column) + " END), count(" +
           column + ")";
}

const char* const kMembers = "SELECT 名前ID, 名前 FROM 名前 ORDER BY 名前ID";
const char* const kMonthIncomes =
    "SELECT 収入.名前ID, 収入.収入 FROM 名前 INNER JOIN 収入 ON 名前.名前ID = 収入.名前ID "
    "WHERE 収入.年月 = ?1 ORDER BY 名前.名前ID";
std::string incomeSumQuery() {
    return "SELECT " + amountSum("収入") + " FROM 収入 WHERE 年月 = ?1";
}
const char* const kCategories = "SELECT 品目ID, 品目 FROM 品目 ORDER BY 品目, 品目ID";
std::string monthCategorySumsQuery() {
    return "SELECT 品目ID, " + amountSum("金額") +
           " FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?2 GROUP BY 品目ID";
}
std::string expenseSumQuery() {
    return "SELECT " + amountSum("金額") + " FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?2";
}

// The month's entries in the order of the month index, which is the order they are listed in, and
// what each amount adds to its category's sum. Category names are not joined in row by row: they
// are looked up among the few categories there are.
const std::string& monthExpensesQuery() {
    static const std::string q = "SELECT DATAID, 年月日, 品目ID, 内容, 金額, " + month_sums::yenPart("金額") +
                                 ", " + month_sums::fractionPart("金額") +
                                 " FROM DATA WHERE 年月日 >= ?1 AND 年月日 < ?2 ORDER BY 年月日, DATAID";
    return q;
}
// How many entries the month holds, as the month's stored figure counts them (those with an
// amount): enough to make room for the month's list at once rather than growing it step by step.
const char* const kMonthEntryCount = "SELECT 件数 FROM 出費月計 WHERE 年月 = ?1";
constexpr std::int64_t kMostRoomMade = 1 << 20;

// Reads the three amountSum columns starting at column first.
std::optional<Amount> readSum(const Statement& s, int first) {
    if (s.int64(first + 2) == 0)
        return std::nullopt;
    Amount whole = s.isNull(first) ? Amount() : Amount::fromYen(s.int64(first));
    Amount fractional = s.isNull(first + 1) ? Amount() : Amount::fromTenThousandths(s.sumPart(first + 1));
    return whole + fractional;
}

// The file belongs to another user, or its mode keeps this user out: said as that, with what
// to change, rather than as a file someone marked read-only.
std::string noPermission(const platform::FileFacts& facts) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", facts.mode);
    return "この利用者には台帳ファイルを読み書きする権限がないため開けません（所有者 " + facts.owner +
           "、モード " + mode + "）。所有者を自分に戻すか、自分が読み書きできるモードにしてください。";
}

struct DbCloser {
    sqlite3* db;
    ~DbCloser() {
        if (db)
            sqlite3_close_v2(db);
    }
    sqlite3* release() { return std::exchange(db, nullptr); }
};

// Every change needs a journal beside the ledger, made when the change begins. A folder that
// does not let us make a file would pass every check above and then fail each change with
// "unable to open database file"; it is found here by making, and removing, a file there.
void checkJournalCanBeMade(const std::filesystem::path& path) {
    platform::Outcome refused;
    if (auto probe = platform::createTemporaryBeside(path, "writable", &refused)) {
        platform::removeFile(*probe);
        return;
    }
    if (refused.failure == platform::Failure::NoPermission ||
        refused.failure == platform::Failure::ReadOnlyPlace)
        throwAboutFile(
            LedgerError::Kind::ReadOnly,
            "台帳ファイルのあるフォルダーに書き込めないため、台帳を開けません（変更を保存するための"
            "一時ファイルを作れません）。フォルダーに書き込めるようにしてください。",
            path);
}

} // namespace

std::string prefixUpperBound(const std::string& prefix) {
    std::string bound = prefix;
    while (!bound.empty()) {
        auto last = static_cast<unsigned char>(bound.back());
        if (last < 0xFF) {
            bound.back() = static_cast<char>(last + 1);
            return bound;
        }
        bound.pop_back();
    }
    return std::string(1, '\xFF'); // every text starts with the empty prefix
}

namespace {

// What can be told of the file before SQLite opens it, said in the user's terms. A file to be
// written must not be marked read-only (root may write to one; the user marked it so for a
// reason) and must be writable by this user.
void checkFileBeforeOpening(const std::filesystem::path& path, bool forWriting) {
    const platform::FileFacts facts = platform::fileFacts(path);
    if (facts.found.failure == platform::Failure::Missing)
        throwAboutFile(LedgerError::Kind::Missing, kLedgerMissing, path);
    if (facts.found.failure == platform::Failure::NoPermission)
        throwAboutFile(LedgerError::Kind::NoPermission,
                       "この利用者には台帳ファイルのあるフォルダーを開く権限がないため、台帳を開けません。",
                       path);
    if (!facts.found)
        throwAboutFile(LedgerError::Kind::Failed, "台帳ファイルを開けません。（" + facts.found.detail + "）",
                       path);
    if (facts.folder)
        throwAboutFile(LedgerError::Kind::NotLedger, kFolderInsteadOfLedger, path);
    if (!facts.regular)
        throwAboutFile(LedgerError::Kind::NotLedger, "台帳ファイルではありません。", path);
    // SQLite would take an empty file for an empty database and then miss the tables.
    if (facts.size == 0)
        throwAboutFile(LedgerError::Kind::NotLedger,
                       "台帳ファイルが空です（0バイト）。Sorakadoの台帳ファイルではありません。", path);
    if (!forWriting)
        return;
    if (facts.markedReadOnly)
        throwAboutFile(LedgerError::Kind::ReadOnly, "台帳ファイルが読み取り専用のため開けません。", path);
    if (const platform::Outcome access = platform::mayReadWrite(path); !access) {
        if (access.failure == platform::Failure::NoPermission)
            throwAboutFile(LedgerError::Kind::NoPermission, noPermission(facts), path);
        if (access.failure == platform::Failure::ReadOnlyPlace)
            throwAboutFile(LedgerError::Kind::ReadOnly,
                           "台帳ファイルのある場所が読み取り専用で書き込めないため開けません。", path);
        throwAboutFile(LedgerError::Kind::Failed, "台帳ファイルを開けません。（" + access.detail + "）",
                       path);
    }
}

// The password fits and the file has the four tables with their columns.
void proveLedger(sqlite3* db, const std::filesystem::path& path) {
    detail::proveKeyFits(db, path, "開けません");
    const auto missing = detail::missingShape(db);
    if (missing.empty())
        return;
    const std::string& first = missing.front();
    const auto dot = first.find('.');
    if (dot == std::string::npos)
        throwAboutFile(LedgerError::Kind::MissingTable, "台帳ファイルに表「" + first + "」がありません。",
                       path);
    throwAboutFile(LedgerError::Kind::MissingTable,
                   "台帳ファイルの表「" + first.substr(0, dot) + "」に列「" + first.substr(dot + 1) +
                       "」がありません。",
                   path);
}

// Takes and drops a write lock, so a file that another program holds or that cannot be written
// is reported at start, not at the first change.
void proveWritable(sqlite3* db, const std::filesystem::path& path) {
    const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK && errorKindOf(rc) == LedgerError::Kind::Locked)
        throwAboutFile(LedgerError::Kind::Locked, "台帳ファイルが他のプログラムで使用中のため開けません。",
                       path);
    if (rc != SQLITE_OK && errorKindOf(rc) == LedgerError::Kind::ReadOnly)
        throwAboutFile(LedgerError::Kind::ReadOnly, "台帳ファイルが読み取り専用のため開けません。", path);
    if (rc != SQLITE_OK)
        throwAboutFile(LedgerError::Kind::Failed,
                       std::string("台帳ファイルを開けません。（") + sqlite3_errmsg(db) + "）", path);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    checkJournalCanBeMade(path);
}

} // namespace

Ledger Ledger::open(const std::filesystem::path& path) {
    checkFileBeforeOpening(path, true);
    DbCloser closer{detail::openKeyed(path, detail::KeyedFile::Access::ReadWrite)};
    sqlite3* raw = closer.db;
    sqlite3_busy_timeout(raw, 1000);
    proveLedger(raw, path);
    proveWritable(raw, path);

    // An acknowledged change must survive a crash or a power cut.
    execOrThrow(raw, "PRAGMA synchronous = FULL", "設定");
    execOrThrow(raw, "PRAGMA cache_size = -16000", "設定");
    // A row that INSERT OR REPLACE pushes out is a deleted row to the per-month sums' triggers too.
    execOrThrow(raw, "PRAGMA recursive_triggers = ON", "設定");

    Ledger ledger(closer.release(), path);
    try {
        ledger.upgradeSchema();
    } catch (const LedgerError& e) {
        throwAboutFile(e.kind(), e.description(), path);
    }
    return ledger;
}

Ledger Ledger::openReadOnly(const std::filesystem::path& path) {
    checkFileBeforeOpening(path, false);
    DbCloser closer{detail::openKeyed(path, detail::KeyedFile::Access::ReadOnly)};
    sqlite3* raw = closer.db;
    sqlite3_busy_timeout(raw, 1000);
    proveLedger(raw, path);
    execOrThrow(raw, "PRAGMA cache_size = -16000", "設定");
    Ledger ledger(closer.release(), path);
    ledger.readOnly_ = true;
    // A ledger of an earlier version is read as it is: where its stored sums are missing or were
    // counted the old way, the year summaries count the rows themselves.
    try {
        ledger.sumsTrusted_ = ledger.schemaIsCurrent();
    } catch (const LedgerError& e) {
        throwAboutFile(e.kind(), e.description(), path);
    }
    return ledger;
}

void Ledger::create(const std::filesystem::path& path) {
    if (const platform::Outcome made = platform::createPrivateFile(path); !made) {
        if (made.failure == platform::Failure::Exists)
            throwAboutFile(LedgerError::Kind::Exists,
                           "同じ名前のファイルがすでにあるため台帳を作成しません。", path);
        throwAboutFile(LedgerError::Kind::Failed, "台帳ファイルを作成できません。（" + made.detail + "）",
                       path);
    }

    try {
        DbCloser closer{detail::openKeyed(path, detail::KeyedFile::Access::ReadWrite)};
        sqlite3* raw = closer.db;
        execOrThrow(raw, "BEGIN", "作成");
        for (const std::string& ddl : schema::createStatements())
            execOrThrow(raw, ddl.c_str(), "作成");
        execOrThrow(raw, ("PRAGMA user_version = " + std::to_string(schema::kVersion)).c_str(), "作成");
        execOrThrow(raw, "COMMIT", "作成");
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
}

struct Ledger::ChangeNotes {
    bool noting = false;
    bool keysAreRowKeys = true;
    std::vector<std::int64_t> entryKeys;
    bool categories = false;
};

// SQLite reports every row a statement of this connection inserts, changes or deletes, the rows
// of triggers included: no write function can forget to say what it touched.
void Ledger::noteRowChange(void* notes, int, const char* database, const char* table, long long rowKey) {
    auto* n = static_cast<ChangeNotes*>(notes);
    if (!n->noting || std::strcmp(database, "main") != 0)
        return;
    if (std::strcmp(table, "DATA") == 0)
        n->entryKeys.push_back(rowKey); // DATAID is the table's row key
    else if (std::strcmp(table, "品目") == 0)
        n->categories = true;
}

EntryChanges Ledger::takeEntryChanges() {
    EntryChanges out;
    if (!changes_->noting) {
        changes_->noting = true;
        changes_->keysAreRowKeys = entryKeysAreRowKeys();
        return out;
    }
    out.entryKeys = std::exchange(changes_->entryKeys, {});
    if (!changes_->keysAreRowKeys && !out.entryKeys.empty()) {
        out.entryKeys.clear();
        out.entriesUnnamed = true;
    }
    std::sort(out.entryKeys.begin(), out.entryKeys.end());
    out.entryKeys.erase(std::unique(out.entryKeys.begin(), out.entryKeys.end()), out.entryKeys.end());
    out.categories = std::exchange(changes_->categories, false);
    return out;
}

Ledger::Ledger(sqlite3* db, std::filesystem::path path)
    : db_(db), path_(std::move(path)), statements_(std::make_unique<StatementCache>()),
      changes_(std::make_unique<ChangeNotes>()) {
    sqlite3_update_hook(db_, &Ledger::noteRowChange, changes_.get());
}

Ledger::Ledger(Ledger&& o) noexcept
    : db_(std::exchange(o.db_, nullptr)), path_(std::move(o.path_)), statements_(std::move(o.statements_)),
      changes_(std::move(o.changes_)), transactionDepth_(std::exchange(o.transactionDepth_, 0)),
      snapshotDepth_(std::exchange(o.snapshotDepth_, 0)),
      transactionCondemned_(std::exchange(o.transactionCondemned_, false)), readOnly_(o.readOnly_),
      sumsTrusted_(o.sumsTrusted_) {}

Ledger& Ledger::operator=(Ledger&& o) noexcept {
    if (this != &o) {
        statements_.reset();
        if (db_)
            sqlite3_close_v2(db_);
        db_ = std::exchange(o.db_, nullptr);
        path_ = std::move(o.path_);
        statements_ = std::move(o.statements_);
        changes_ = std::move(o.changes_);
        transactionDepth_ = std::exchange(o.transactionDepth_, 0);
        snapshotDepth_ = std::exchange(o.snapshotDepth_, 0);
        transactionCondemned_ = std::exchange(o.transactionCondemned_, false);
        readOnly_ = o.readOnly_;
        sumsTrusted_ = o.sumsTrusted_;
    }
    return *this;
}

Ledger::~Ledger() {
    statements_.reset();
    if (db_)
        sqlite3_close_v2(db_);
}

Statement Ledger::cachedStatement(std::string_view sql, const char* operation) {
    return statements_->take(db_, sql, operation);
}

std::int64_t LedgerAccess::lastInsertKey(const Ledger& ledger) {
    return sqlite3_last_insert_rowid(ledger.db_);
}

int LedgerAccess::changedRows(const Ledger& ledger) {
    return sqlite3_changes(ledger.db_);
}

void Ledger::begin() {
    if (readOnly_)
        throwAboutFile(LedgerError::Kind::ReadOnly, "読み取り専用で開いた台帳は変更できません。", path_);
    // The window's drawing may have left the vector registers dirty: the cipher's work on every
    // page of the transaction would run at half speed.
    platform::clearUpperVectorState();
    execOrThrow(db_, "BEGIN IMMEDIATE", "書き込み開始");
    // With the write lock held no other writer makes the journal, so a link found now was
    // planted; the journal itself is made with the first page changed.
    try {
        journal::refuseLink(path_);
    } catch (...) {
        rollback();
        throw;
    }
}
void Ledger::commit() {
    execOrThrow(db_, "COMMIT", "書き込み");
}
void Ledger::rollback() noexcept {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

Ledger::Transaction::Transaction(Ledger& ledger)
    : ledger_(ledger), outermost_(ledger.transactionDepth_ == 0) {
    ledger_.refuseChangeDuringSnapshot();
    if (outermost_)
        ledger_.begin();
    ++ledger_.transactionDepth_;
}

Ledger::Transaction::~Transaction() {
    --ledger_.transactionDepth_;
    if (committed_)
        return;
    if (!outermost_) {
        ledger_.transactionCondemned_ = true;
        return;
    }
    // Also when the commit itself failed (busy): SQLite then keeps the transaction open.
    ledger_.rollback();
    ledger_.transactionCondemned_ = false;
}

void Ledger::Transaction::commit() {
    if (!outermost_) {
        committed_ = true;
        return;
    }
    if (ledger_.transactionCondemned_)
        throw LedgerError(LedgerError::Kind::Failed,
                          "台帳の書き込みに失敗しました。（途中の変更が失敗したため、すべて取り消しました）");
    ledger_.commit();
    committed_ = true;
}

void Ledger::refuseChangeDuringSnapshot() const {
    if (snapshotDepth_ > 0)
        throw std::logic_error("a change was made while the ledger is read as one snapshot");
}

Ledger::Snapshot::Snapshot(Ledger& ledger)
    : ledger_(ledger), began_(ledger.transactionDepth_ == 0 && ledger.snapshotDepth_ == 0) {
    if (began_) {
        platform::clearUpperVectorState(); // as in begin(): the pages read next decrypt at full speed
        execOrThrow(ledger_.db_, "BEGIN DEFERRED",
                    "読み込み開始"); // the shared lock comes with the first read
    }
    ++ledger_.snapshotDepth_;
}

Ledger::Snapshot::~Snapshot() {
    --ledger_.snapshotDepth_;
    // Nothing was written, so ending the transaction either way gives the lock back.
    if (began_ && sqlite3_exec(ledger_.db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        ledger_.rollback();
}

std::vector<Member> Ledger::members() {
    auto s = cachedStatement(kMembers, "名前の読み込み");
    std::vector<Member> out;
    while (s.step())
        out.push_back({s.int64(0), s.text(1)});
    return out;
}

std::vector<Income> Ledger::monthIncomes(const std::string& monthKey) {
    auto s = cachedStatement(kMonthIncomes, "収入の読み込み");
    s.bind(1, monthKey);
    std::vector<Income> out;
    while (s.step())
        out.push_back({s.int64(0), s.amount(1)});
    return out;
}

std::vector<Category> Ledger::categories() {
    auto s = cachedStatement(kCategories, "品目の読み込み");
    std::vector<Category> out;
    while (s.step())
        out.push_back({s.int64(0), s.text(1)});
    return out;
}

std::map<std::int64_t, Amount> Ledger::monthCategorySums(const std::string& monthKey) {
    auto s = Statement(db_, monthCategorySumsQuery(), "品目ごと合計の読み込み");
    s.bind(1, monthKey).bind(2, prefixUpperBound(monthKey));
    std::map<std::int64_t, Amount> out;
    // A key stored as anything but an integer (1.5, "1x") names no category, and its group must
    // not stand in for the sum of the category its leading digits happen to name.
    while (s.step())
        if (auto key = s.integer(0))
            if (auto sum = readSum(s, 1))
                out[*key] = *sum;
    return out;
}

MonthExpenses Ledger::monthExpenses(const std::string& monthKey, const std::vector<Category>& categoryList) {
    struct CategoryTally {
        std::optional<std::string> name;
        WideInt yen = 0;
        WideInt tenThousandths = 0;
        bool summed = false;
    };
    std::unordered_map<std::int64_t, CategoryTally> categories;
    for (const Category& c : categoryList)
        categories.emplace(c.key, CategoryTally{c.name});

    Statement s = cachedStatement(monthExpensesQuery(), "明細の読み込み");
    s.bind(1, monthKey).bind(2, prefixUpperBound(monthKey));
    MonthExpenses out;
    {
        Statement count = cachedStatement(kMonthEntryCount, "明細の読み込み");
        count.bind(1, monthKey);
        if (count.step())
            out.entries.reserve(
                static_cast<std::size_t>(std::clamp<std::int64_t>(count.int64(0), 0, kMostRoomMade)));
    }
    while (s.step()) {
        // Only an entry whose category is there is listed, as a join on the key would have it:
        // a key stored as anything but an integer names no category.
        const std::optional<std::int64_t> key = s.integer(2);
        const auto category = key ? categories.find(*key) : categories.end();
        if (category == categories.end())
            continue;
        out.entries.push_back({s.int64(0), s.text(1), category->second.name, s.text(3), s.amount(4)});
        if (!s.isNull(4)) {
            CategoryTally& c = category->second;
            c.yen += s.sumPart(5);
            c.tenThousandths += s.sumPart(6);
            c.summed = true;
        }
    }
    constexpr WideInt lowest = std::numeric_limits<std::int64_t>::min();
    constexpr WideInt highest = std::numeric_limits<std::int64_t>::max();
    for (const auto& [key, c] : categories) {
        if (!c.summed)
            continue;
        // Beyond 64 bits the sum of the rows themselves says what it always said (it fails).
        if (c.yen < lowest || c.yen > highest || c.tenThousandths < lowest || c.tenThousandths > highest) {
            out.categorySums = monthCategorySums(monthKey);
            return out;
        }
        out.categorySums[key] = Amount::fromTenThousandths(c.yen * Amount::kScale + c.tenThousandths);
    }
    return out;
}

std::optional<Amount> Ledger::incomeSumFromRows(const std::string& key) {
    Statement s(db_, incomeSumQuery(), "収入合計の読み込み");
    s.bind(1, key);
    return s.step() ? readSum(s, 0) : std::nullopt;
}

std::optional<Amount> Ledger::expenseSumFromRows(const std::string& key) {
    Statement s(db_, expenseSumQuery(), "出費合計の読み込み");
    s.bind(1, key).bind(2, prefixUpperBound(key));
    return s.step() ? readSum(s, 0) : std::nullopt;
}

} // namespace sorakado
