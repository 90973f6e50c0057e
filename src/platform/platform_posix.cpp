// The platform on Linux (and, save renameat2 and malloc_trim, any POSIX system).

#include "platform.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <pwd.h>
#include <random>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace sorakado::platform {

namespace fs = std::filesystem;

namespace {

// The test seams: process-wide switches by nature, as the file system and the kill they stand
// for are.
std::atomic<bool> refuseNoReplace{false};
std::atomic<int> killStep{-1};
std::atomic<int> killCountdown{0};

void reached(Step step) {
    if (killStep.load() == static_cast<int>(step) && killCountdown.fetch_sub(1) == 1)
        ::raise(SIGKILL);
}

Outcome failed(int error) {
    Failure kind = Failure::Other;
    switch (error) {
    case EEXIST:
        kind = Failure::Exists;
        break;
    case ENOENT:
        kind = Failure::Missing;
        break;
    case ENOTDIR:
        kind = Failure::BrokenPath;
        break;
    case EACCES:
    case EPERM:
        kind = Failure::NoPermission;
        break;
    case EROFS:
        kind = Failure::ReadOnlyPlace;
        break;
    case ENOSPC:
    case EDQUOT:
        kind = Failure::DiskFull;
        break;
    case ENOSYS:
    case ENOTSUP:
        kind = Failure::NotSupported;
        break;
    default:
        break;
    }
    return {kind, std::strerror(error)};
}

Outcome lastError() {
    return failed(errno);
}

const char* folderOrHere(const fs::path& folder) {
    return folder.empty() ? "." : folder.c_str();
}

Outcome syncOpened(const char* path, int flags) {
    int fd = ::open(path, flags);
    if (fd < 0)
        return lastError();
    Outcome out;
    if (::fsync(fd) != 0)
        out = lastError();
    ::close(fd);
    return out;
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(std::size_t(n));
    }
    return true;
}

std::string readAll(int fd) {
    std::string data;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return data;
        data.append(buffer, std::size_t(n));
    }
}

// A name for a folder that fits in one file name: FNV-1a over its path.
std::string folderKey(const fs::path& folder) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : folder.string()) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

} // namespace

std::string reasonText(const Outcome& o) {
    switch (o.failure) {
    case Failure::NoPermission:
        return "書き込む権限がありません";
    case Failure::ReadOnlyPlace:
        return "読み取り専用の場所です";
    case Failure::DiskFull:
        return "ディスクの空きが足りません";
    case Failure::Missing:
    case Failure::BrokenPath:
        return "見つかりません";
    default:
        return o.detail;
    }
}

Outcome createPrivateFile(const fs::path& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return lastError();
    ::fchmod(fd, 0600); // whatever the umask says
    ::close(fd);
    return {};
}

Outcome createPrivateFolder(const fs::path& path) {
    if (::mkdir(path.c_str(), 0700) != 0)
        return lastError();
    return {};
}

namespace {
Outcome writeWhole(const fs::path& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return lastError();
    Outcome out;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        out = lastError();
    if (::close(fd) != 0 && out.ok())
        out = lastError();
    return out;
}
} // namespace

Outcome writeDurably(const fs::path& path, std::string_view bytes) {
    Outcome out = writeWhole(path, bytes);
    if (out)
        reached(Step::FileWritten);
    return out;
}

std::optional<FileWriter> FileWriter::open(const fs::path& path, Outcome* failure) {
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        if (failure)
            *failure = lastError();
        return std::nullopt;
    }
    return FileWriter(fd);
}

