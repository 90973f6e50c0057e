#pragma once

// Repeating entries under test: rows only another tool could leave, and a ledger of the version
// before them.

#include "store/ledger.h"

#include <cstdint>
#include <string>

namespace sorakado::testing {

// A row of 定期明細 with its values as SQL literals written as they stand, in the order
// 品目ID, 名前ID, 内容, 金額, 日, 月, 開始, 終了, 記入済 ("3, NULL, '家賃', 80000, 31, NULL,
// '2024/01', NULL, NULL").
std::int64_t addRecurringStoredAs(Ledger& l, const std::string& sqlValues);

// What a ledger of version 3 looked like: no repeating entries, four values a history row.
// Takes effect for the next open.
void makeVersionBeforeRecurring(Ledger& l);
// Columns of the history's row table.
std::int64_t historyRowColumns(Ledger& l);

} // namespace sorakado::testing
