#pragma once

// What a killed import leaves beside its target: the half-written temporary ledger
// ".NAME.import-<process>-<16 hex digits>" (".NAME.import-<16 hex digits>" from earlier versions)
// and its "-journal". A running import holds a lock on
// ".NAME.import.lock" from before its temporary ledger exists until it is renamed or removed,
// so such files with no lock held on them are leftovers, and the next import removes them.

#include "platform/platform.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sorakado::legacy {

class ImportLock {
public:
    // Takes the lock of imports into `target`; nullopt when another import into it is running.
    // Throws ImportError when the lock file cannot be made.
    static std::optional<ImportLock> tryTake(const std::filesystem::path& target);

    ImportLock(ImportLock&& other) noexcept;
    ImportLock& operator=(ImportLock&&) = delete;
    ImportLock(const ImportLock&) = delete;
    ImportLock& operator=(const ImportLock&) = delete;
    // Removes the lock file, then lets the lock go.
    ~ImportLock();

private:
    ImportLock(platform::FileLock lock, std::filesystem::path path)
        : lock_(std::move(lock)), path_(std::move(path)) {}
    platform::FileLock lock_;
    std::filesystem::path path_;
};

// Whether `name` is a temporary ledger (or its journal) of an import into a file named
// `targetName`.
bool isImportTemporaryName(const std::string& name, const std::string& targetName);

// Removes the leftovers of imports into `target`; the caller holds that target's ImportLock.
// Returns the names removed.
std::vector<std::string> removeImportLeftovers(const std::filesystem::path& target, const ImportLock& held);

// Takes the lock, removes the leftovers and lets the lock go: for a command that looks after a
// ledger's folder. nullopt when an import into `target` is running (its files are not leftovers).
std::optional<std::vector<std::string>> cleanImportLeftovers(const std::filesystem::path& target);

} // namespace sorakado::legacy