FileWriter::FileWriter(FileWriter&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

FileWriter& FileWriter::operator=(FileWriter&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

FileWriter::~FileWriter() {
    close();
}

Outcome FileWriter::append(std::string_view bytes) {
    if (handle_ < 0)
        return failed(EBADF);
    const int fd = static_cast<int>(handle_);
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return lastError();
        if (n == 0)
            return failed(ENOSPC); // a write that takes nothing and says nothing: the disk is full
        bytes.remove_prefix(std::size_t(n));
    }
    return {};
}

Outcome FileWriter::close() {
    if (handle_ < 0)
        return {};
    const int fd = static_cast<int>(std::exchange(handle_, -1));
    if (::close(fd) != 0)
        return lastError();
    return {};
}

Outcome syncFile(const fs::path& path) {
    Outcome out = syncOpened(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (out)
        reached(Step::FileWritten);
    return out;
}

Outcome syncFolder(const fs::path& folder) {
    return syncOpened(folderOrHere(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

Outcome publishNew(const fs::path& from, const fs::path& to) {
    if (!refuseNoReplace.load()) {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
            reached(Step::Renamed);
            return {};
        }
        // A file system without the flag answers EINVAL; a kernel without the call, ENOSYS.
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
            return lastError();
    }
    // A file system without the no-replace rename: link() refuses an existing name just as well.
    if (::link(from.c_str(), to.c_str()) != 0)
        return lastError();
    ::unlink(from.c_str());
    reached(Step::Renamed);
    return {};
}

Outcome replaceAtomically(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return lastError();
    reached(Step::Renamed);
    return {};
}

fs::path temporaryNameBeside(const fs::path& final, std::string_view writer) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, "%lld-%016llx", static_cast<long long>(::getpid()),
                  static_cast<unsigned long long>(random()));
    return final.parent_path() / ("." + final.filename().string() + "." + std::string(writer) + "-" + suffix);
}

namespace {

std::optional<fs::path> makeTemporary(const fs::path& final, std::string_view writer, Outcome* failure) {
    Outcome last;
    for (int attempt = 0; attempt < 20; ++attempt) {
        fs::path candidate = temporaryNameBeside(final, writer);
        last = createPrivateFile(candidate);
        if (last.ok())
            return candidate;
        if (last.failure != Failure::Exists)
            break;
    }
    if (failure)
        *failure = last;
    return std::nullopt;
}

} // namespace

std::optional<fs::path> createTemporaryBeside(const fs::path& final, std::string_view writer,
                                              Outcome* failure) {
    auto made = makeTemporary(final, writer, failure);
    if (made)
        reached(Step::TemporaryMade);
    return made;
}

std::optional<TemporaryName> readTemporaryName(std::string_view name) {
    constexpr std::string_view journal = "-journal";
    if (name.size() > journal.size() && name.substr(name.size() - journal.size()) == journal)
        name.remove_suffix(journal.size());
    // ".NAME.<writer>-<process>-<16 hex digits>"
    constexpr std::size_t hexDigits = 16;
    if (name.size() < 1 + 1 + 1 + 1 + 1 + 1 + 1 + hexDigits || name.front() != '.')
        return std::nullopt;
    const std::string_view hex = name.substr(name.size() - hexDigits);
    for (char c : hex)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return std::nullopt;
    std::string_view rest = name.substr(0, name.size() - hexDigits);
    if (rest.back() != '-')
        return std::nullopt;
    rest.remove_suffix(1);
    const auto dash = rest.rfind('-');
    if (dash == std::string_view::npos || dash + 1 == rest.size() || rest.size() - dash - 1 > 18)
        return std::nullopt;
    std::int64_t process = 0;
    for (char c : rest.substr(dash + 1)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        process = process * 10 + (c - '0');
    }
    rest = rest.substr(0, dash);
    const auto dot = rest.rfind('.');
    if (dot == std::string_view::npos || dot < 2 || dot + 1 == rest.size())
        return std::nullopt;
    for (char c : rest.substr(dot + 1))
        if (c < 'a' || c > 'z')
            return std::nullopt;
    return TemporaryName{std::string(rest.substr(1, dot - 1)), std::string(rest.substr(dot + 1)), process};
}

void removeFile(const fs::path& path) {
    ::unlink(path.c_str());
}

FileFacts fileFacts(const fs::path& path) {
    FileFacts facts;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        facts.found = lastError();
        return facts;
    }
    facts.regular = S_ISREG(st.st_mode);
    facts.folder = S_ISDIR(st.st_mode);
    facts.size = static_cast<std::uintmax_t>(st.st_size);
    facts.markedReadOnly = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    facts.mode = static_cast<unsigned>(st.st_mode & 07777);
    facts.owner = std::to_string(st.st_uid);
    if (const passwd* pw = ::getpwuid(st.st_uid))
        facts.owner = pw->pw_name;
    return facts;
}

Outcome mayReadWrite(const fs::path& path) {
    if (::access(path.c_str(), R_OK | W_OK) != 0)
        return lastError();
    return {};
}

Outcome mayWriteInto(const fs::path& folder) {
    if (::access(folderOrHere(folder), W_OK | X_OK) != 0)
        return lastError();
    return {};
}

std::string utf8Path(const fs::path& path) {
    return path.string(); // the names the system keeps are bytes, UTF-8 on every desktop
}

void refuseNoReplaceRenameForTesting(bool refuse) {
    refuseNoReplace = refuse;
}

void killAfterForTesting(Step step, int nth) {
    killCountdown = nth;
    killStep = nth > 0 ? static_cast<int>(step) : -1;
}

// ---- what an interrupted writer leaves ----

namespace {

// The record's own name: a temporary file of the writer "set", so it is read as whose it is.
constexpr const char* kRecordStem = "sorakado-publish";
constexpr const char* kRecordWriter = "set";
constexpr const char* kRecordHead = "sorakado publish 1";
constexpr const char* kRecordEnd = "end";

// Names are written as hex, so no byte of a name can break a line.
std::string hexOf(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::optional<std::string> bytesOfHex(const std::string& hex) {
    if (hex.empty() || hex.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (char c : {hex[i], hex[i + 1]}) {
            value *= 16;
            if (c >= '0' && c <= '9')
                value += c - '0';
            else if (c >= 'a' && c <= 'f')
                value += c - 'a' + 10;
            else
                return std::nullopt;
        }
        out += static_cast<char>(value);
    }
    // A name inside the folder, nothing more.
    if (out.find('/') != std::string::npos || out.find('\0') != std::string::npos || out == "." ||
        out == "..")
        return std::nullopt;
    return out;
}

struct RecordedSet {
    bool replace = false;
    std::vector<std::pair<std::string, std::string>> moves;
};

// nullopt unless the record was written whole: a record cut short was written before any rename.
std::optional<RecordedSet> readRecord(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    const std::string text = readAll(fd);
    ::close(fd);
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = text.find('\n', at);
        if (end == std::string::npos)
            return std::nullopt; // the last line never ended
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    if (lines.size() < 3 || lines.front() != kRecordHead || lines.back() != kRecordEnd)
        return std::nullopt;
    RecordedSet set;
    if (lines[1] != "replace" && lines[1] != "new")
        return std::nullopt;
    set.replace = lines[1] == "replace";
    for (std::size_t i = 2; i + 1 < lines.size(); ++i) {
        const auto space = lines[i].find(' ');
        if (space == std::string::npos)
            return std::nullopt;
        auto from = bytesOfHex(lines[i].substr(0, space)), to = bytesOfHex(lines[i].substr(space + 1));
        if (!from || !to)
            return std::nullopt;
        set.moves.emplace_back(*from, *to);
    }
    return set;
}

// The writers of this program: a folder the user exports into may hold another program's files
// named the same way, and those are not ours to remove.
bool isOurWriter(const std::string& writer) {
    for (const char* ours : {"part", "export", "import", "writable", kRecordWriter})
        if (writer == ours)
            return true;
    return false;
}

bool isPlainFile(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Makes the renames a killed writer recorded and had not made yet. A final name another took
// since is not replaced (unless the set replaces): that file of the set is given up.
void finishRecordedSet(const fs::path& folder, const RecordedSet& set, Tidied& tidied) {
    for (const auto& [from, to] : set.moves) {
        const fs::path source = folder / from, target = folder / to;
        if (!isPlainFile(source))
            continue; // renamed before the kill
        const Outcome done = set.replace ? replaceAtomically(source, target) : publishNew(source, target);
        if (done)
            tidied.finished.push_back(target);
        else if (::unlink(source.c_str()) == 0)
            tidied.removed.push_back(from);
    }
}

} // namespace

std::optional<PublishRecord> PublishRecord::write(const fs::path& folder, const std::vector<Move>& moves,
                                                  bool replace, Outcome* failure) {
    std::string text = std::string(kRecordHead) + "\n" + (replace ? "replace" : "new") + "\n";
    for (const auto& move : moves)
        text += hexOf(move.from.filename().string()) + " " + hexOf(move.to.filename().string()) + "\n";
    text += std::string(kRecordEnd) + "\n";
    auto made = makeTemporary(folder / kRecordStem, kRecordWriter, failure);
    if (!made)
        return std::nullopt;
    Outcome written = writeWhole(*made, text);
    if (written)
        written = syncFolder(folder);
    if (!written) {
        ::unlink(made->c_str());
        if (failure)
            *failure = written;
        return std::nullopt;
    }
    return PublishRecord(*made);
}

PublishRecord::PublishRecord(PublishRecord&& other) noexcept : path_(std::exchange(other.path_, {})) {}

PublishRecord::~PublishRecord() {
    if (!path_.empty())
        ::unlink(path_.c_str());
}

Tidied tidyFolder(const fs::path& folderNamed) {
    const fs::path folder = folderNamed.empty() ? fs::path(".") : folderNamed;
    Tidied tidied;
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    bool changed = false;
    // The sets first: their temporary files are the set's files, not leftovers.
    for (const auto& name : names) {
        const auto whose = readTemporaryName(name);
        if (!whose || whose->writer != kRecordWriter || whose->finalName != kRecordStem ||
            processRuns(whose->process))
            continue;
        const fs::path record = folder / name;
        if (!isPlainFile(record))
            continue;
        if (const auto set = readRecord(record))
            finishRecordedSet(folder, *set, tidied);
        ::unlink(record.c_str());
        changed = true;
    }
    for (const auto& name : names) {
        const auto whose = readTemporaryName(name);
        if (!whose || !isOurWriter(whose->writer) || processRuns(whose->process) ||
            !isPlainFile(folder / name))
            continue;
        if (::unlink((folder / name).c_str()) == 0) {
            if (whose->writer != kRecordWriter)
                tidied.removed.push_back(name);
            changed = true;
        }
    }
    std::sort(tidied.removed.begin(), tidied.removed.end());
    tidied.removed.erase(std::unique(tidied.removed.begin(), tidied.removed.end()), tidied.removed.end());
    if (changed)
        syncFolder(folder);
    return tidied;
}

// ---- locks ----

std::optional<FileLock> FileLock::tryTake(const fs::path& path, Outcome* failure) {
    for (;;) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        // flock works on a file opened for reading, so a lock file another user made counts.
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            if (failure)
                *failure = lastError();
            return std::nullopt;
        }
        // heldElsewhere takes a shared lock for a moment while it asks; a few short tries tell
        // that apart from a holder.
        bool locked = false;
        for (int attempt = 0; attempt < 5 && !locked; ++attempt) {
            locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
            if (!locked && errno != EWOULDBLOCK)
                break;
            if (!locked && attempt < 4)
                ::usleep(10000);
        }
        if (!locked) {
            if (failure)
                *failure = errno == EWOULDBLOCK ? Outcome{} : lastError();
            ::close(fd);
            return std::nullopt;
        }
        // A holder that is done may remove the file while it still holds it: a lock on a file no
        // longer under the name is worth nothing, so take the one that is.
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino)
            return FileLock(fd);
        ::close(fd);
    }
}

