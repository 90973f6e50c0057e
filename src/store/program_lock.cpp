#include "program_lock.h"

namespace sorakado {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& ledger) {
    return fs::absolute(ledger).parent_path();
}

} // namespace

std::optional<ProgramLock> ProgramLock::tryTakeIn(const fs::path& folder, std::string_view holder,
                                                  LockRefusal* refused) {
    const fs::path path = lockPathIn(folder);
    platform::Outcome failure;
    auto lock = platform::FileLock::tryTake(path, &failure);
    if (lock) {
        lock->writeNote(holder);
        return ProgramLock(std::move(*lock));
    }
    if (!refused)
        return std::nullopt;
    *refused = LockRefusal{};
    if (failure.ok()) {
        // Held. A holder that has not written its note yet, or an older program that writes
        // none, is taken for the program.
        const std::string note = platform::FileLock::noteOf(path);
        if (!note.empty() && note != kProgramHolder) {
            refused->why = LockRefusal::Why::OtherHolder;
            refused->holder = note;
        }
        return std::nullopt;
    }
    refused->why = LockRefusal::Why::Unusable;
    refused->lockFile = path;
    std::error_code ec;
    const auto status = fs::symlink_status(path, ec);
    refused->detail = fs::is_symlink(status)     ? "ほかの場所へのリンクになっています"
                      : fs::is_directory(status) ? "フォルダーになっています"
                                                 : platform::reasonText(failure);
    return std::nullopt;
}

std::optional<ProgramLock> ProgramLock::tryTakeFor(const fs::path& ledger, HeldBy* heldBy,
                                                   std::string_view holder, LockRefusal* refused) {
    if (heldBy)
        *heldBy = HeldBy::ItsFolder;
    auto lock = tryTakeIn(folderOf(ledger), holder, refused);
    if (!lock)
        return std::nullopt;
    if (const fs::path real = realFolderOf(ledger); !real.empty()) {
        auto realLock = tryTakeIn(real, holder, refused);
        if (!realLock) {
            if (heldBy)
                *heldBy = HeldBy::ItsRealFolder;
            return std::nullopt;
        }
        lock->realFolderLock_ = std::move(realLock->lock_);
    }
    if (heldBy)
        *heldBy = HeldBy::Nobody;
    return lock;
}

bool ProgramLock::heldIn(const fs::path& folder) {
    return platform::FileLock::heldElsewhere(lockPathIn(folder));
}

bool ProgramLock::heldFor(const fs::path& ledger) {
    if (heldIn(folderOf(ledger)))
        return true;
    const fs::path real = realFolderOf(ledger);
    return !real.empty() && heldIn(real);
}

fs::path ProgramLock::realFolderOf(const fs::path& ledger) {
    std::error_code ec;
    const fs::path real = fs::canonical(ledger, ec);
    if (ec)
        return {};
    // The same folder spelt through a link is the same lock: taking it twice would refuse itself.
    if (lockPathIn(real.parent_path()) == lockPathIn(folderOf(ledger)))
        return {};
    return real.parent_path();
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
