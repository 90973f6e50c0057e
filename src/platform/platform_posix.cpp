// The platform on Linux (and, save renameat2 and malloc_trim, any POSIX system).

#include "platform.h"

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

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace sorakado::platform {

namespace fs = std::filesystem;

namespace {

// The test seam: a process-wide switch by nature, as the file system it stands for is.
std::atomic<bool> refuseNoReplace{false};

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

Outcome writeDurably(const fs::path& path, std::string_view bytes) {
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

Outcome syncFile(const fs::path& path) {
    return syncOpened(path.c_str(), O_RDONLY | O_CLOEXEC);
}

Outcome syncFolder(const fs::path& folder) {
    return syncOpened(folderOrHere(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

Outcome publishNew(const fs::path& from, const fs::path& to) {
    if (!refuseNoReplace.load()) {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return {};
        // A file system without the flag answers EINVAL; a kernel without the call, ENOSYS.
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
            return lastError();
    }
    // A file system without the no-replace rename: link() refuses an existing name just as well.
    if (::link(from.c_str(), to.c_str()) != 0)
        return lastError();
    ::unlink(from.c_str());
    return {};
}

Outcome replaceAtomically(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return lastError();
    return {};
}

std::optional<fs::path> createTemporaryBeside(const fs::path& final, std::string_view writer,
                                              Outcome* failure) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    Outcome last;
    for (int attempt = 0; attempt < 20; ++attempt) {
        char suffix[40];
        std::snprintf(suffix, sizeof suffix, "%lld-%016llx", static_cast<long long>(::getpid()),
                      static_cast<unsigned long long>(random()));
        fs::path candidate = final.parent_path() /
                             ("." + final.filename().string() + "." + std::string(writer) + "-" + suffix);
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

#if defined(__x86_64__) || defined(__i386__)
namespace {
__attribute__((target("avx"))) void zeroUpper() {
    _mm256_zeroupper();
}
} // namespace

void clearUpperVectorState() {
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        zeroUpper();
}
#else
void clearUpperVectorState() {}
#endif

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
