#pragma once

#include "ledger.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace sorakado {

namespace detail {
class KeyedFile;
}

// Every expense entry of a ledger file, read through a connection of its own so it can be read on
// another thread than the window's. The entries come in pieces, newest key first, each piece one
// short read of its own: a reader never holds the file long enough to keep a change of the
// program waiting. Rows changed between pieces may be read as they were or as they are; whoever
// keeps the copy takes the program's own changes (Ledger::takeEntryChanges) and another program's
// (Ledger::othersChangeMark) into account afterwards.
class EntryReader {
public:
    explicit EntryReader(const std::filesystem::path& path); // throws LedgerError
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;
    ~EntryReader();

    // The next at most `limit` entries by descending key; empty once every entry was read.
    std::vector<StoredEntry> next(std::size_t limit);

private:
    std::unique_ptr<detail::KeyedFile> file_;
    std::optional<std::int64_t> below_; // the lowest key read so far
    bool done_ = false;
};

} // namespace sorakado
