// The per-month sums of incomes and expenses that the year summaries read: twelve stored
// figures a year instead of a year of rows. Triggers in the file keep them (month_sums_schema);
// here they are read, added to ledgers made before, and checked against the rows.

#include "ledger.h"

#include "month_sums_read.h"
#include "statement.h"

#include "history_schema.h"
#include "ledger_error.h"
#include "month_key.h"
#include "month_sums_schema.h"
#include "schema.h"
#include "wide_int.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <set>

namespace sorakado {

namespace {

using month_sums::Kind;

// Exact sums of one month's rows, wide enough for any number of 64-bit parts.
struct Tally {
    WideInt yen = 0;
    WideInt tenThousandths = 0;
    std::int64_t count = 0;
    bool unaddable = false; // a row's amount is too large or not a number (it stores no part)
};

bool fits(WideInt v) {
    return v >= std::numeric_limits<std::int64_t>::min() && v <= std::numeric_limits<std::int64_t>::max();
}

MonthSumFigure figureOf(const Tally& t) {
    MonthSumFigure f;
    f.count = t.count;
    // The stored figure keeps each part in 64 bits; a part beyond that is not exact there.
    f.exact = !t.unaddable && fits(t.yen) && fits(t.tenThousandths);
    if (f.exact && t.count > 0)
        f.sum = Amount::fromTenThousandths(t.yen * Amount::kScale + t.tenThousandths);
    return f;
}

// A part that fits goes in as INTEGER; one that does not goes in as REAL, just as the triggers'
// arithmetic leaves it, so readers know to count the rows instead.
void bindPart(Statement& s, int index, WideInt part) {
    if (fits(part))
        s.bind(index, static_cast<std::int64_t>(part));
    else
        s.bind(index, std::string_view(decimalText(part)));
}

std::string storedPart(int index) {
    const std::string p = "?" + std::to_string(index);
    return "CASE WHEN typeof(" + p + ") = 'text' THEN CAST(" + p + " AS REAL) ELSE " + p + " END";
}

std::map<std::string, Tally> tally(Statement&& rows) {
    std::map<std::string, Tally> out;
    while (rows.step()) {
        Tally& t = out[rows.text(0).value_or("")];
        const auto yen = rows.integer(1);
        const auto tenThousandths = rows.integer(2);
        if (yen && tenThousandths) {
            t.yen += *yen;
            t.tenThousandths += *tenThousandths;
        } else {
            t.unaddable = true; // stored as the triggers store it: a figure readers will not trust
        }
        ++t.count;
    }
    return out;
}

std::map<std::string, MonthSumFigure> storedFigures(Statement&& s) {
    std::map<std::string, MonthSumFigure> out;
    while (s.step()) {
        MonthSumFigure f;
        f.count = s.int64(3);
        f.exact = s.int64(4) != 0;
        if (f.exact && f.count > 0)
            f.sum = Amount::fromYen(s.int64(1)) + Amount::fromTenThousandths(s.int64(2));
        out[s.text(0).value_or("")] = f;
    }
    return out;
}

std::string storedQuery(const Kind& kind, bool oneMonth) {
    return std::string(
               "SELECT 年月, 円, 万分の一, 件数, typeof(円) = 'integer' AND typeof(万分の一) = 'integer' "
               "FROM ") +
           kind.table + (oneMonth ? " WHERE 年月 = ?1" : "");
}

// "2006/04": seven single-byte characters, the shape the expense figures are kept under. A
// row's first seven characters equal such a key exactly when its date starts with the key.
bool isExpenseMonthKey(const std::string& key) {
    return key.size() == month_sums::kExpenseKeyLength &&
           std::all_of(key.begin(), key.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The twelve months of a year from the stored figures. A month whose figure is not exact, or
// whose key the figures are not kept under, is counted from its rows.
MonthSums yearFromFigures(Statement&& stored, const std::string& yearText, bool keptUnder(const std::string&),
                          const std::function<std::optional<Amount>(const std::string&)>& fromRows) {
    MonthSums out;
    for (int month = 1; month <= 12; ++month) {
        const std::string key = MonthKey::keyText(yearText, month);
        if (!keptUnder(key)) {
            out[month - 1] = fromRows(key);
            continue;
        }
        stored.reset();
        stored.bind(1, std::string_view(key));
        if (!stored.step())
            continue; // no amount stored under the month
        if (stored.int64(4) == 0)
            out[month - 1] = fromRows(key);
        else if (stored.int64(3) > 0)
            out[month - 1] = Amount::fromYen(stored.int64(1)) + Amount::fromTenThousandths(stored.int64(2));
    }
    return out;
}

bool anyKey(const std::string&) {
    return true;
}

// Every month counted from its rows: for a ledger whose stored sums are missing or counted the
// way of an earlier version, read as it is.
MonthSums yearFromRows(const std::string& yearText,
                       const std::function<std::optional<Amount>(const std::string&)>& fromRows) {
    MonthSums out;
    for (int month = 1; month <= 12; ++month)
        out[month - 1] = fromRows(MonthKey::keyText(yearText, month));
    return out;
}

struct SchemaState {
    std::int64_t version = 0;
    bool complete = false; // every table, index and trigger of today's shape is there
    bool current() const { return version >= schema::kVersion && complete; }
};

SchemaState schemaState(sqlite3* db) {
    SchemaState state;
    {
        auto s = Statement(db, "PRAGMA user_version", "表の確認");
        if (s.step())
            state.version = s.int64(0);
    }
    std::set<std::string> present;
    {
        auto s = Statement(db, "SELECT name FROM sqlite_master", "表の確認");
        while (s.step())
            present.insert(s.text(0).value_or(""));
    }
    const auto names = schema::addedObjects();
    state.complete =
        std::all_of(names.begin(), names.end(), [&](const std::string& n) { return present.contains(n); });
    return state;
}

const std::vector<const Kind*>& kinds() {
    static const std::vector<const Kind*> k{&month_sums::incomes(), &month_sums::expenses()};
    return k;
}

} // namespace

MonthSums Ledger::yearIncomeSums(const std::string& yearText) {
    if (!sumsTrusted_)
        return yearFromRows(yearText, [this](const std::string& key) { return incomeSumFromRows(key); });
    return yearFromFigures(cachedStatement(storedQuery(month_sums::incomes(), true), "収入合計の読み込み"),
                           yearText, anyKey,
                           [this](const std::string& key) { return incomeSumFromRows(key); });
}

MonthSums Ledger::yearExpenseSums(const std::string& yearText) {
    if (!sumsTrusted_)
        return yearFromRows(yearText, [this](const std::string& key) { return expenseSumFromRows(key); });
    return yearFromFigures(cachedStatement(storedQuery(month_sums::expenses(), true), "出費合計の読み込み"),
                           yearText, isExpenseMonthKey,
                           [this](const std::string& key) { return expenseSumFromRows(key); });
}

std::vector<MonthSumDifference> Ledger::monthSumDifferences() {
    return detail::monthSumDifferences(db_);
}

namespace detail {

std::vector<MonthSumDifference> monthSumDifferences(sqlite3* db) {
    std::vector<MonthSumDifference> out;
    for (const Kind* kind : kinds()) {
        auto stored = storedFigures(Statement(db, storedQuery(*kind, false), "月別合計の読み込み"));
        auto counted = tally(Statement(db, month_sums::rowPartsQuery(*kind), "月別合計の数え直し"));
        std::set<std::string> keys;
        for (const auto& [key, figure] : stored)
            keys.insert(key);
        for (const auto& [key, t] : counted)
            keys.insert(key);
        for (const std::string& key : keys) {
            MonthSumFigure s = stored.contains(key) ? stored[key] : MonthSumFigure{};
            MonthSumFigure c = counted.contains(key) ? figureOf(counted[key]) : MonthSumFigure{};
            if (!(s == c))
                out.push_back({kind->table, key, s, c});
        }
    }
    return out;
}

bool keepsMonthSums(sqlite3* db) {
    for (const Kind* kind : kinds()) {
        Statement s(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", "表の確認");
        s.bind(1, std::string_view(kind->table));
        if (!s.step())
            return false;
    }
    return true;
}

} // namespace detail

void Ledger::recountMonthSums() {
    inTransaction([&] {
        for (const Kind* kind : kinds()) {
            auto counted = tally(Statement(db_, month_sums::rowPartsQuery(*kind), "月別合計の数え直し"));
            Statement(db_, std::string("DELETE FROM ") + kind->table, "月別合計の書き込み").run();
            auto insert = Statement(db_,
                                    std::string("INSERT INTO ") + kind->table +
                                        "(年月, 円, 万分の一, 件数) VALUES (?1, " + storedPart(2) + ", " +
                                        storedPart(3) + ", ?4)",
                                    "月別合計の書き込み");
            for (const auto& [key, t] : counted) {
                insert.reset();
                insert.bind(1, std::string_view(key));
                bindPart(insert, 2, t.yen);
                if (t.unaddable)
                    insert.bind(3, std::string_view(month_sums::kUnaddable));
                else
                    bindPart(insert, 3, t.tenThousandths);
                insert.bind(4, t.count).run();
            }
        }
    });
}

bool Ledger::schemaIsCurrent() {
    return schemaState(db_).current();
}

void Ledger::upgradeSchema() {
    const SchemaState state = schemaState(db_);
    const std::int64_t version = state.version;
    if (version > schema::kVersion)
        throw LedgerError(LedgerError::Kind::NotLedger, kLedgerTooNew);
    if (state.current())
        return;

    // Indexes, tables, triggers, figures and version in one transaction: a ledger either has
    // sums that match its rows or none at all.
    inTransaction([&] {
        for (const std::string& ddl : schema::upgradeStatements(version))
            Statement(db_, ddl, "形式の更新").run();
        std::vector<std::string> historyColumns;
        for (Statement s(db_, history_schema::kPresentColumns, "形式の更新"); s.step();)
            historyColumns.push_back(s.text(1).value_or(""));
        for (const std::string& ddl : history_schema::widenStatements(historyColumns))
            Statement(db_, ddl, "形式の更新").run();
        recountMonthSums();
        const auto newVersion = std::max<std::int64_t>(version, schema::kVersion);
        Statement(db_, "PRAGMA user_version = " + std::to_string(newVersion), "形式の更新").run();
    });
}

} // namespace sorakado
