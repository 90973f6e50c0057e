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
//
// A ledger may be a link to a file in another folder, which a second program folder can link to
// as well: taking a lock for a ledger takes the lock of the folder its real file is in too, so
// every program and tool that reaches the same file, by whatever name, meets the others.

#include "platform/platform.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sorakado {

// Who holds the lock is noted in its file, so one who is refused can be told what stands in the
// way: the program, or a command of the ledger tool that will end by itself.
inline constexpr std::string_view kProgramHolder = "sorakado";

// Why the lock could not be had.
struct LockRefusal {
    enum class Why { Program, OtherHolder, Unusable };
    Why why = Why::Program;
    std::string holder;             // OtherHolder: its note, such as "sorakado-ledger restore"
    std::filesystem::path lockFile; // Unusable: the file that cannot be locked, and why
    std::string detail;
};

class ProgramLock {
public:
    // What stood in the way of a lock for a ledger.
    enum class HeldBy {
        Nobody,
        ItsFolder,     // a program or tool working in the ledger's own folder
        ItsRealFolder, // one working in the folder the linked ledger's real file is in
    };

    // The lock of the folder, held by holder (the program unless told); nullopt while another
    // process holds it, or when it cannot be had at all, with the reason in refused.
    static std::optional<ProgramLock> tryTakeIn(const std::filesystem::path& folder,
                                                std::string_view holder = kProgramHolder,
                                                LockRefusal* refused = nullptr);
    // The lock of the program that opens ledger, the one in the ledger's folder, and, for a
    // ledger that is a link, the lock of its real file's folder as well; held both or neither.
    static std::optional<ProgramLock> tryTakeFor(const std::filesystem::path& ledger,
                                                 HeldBy* heldBy = nullptr,
                                                 std::string_view holder = kProgramHolder,
                                                 LockRefusal* refused = nullptr);

    // Whether a program (or a tool working on its ledger) holds the folder's lock now. Only asks:
    // takes nothing that a starting program could meet.
    static bool heldIn(const std::filesystem::path& folder);
    static bool heldFor(const std::filesystem::path& ledger);

    // The file whose lock stands for the folder.
    static std::filesystem::path lockPathIn(const std::filesystem::path& folder);
    // The folder a program file belongs to, links resolved.
    static std::filesystem::path folderOfProgram(const std::filesystem::path& program);
    // The folder of the file a linked ledger stands for, links resolved; empty when that is the
    // ledger's own folder (no link, or a link within it) or the ledger is not there.
    static std::filesystem::path realFolderOf(const std::filesystem::path& ledger);

private:
    explicit ProgramLock(platform::FileLock lock) : lock_(std::move(lock)) {}
    platform::FileLock lock_;
    std::optional<platform::FileLock> realFolderLock_;
};

} // namespace sorakado