bool FileLock::heldElsewhere(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false; // never locked since the file was made
    bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

void FileLock::writeNote(std::string_view note) {
    const int fd = static_cast<int>(handle_);
    // A lock file another user made is held through a descriptor for reading: its note stays.
    if (fd < 0 || ::ftruncate(fd, 0) != 0)
        return;
    [[maybe_unused]] const ssize_t written = ::pwrite(fd, note.data(), note.size(), 0);
}

std::string FileLock::noteOf(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return {};
    char buffer[256];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    ::close(fd);
    return n > 0 ? std::string(buffer, std::size_t(n)) : std::string();
}

FileLock::FileLock(FileLock&& other) noexcept : handle_(std::exchange(other.handle_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (handle_ >= 0)
            ::close(static_cast<int>(handle_));
        handle_ = std::exchange(other.handle_, -1);
    }
    return *this;
}

FileLock::~FileLock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_)); // closing the last descriptor drops the lock
}

fs::path folderLockPath(const fs::path& folder) {
    std::error_code ec;
    fs::path canonical = fs::canonical(folder, ec);
    if (ec)
        canonical = fs::absolute(folder).lexically_normal();
    const fs::path inside = canonical / ".sorakado.lock";
    if (::access(inside.c_str(), F_OK) == 0 || ::access(canonical.c_str(), W_OK) == 0)
        return inside;
    // The user's runtime folder at its fixed place, else a per-user name in /tmp: never read
    // from the environment, so every launch of one user finds the same file.
    const uid_t uid = ::getuid();
    const fs::path runtime = "/run/user/" + std::to_string(uid);
    struct stat st {};
    if (::stat(runtime.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
        ::access(runtime.c_str(), W_OK) == 0)
        return runtime / ("sorakado-" + folderKey(canonical) + ".lock");
    return fs::path("/tmp") / ("sorakado-" + std::to_string(uid) + "-" + folderKey(canonical) + ".lock");
}

// ---- the program and its process ----

fs::path programFile() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self;
}

