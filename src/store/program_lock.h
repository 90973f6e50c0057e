#pragma once

// One running program per ledger. The program opens the ledger beside it, so the program that
// holds its folder's lock owns that ledger: a second launch from the same folder (through a
// link, another copy of the program file, or another environment) is refused, and a tool that
// replaces or rewrites the ledger takes the same lock for as long as it works, so the program
// cannot start meanwhile.
//
// The lock is the platform's file lock on ".sorakado.lock" in the folder itself (or, for a
// folder the user cannot write to, a file in the user's runtime folder named after it), so no
// environment variable moves it. The system drops it when the holder ends, crash or not, so the
// next launch takes it over at once. The file stays; only the lock on it comes and goes.

#include "platform/platform.h"

#include <filesystem>
#include <optional>

namespace sorakado {

class ProgramLock {
public:
    // The lock of the folder; nullopt while another process holds it (or it cannot be had).
    static std::optional<ProgramLock> tryTakeIn(const std::filesystem::path& folder);
    // The lock of the program that opens ledger, the one in the ledger's folder.
    static std::optional<ProgramLock> tryTakeFor(const std::filesystem::path& ledger);

    // Whether a program (or a tool working on its ledger) holds the folder's lock now. Only asks:
    // takes nothing that a starting program could meet.
    static bool heldIn(const std::filesystem::path& folder);
    static bool heldFor(const std::filesystem::path& ledger);

    // The file whose lock stands for the folder.
    static std::filesystem::path lockPathIn(const std::filesystem::path& folder);
    // The folder a program file belongs to, links resolved.
    static std::filesystem::path folderOfProgram(const std::filesystem::path& program);

private:
    explicit ProgramLock(platform::FileLock lock) : lock_(std::move(lock)) {}
    platform::FileLock lock_;
};

} // namespace sorakado
