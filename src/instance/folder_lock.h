#pragma once

// One running program per folder. The program and its ledger live in one folder, and the
// program that holds this folder's lock owns that ledger: a second launch from the same folder
// (through a link, another copy of the program file, or another environment) is refused, and
// the ledger tool can ask whether the program is running before it replaces the ledger.
//
// The lock is an flock() on a hidden file in the folder itself, so no environment variable
// moves it. The kernel drops it when the holder ends, crash or not, so the next launch takes
// it over at once. The file stays in the folder; only the lock on it comes and goes. A folder
// the user cannot write to keeps the lock file in the user's runtime folder instead, named
// after the folder.

#include <filesystem>
#include <optional>

namespace sorakado::instance {

class FolderLock {
public:
    // Takes the folder's lock; nullopt when another process holds it (or it cannot be had).
    static std::optional<FolderLock> tryTake(const std::filesystem::path& folder);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    // The file whose lock stands for the folder: ".sorakado.lock" inside it, or, when the
    // folder cannot hold that file, one in the user's runtime folder named after the folder.
    static std::filesystem::path lockPathFor(const std::filesystem::path& folder);

private:
    explicit FolderLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// True while a program holds the lock of `folder`: the program is running on the ledger there.
bool programRunsIn(const std::filesystem::path& folder);

// The folder a program file belongs to, links resolved.
std::filesystem::path programFolder(const std::filesystem::path& program);

} // namespace sorakado::instance
