#pragma once

// The history of changes under test: the ledger's rows as one text to compare, other programs'
// changes to the rows a step left, steps made old, and ledgers of other versions.

#include "store/ledger.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace sorakado::testing {

// Every row of 名前, 収入, 品目 and DATA with its key (rowid for 収入) and every value with its
// storage class, one line per row: two ledgers hold the same rows when the texts are equal.
std::string rowsImage(Ledger& l);
// Row changes the history holds, every step together.
std::int64_t historyRowCount(Ledger& l);
// Every step's time moved days into the past.
void ageSteps(Ledger& l, int days);

// What a ledger of version 2 looked like: no history. Takes effect for the next open.
void makeVersionBeforeHistory(Ledger& l);
void setSchemaVersion(Ledger& l, int version);

// The entry's amount changed in a transaction of its own on this connection, but not as a step:
// what a change costs without the history.
void changeEntryUnrecorded(Ledger& l, std::int64_t entryKey, std::int64_t yen);
// Bytes of the entry's stored values.
std::int64_t entryRowBytes(Ledger& l, std::int64_t entryKey);

// Another program's changes, on its own connection.
void anotherProgramSetsEntryAmount(const std::filesystem::path& ledger, std::int64_t entryKey,
                                   std::int64_t yen);
void anotherProgramDeletesCategory(const std::filesystem::path& ledger, std::int64_t categoryKey);
void anotherProgramAddsMemberWithKey(const std::filesystem::path& ledger, std::int64_t memberKey);
void anotherProgramAddsEntry(const std::filesystem::path& ledger, std::int64_t categoryKey);

} // namespace sorakado::testing
