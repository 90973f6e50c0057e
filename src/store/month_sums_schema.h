#pragma once

#include <string>
#include <vector>

// The ledger keeps, beside its rows, the sum of every month's incomes and expenses, so the year
// summaries read twelve stored figures instead of a year of rows. Triggers inside the file keep
// the figures right whoever writes: this program, the importer or any other SQLite client.
namespace sorakado::month_sums {

// How a month's figure is found for each kind of row.
struct Kind {
    const char* table;     // the stored figures: 年月, 円, 万分の一, 件数
    const char* rows;      // the table whose rows are summed
    const char* keyColumn; // the column the month is taken from
    const char* amount;    // the column summed
    // The month key of a row: the income's 年月 as it stands; the first seven characters of
    // an entry's 年月日, so "2006/04/05" counts in 2006/04.
    const char* keyOf;
};

const Kind& incomes();
const Kind& expenses();

// Length of an expense month key ("2006/04"). A year summary asking for a key of another
// shape reads the rows themselves.
inline constexpr std::size_t kExpenseKeyLength = 7;

// Tables and triggers, without their contents. Every statement is safe on a ledger that already
// has the object (IF NOT EXISTS).
std::vector<std::string> createStatements();
// The names of the tables and triggers createStatements() makes, to tell whether a ledger has
// them all.
std::vector<std::string> objectNames();

// Every row that counts in kind's sums: its month key, whole-yen part and ten-thousandths part,
// in no particular order.
std::string rowPartsQuery(const Kind& kind);

// Column expressions giving one amount's part of the sums: whole yen of an INTEGER amount; the
// amount in ten-thousandths of any other stored value (REAL, or text a foreign tool left there),
// the stored double's own value rounded half to even; Null counts nowhere. The same expressions
// sum the rows when a figure is read from the rows themselves.
// A stored REAL beyond kAddableLimit (or an infinity) has no ten-thousandths in 64 bits: its
// part is kUnaddable, a REAL that makes every sum it enters REAL, and such a sum is refused.
inline constexpr const char* kAddableLimit = "9.0e14";
inline constexpr const char* kUnaddable = "0.5";
std::string yenPart(const std::string& value);
std::string fractionPart(const std::string& value);

// Statements that take the sums' triggers away, so a ledger whose triggers count the old way
// gets today's.
std::vector<std::string> dropTriggerStatements();

} // namespace sorakado::month_sums