std::int64_t processId() {
    return ::getpid();
}

bool processRuns(std::int64_t id) {
    if (id <= 0 || id != static_cast<pid_t>(id))
        return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

void returnFreeMemory() {
    ::malloc_trim(0);
}

ChildRun runInChildProcess(const std::function<std::string()>& work, unsigned cpuSeconds) {
    ChildRun run;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return run;
    std::fflush(nullptr); // nothing buffered may be written twice
    const pid_t parent = ::getpid();
    pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return run;
    }
    if (child == 0) {
        // The child's whole life: work, hand the result over, end without running anything of
        // the parent's (no atexit handlers, no flushing of the parent's buffered output). A
        // crash here is an answer about the input, not a fault to keep a core file of.
        ::close(pipeEnds[0]);
        // The child works for its parent alone: when the parent ends, killed or not, the system
        // ends the child too, so it never reads on with nobody to hand the result to (and never
        // keeps the parent's locks, which it shares). A parent gone before the request took hold
        // is caught by asking who the parent is now.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(3);
        struct rlimit noCore {};
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (cpuSeconds > 0) {
            // SIGXCPU at the limit ends the child; SIGKILL a second later if it is caught.
            struct rlimit cpu {};
            cpu.rlim_cur = cpuSeconds;
            cpu.rlim_max = cpuSeconds + 1;
            ::setrlimit(RLIMIT_CPU, &cpu);
        }
        int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (quiet >= 0) {
            ::dup2(quiet, STDOUT_FILENO);
            ::dup2(quiet, STDERR_FILENO);
        }
        try {
            ::_exit(writeAll(pipeEnds[1], work()) ? 0 : 2);
        } catch (...) {
            ::_exit(2);
        }
    }
    run.started = true;
    ::close(pipeEnds[1]);
    run.output = readAll(pipeEnds[0]);
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace sorakado::platform
