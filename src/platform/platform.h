#pragma once

// Every call the program makes into the operating system, behind one header. The callers speak
// of files, folders, locks and processes; how a system does each lives in platform_<system>.cpp
// (platform_posix.cpp today), so another system is one more such file and no caller changes.
// No Qt here: the store and the ledger tool use it as they are.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorakado::platform {

// Why a call failed, in the kinds the callers tell apart; detail is the system's own words.
// BrokenPath: a part of the path on the way is not a folder.
enum class Failure {
    None,
    Exists,
    Missing,
    BrokenPath,
    NoPermission,
    ReadOnlyPlace,
    DiskFull,
    NotSupported,
    Other
};

struct Outcome {
    Failure failure = Failure::None;
    std::string detail;
    bool ok() const { return failure == Failure::None; }
    explicit operator bool() const { return ok(); }
};

// The usual causes in the user's language; the system's own words for the rest.
std::string reasonText(const Outcome& failed);

// ---- files and folders ----

// A new, empty file readable and writable by this user alone (0600 whatever the umask); Exists
// when the name is taken.
Outcome createPrivateFile(const std::filesystem::path& path);
// A new folder only this user may enter (0700); Exists when the name is taken, by anything.
Outcome createPrivateFolder(const std::filesystem::path& path);
// Writes bytes as the whole of an existing file and waits until they are on the disk.
Outcome writeDurably(const std::filesystem::path& path, std::string_view bytes);
// Waits until what was written to the file, or the names given or taken in the folder, are on
// the disk.
Outcome syncFile(const std::filesystem::path& path);
Outcome syncFolder(const std::filesystem::path& folder);
// Gives `from` the name `to` without ever replacing a file that has it (Exists), even one that
// appeared a moment ago; where the file system cannot rename that way, a second link and the
// removal of the first do the same.
Outcome publishNew(const std::filesystem::path& from, const std::filesystem::path& to);
// Puts `from` in the place of `to` in one step: a reader finds the old file or the new one.
Outcome replaceAtomically(const std::filesystem::path& from, const std::filesystem::path& to);
// A new private, empty file beside `final`, hidden and named for its writer and this process:
// ".NAME.<writer>-<process>-<16 hex digits>". nullopt, with failure filled in, when the folder
// takes no file.
std::optional<std::filesystem::path> createTemporaryBeside(const std::filesystem::path& final,
                                                           std::string_view writer, Outcome* failure);
// Such a name, not yet taken, for a writer that makes the file itself (a new ledger): writer is
// lower-case letters.
std::filesystem::path temporaryNameBeside(const std::filesystem::path& final, std::string_view writer);

// Whose a temporary file is, read from its name (a SQLite journal of one, NAME-journal, counts as
// the file's own). nullopt for any other name.
struct TemporaryName {
    std::string finalName;
    std::string writer;
    std::int64_t process = 0;
};
std::optional<TemporaryName> readTemporaryName(std::string_view fileName);

// ---- what an interrupted writer leaves ----

