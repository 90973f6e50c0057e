#include "folder_lock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sorakado::instance {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLockName = ".sorakado.lock";

fs::path canonicalFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path canonical = fs::canonical(folder, ec);
    return ec ? fs::absolute(folder).lexically_normal() : canonical;
}

// A name for the folder that fits in one file name: FNV-1a over its canonical path.
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

// The user's runtime folder at its fixed place, else a per-user name in /tmp: never read from
// the environment, so every launch of one user finds the same file.
fs::path fallbackLockPath(const fs::path& folder) {
    const uid_t uid = ::getuid();
    const fs::path runtime = "/run/user/" + std::to_string(uid);
    struct stat st {};
    std::string name = "sorakado-" + folderKey(folder) + ".lock";
    if (::stat(runtime.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
        ::access(runtime.c_str(), W_OK) == 0)
        return runtime / name;
    return fs::path("/tmp") / ("sorakado-" + std::to_string(uid) + "-" + folderKey(folder) + ".lock");
}

bool folderHoldsLockFile(const fs::path& folder) {
    const fs::path inside = folder / kLockName;
    return ::access(inside.c_str(), F_OK) == 0 || ::access(folder.c_str(), W_OK) == 0;
}

// Opens (making it when needed) the lock file, for locking only: flock works on a file opened
// for reading, so a lock file another user made still counts.
int openLockFile(const fs::path& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    return fd;
}

} // namespace

fs::path FolderLock::lockPathFor(const fs::path& folder) {
    const fs::path canonical = canonicalFolder(folder);
    return folderHoldsLockFile(canonical) ? canonical / kLockName : fallbackLockPath(canonical);
}

std::optional<FolderLock> FolderLock::tryTake(const fs::path& folder) {
    int fd = openLockFile(lockPathFor(folder));
    if (fd < 0)
        return std::nullopt;
    // programRunsIn holds a shared lock for a moment while it asks; a few short tries tell that
    // apart from a program that holds the lock.
    for (int attempt = 0;; ++attempt) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return FolderLock(fd);
        if (errno != EWOULDBLOCK || attempt == 4) {
            ::close(fd);
            return std::nullopt;
        }
        ::usleep(10000);
    }
}

FolderLock::FolderLock(FolderLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FolderLock::~FolderLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing the last descriptor drops the lock
}

bool programRunsIn(const fs::path& folder) {
    int fd = ::open(FolderLock::lockPathFor(folder).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false; // never locked here since the file was made
    bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

fs::path programFolder(const fs::path& program) {
    std::error_code ec;
    fs::path canonical = fs::canonical(program, ec);
    return (ec ? fs::absolute(program) : canonical).parent_path();
}

} // namespace sorakado::instance
