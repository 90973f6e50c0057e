#pragma once

// Putting a backup back in the ledger's place.

#include "backup_rotation.h"

#include "platform/platform.h"

#include <filesystem>

namespace sorakado::restore {

struct Restored {
    // Where the ledger that was replaced is kept: a checked copy in backups/, or, when it could
    // not be read as a ledger any more, its bytes as they were ("...-damaged.mdb", which the
    // rotation never removes). Empty when there was no ledger to replace.
    std::filesystem::path keptAs;
    bool keptDamaged = false;
    // What writers killed earlier had left beside the ledger and in backups/, tidied first.
    platform::Tidied tidied;
    platform::Tidied tidiedBackups;
};

// Checks that the backup opens with the ledger's password, passes integrity_check and has the
// four tables; keeps the current ledger in backups/ first; then replaces the ledger with a
// checked copy of the backup in one rename, and syncs the folder. The caller makes sure the
// program is not running on the ledger. Throws LedgerError with a Japanese description; on any
// failure the ledger is as it was and no temporary file is left.
Restored restoreLedger(const std::filesystem::path& backupFile, const std::filesystem::path& ledger,
                       backup::TimePoint now);

} // namespace sorakado::restore