// Files renamed into place as one: written to the disk before the first of them is renamed, the
// record lets the next writer in the folder finish the set when this one is killed among the
// renames, so a reader finds every file or none. Every name is inside one folder.
struct Move {
    std::filesystem::path from;
    std::filesystem::path to;
};
class PublishRecord {
public:
    // replace: the renames may replace files (replaceAtomically), else they never do (publishNew).
    // nullopt, with failure filled in, when the record cannot be written.
    static std::optional<PublishRecord> write(const std::filesystem::path& folder,
                                              const std::vector<Move>& moves, bool replace, Outcome* failure);
    PublishRecord(PublishRecord&& other) noexcept;
    PublishRecord& operator=(PublishRecord&&) = delete;
    PublishRecord(const PublishRecord&) = delete;
    PublishRecord& operator=(const PublishRecord&) = delete;
    // Removes the record: the renames are all made, or undone by the writer itself.
    ~PublishRecord();

private:
    explicit PublishRecord(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

struct Tidied {
    std::vector<std::filesystem::path> finished; // names a killed writer's set was completed with
    std::vector<std::string> removed;            // temporary files of writers no longer running
    bool empty() const { return finished.empty() && removed.empty(); }
};
// What writers that are no longer running left in the folder: their recorded sets of renames are
// finished, then their temporary files (and the journals of those) removed. The files of a
// writer still running, this process's among them, and every other file are left alone (a name
// of that shape counts only for the writers of this program: part, export, import, writable).
// Every writer calls it before it starts writing into a folder.
Tidied tidyFolder(const std::filesystem::path& folder);
// Removes a file; a name already gone counts as removed.
void removeFile(const std::filesystem::path& path);

// An existing file written afresh from its start, piece by piece, without waiting for the disk
// (syncFile does that once the whole is written). Closed when the object goes.
class FileWriter {
public:
    // Opens the file and empties it; nullopt, with failure filled in, when it cannot.
    static std::optional<FileWriter> open(const std::filesystem::path& path, Outcome* failure);

    FileWriter(FileWriter&& other) noexcept;
    FileWriter& operator=(FileWriter&& other) noexcept;
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;
    ~FileWriter();

    // Adds bytes after what was written so far.
    Outcome append(std::string_view bytes);
    // Closes the file now, saying whether the system took everything written.
    Outcome close();

private:
    explicit FileWriter(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = -1;
};

// What a caller needs to know of a file before it opens it.
struct FileFacts {
    Outcome found;        // Missing, NoPermission (a folder on the way), Other
    bool regular = false; // a plain file, not a folder or a device
    bool folder = false;
    std::uintmax_t size = 0;
    bool markedReadOnly = false; // nobody has a write bit
    std::string owner;           // the owner's user name, or number
    unsigned mode = 0;           // the permission bits, 0644 and the like
};
FileFacts fileFacts(const std::filesystem::path& path);
// Whether this user may read and write the file (NoPermission, ReadOnlyPlace), or write into the
// folder and enter it.
Outcome mayReadWrite(const std::filesystem::path& path);
Outcome mayWriteInto(const std::filesystem::path& folder);

// A path as the SQLite and mdbtools C interfaces take it: UTF-8.
std::string utf8Path(const std::filesystem::path& path);

// The test seam of publishNew: while set, the no-replace rename is refused as a file system
// without it refuses it, so the fallback runs.
void refuseNoReplaceRenameForTesting(bool refuse);

// The test seam of crash trials: the process is killed (SIGKILL, nothing runs after) right after
// the nth call (from 1) of one of these steps succeeds; 0 turns it off. For a child process.
enum class Step { TemporaryMade, FileWritten, Renamed };
void killAfterForTesting(Step step, int nth);

// ---- locks ----

// An exclusive lock on a file, held while the object lives; the system drops it when the
// process ends, however it ends.
class FileLock {
public:
    // Opens (making it, 0600, when needed) and locks the file; nullopt when another process
    // holds it. Throws nothing: a file that cannot be made is reported in failure.
    static std::optional<FileLock> tryTake(const std::filesystem::path& path, Outcome* failure = nullptr);
    // Whether another process holds the lock of that file now.
    static bool heldElsewhere(const std::filesystem::path& path);
    // A short note in the locked file, such as who holds it, for those who find it held; and the
    // note of a lock file (empty when none can be read).
    void writeNote(std::string_view note);
    static std::string noteOf(const std::filesystem::path& path);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

private:
    explicit FileLock(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = -1;
};

// The lock that stands for a folder: ".sorakado.lock" inside it, or, when the folder cannot hold
// that file, one in the user's own runtime folder named after the folder.
std::filesystem::path folderLockPath(const std::filesystem::path& folder);

// ---- the program and its process ----

// The program file now running, links resolved; empty when the system cannot say.
std::filesystem::path programFile();
// This process's number, for names that say whose a file is; and whether the process with
// that number on this machine is still running.
std::int64_t processId();
bool processRuns(std::int64_t id);
// Hands memory freed on other threads back to the system.
void returnFreeMemory();

// Clears the upper halves of the vector registers where the processor has them. Qt's drawing
// code can leave them in use, and the cipher's SHA and AES code built without AVX then pays a
// transition penalty on every instruction, running at half speed. Called where a batch of ledger
// work begins (a key's derivation, a transaction, a snapshot): once costs nothing measurable.
void clearUpperVectorState();

// Runs work in a child process, so a crash there ends only the child: its standard output and
// error go nowhere, it leaves no core file. What work returns comes back as output when the
// child finished normally. A child that has used cpuSeconds of processor time (0: no limit) is
// ended by the system, as one caught in an endless loop must be. The child ends with the thread
// that started it: a parent killed while it waits leaves no child behind.
struct ChildRun {
    bool started = false;
    bool finished = false;
    std::string output;
};
ChildRun runInChildProcess(const std::function<std::string()>& work, unsigned cpuSeconds = 0);

} // namespace sorakado::platform
