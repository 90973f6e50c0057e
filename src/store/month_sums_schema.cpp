#include "month_sums_schema.h"

namespace sorakado::month_sums {

namespace {

// Trigger names: the figures' table and what the trigger follows.
const char* const kAdded = "_追加";
const char* const kRemoved = "_削除";
const char* const kChangedFrom = "_変更前";
const char* const kChangedTo = "_変更後";

// The key expression of kind for the row called row ("new" or "old").
std::string keyOf(const Kind& kind, const std::string& row) {
    std::string out = kind.keyOf;
    for (std::size_t at = out.find('@'); at != std::string::npos; at = out.find('@', at + row.size()))
        out.replace(at, 1, row);
    return out;
}

// A row counts when it can be found by a month key (its key column holds text: a BLOB or a
// Null never matches a key) and it has an amount (a Null amount is not summed).
std::string counts(const Kind& kind, const std::string& row) {
    return "typeof(" + row + "." + kind.keyColumn + ") = 'text' AND " + row + "." + kind.amount +
           " IS NOT NULL";
}

// Adds or takes away one row's amount. No statement here can meet a conflict, so whatever
// conflict clause the writer's statement carries (OR REPLACE, OR IGNORE) cannot change them.
std::string apply(const Kind& kind, const std::string& row, char sign) {
    const std::string t = kind.table;
    const std::string key = keyOf(kind, row);
    const std::string amount = row + "." + kind.amount;
    std::string s;
    if (sign == '+')
        s += "INSERT INTO " + t + "(年月, 円, 万分の一, 件数) SELECT " + key +
             ", 0, 0, 0 WHERE NOT EXISTS (SELECT 1 FROM " + t + " WHERE 年月 = " + key + "); ";
    s += "UPDATE " + t + " SET 円 = 円 " + sign + " " + yenPart(amount) + ", 万分の一 = 万分の一 " + sign +
         " " + fractionPart(amount) + ", 件数 = 件数 " + sign + " 1 WHERE 年月 = " + key + "; ";
    if (sign == '-')
        s += "DELETE FROM " + t + " WHERE 年月 = " + key + " AND 件数 = 0; ";
    return s;
}

std::string trigger(const Kind& kind, const char* suffix, const std::string& event, const std::string& row,
                    char sign) {
    return std::string("CREATE TRIGGER IF NOT EXISTS ") + kind.table + suffix + " AFTER " + event + " ON " +
           kind.rows + " WHEN " + counts(kind, row) + " BEGIN " + apply(kind, row, sign) + "END";
}

void appendFor(const Kind& kind, std::vector<std::string>& out) {
    // The sums have no declared type: a sum that outgrows 64 bits turns REAL in SQLite's
    // arithmetic and must stay REAL, so a reader can tell the figure is no longer exact.
    out.push_back(std::string("CREATE TABLE IF NOT EXISTS ") + kind.table +
                  "(年月 TEXT PRIMARY KEY, 円 NOT NULL, 万分の一 NOT NULL, 件数 NOT NULL) WITHOUT ROWID");
    const std::string changed = std::string("UPDATE OF ") + kind.keyColumn + ", " + kind.amount;
    out.push_back(trigger(kind, kAdded, "INSERT", "new", '+'));
    out.push_back(trigger(kind, kRemoved, "DELETE", "old", '-'));
    out.push_back(trigger(kind, kChangedFrom, changed, "old", '-'));
    out.push_back(trigger(kind, kChangedTo, changed, "new", '+'));
}

} // namespace

const Kind& incomes() {
    static const Kind k{"収入月計", "収入", "年月", "収入", "@.年月"};
    return k;
}

const Kind& expenses() {
    static const Kind k{"出費月計", "DATA", "年月日", "金額", "substr(@.年月日, 1, 7)"};
    return k;
}

std::vector<std::string> createStatements() {
    std::vector<std::string> out;
    appendFor(incomes(), out);
    appendFor(expenses(), out);
    return out;
}

std::vector<std::string> objectNames() {
    std::vector<std::string> out;
    for (const Kind* kind : {&incomes(), &expenses()}) {
        out.push_back(kind->table);
        for (const char* suffix : {kAdded, kRemoved, kChangedFrom, kChangedTo})
            out.push_back(std::string(kind->table) + suffix);
    }
    return out;
}

std::string rowPartsQuery(const Kind& kind) {
    const std::string rows = kind.rows;
    const std::string amount = rows + "." + kind.amount;
    return "SELECT " + keyOf(kind, rows) + ", " + yenPart(amount) + ", " + fractionPart(amount) + " FROM " +
           rows + " WHERE " + counts(kind, rows);
}

std::string yenPart(const std::string& value) {
    return "CASE WHEN typeof(" + value + ") = 'integer' THEN " + value + " ELSE 0 END";
}

// The stored double's own value in ten-thousandths, rounded half to even, in integers alone:
// a double times 10^4 loses the last digit above 2^53 / 10^4 (about 9 * 10^11 yen). The magnitude
// splits exactly into whole yen and a fraction; the fraction times 2^52 is a whole number (and
// what a value below one yen keeps beyond that, a second one), so the ten-thousandths are
// (F1 * 625) / 2^48 with the remainder and F2 deciding the rounding. Amount::fromStoredDouble
// reads a single row the same way. A REAL (or numeric text) whose ten-thousandths would not fit
// 64 bits gives kUnaddable, a REAL: every sum it enters turns REAL, and readers refuse such a sum
// instead of a clipped one.
std::string fractionPart(const std::string& value) {
    const std::string a = "abs(" + value + ")";
    const std::string whole = "CAST(" + a + " AS INTEGER)";
    const std::string scaled = "((" + a + " - " + whole + ") * 4503599627370496.0)"; // 2^52
    const std::string f1 = "CAST(" + scaled + " AS INTEGER)";
    const std::string f2 = "CAST((" + scaled + " - " + f1 + ") * 4503599627370496.0 AS INTEGER)";
    const std::string t = "(" + f1 + " * 625)";
    const std::string q = "(" + t + " >> 48)";
    const std::string r = "(" + t + " & 281474976710655)"; // 2^48 - 1
    const std::string half = "140737488355328";            // 2^47
    const std::string up = "(CASE WHEN " + r + " > " + half + " THEN 1 WHEN " + r + " = " + half +
                           " THEN (CASE WHEN " + f2 + " > 0 THEN 1 ELSE " + q + " & 1 END) WHEN " + r +
                           " >= " + half + " - 625 AND " + f2 + " * 625 > (" + half + " - " + r +
                           ") * 4503599627370496 THEN 1 ELSE 0 END)";
    const std::string magnitude = "(" + whole + " * 10000 + " + q + " + " + up + ")";
    return "CASE WHEN typeof(" + value + ") IN ('integer', 'null') THEN 0 WHEN " + a + " < " + kAddableLimit +
           " THEN (CASE WHEN " + value + " + 0.0 < 0 THEN -" + magnitude + " ELSE " + magnitude +
           " END) ELSE " + kUnaddable + " END";
}

std::vector<std::string> dropTriggerStatements() {
    std::vector<std::string> out;
    for (const Kind* kind : {&incomes(), &expenses()})
        for (const char* suffix : {kAdded, kRemoved, kChangedFrom, kChangedTo})
            out.push_back(std::string("DROP TRIGGER IF EXISTS ") + kind->table + suffix);
    return out;
}

} // namespace sorakado::month_sums
