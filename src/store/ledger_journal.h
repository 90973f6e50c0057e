#pragma once

// The journal SQLite keeps beside a ledger while a change is under way, "NAME-journal". A crash in
// the middle of a change leaves it behind: "hot" when it holds the pages the change overwrote,
// which must be put back before the ledger is read, or a leftover whose header was never written
// (all zeros), which holds nothing and which SQLite leaves where it is. A connection opened
// read-only can do neither, so whoever reads the ledger from outside the program settles the
// journal first.

#include <filesystem>

namespace sorakado::journal {

std::filesystem::path pathOf(const std::filesystem::path& ledger);

// Whether anything, a file or a link, has the journal's name.
bool present(const std::filesystem::path& ledger);

// SQLite opens the journal for writing, making it when missing, and follows a link to wherever it
// points: a planted link would have the next change overwrite, or create, a file elsewhere, and a
// planted journal be played into the ledger. Throws LedgerError (Failed) naming the ledger when
// the journal's name is a link.
void refuseLink(const std::filesystem::path& ledger);

enum class Settled {
    Nothing,         // no journal, or one a writer holds right now
    RolledBack,      // a hot journal was played back: the ledger is as it was before the change
    LeftoverRemoved, // a journal that held nothing to roll back was removed
};

// Rolls back the change a crash left half-done, through a read-write connection of its own, and
// removes a leftover journal while holding the write lock (so no writer can own it). Only when a
// journal is there; the caller holds the program's lock, so the program is not running on the
// ledger. What cannot be settled (a folder that cannot be written, a file that is no ledger) is
// left for the reader to report. Throws LedgerError only for a journal that is a link.
Settled settle(const std::filesystem::path& ledger);

} // namespace sorakado::journal
