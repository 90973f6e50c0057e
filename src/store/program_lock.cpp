#include "program_lock.h"

namespace sorakado {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& ledger) {
    return fs::absolute(ledger).parent_path();
}

} // namespace

std::optional<ProgramLock> ProgramLock::tryTakeIn(const fs::path& folder) {
    auto lock = platform::FileLock::tryTake(lockPathIn(folder));
    if (!lock)
        return std::nullopt;
    return ProgramLock(std::move(*lock));
}

std::optional<ProgramLock> ProgramLock::tryTakeFor(const fs::path& ledger) {
    return tryTakeIn(folderOf(ledger));
}

bool ProgramLock::heldIn(const fs::path& folder) {
    return platform::FileLock::heldElsewhere(lockPathIn(folder));
}

bool ProgramLock::heldFor(const fs::path& ledger) {
    return heldIn(folderOf(ledger));
}

fs::path ProgramLock::lockPathIn(const fs::path& folder) {
    return platform::folderLockPath(folder);
}

fs::path ProgramLock::folderOfProgram(const fs::path& program) {
    std::error_code ec;
    fs::path canonical = fs::canonical(program, ec);
    return (ec ? fs::absolute(program) : canonical).parent_path();
}

} // namespace sorakado
