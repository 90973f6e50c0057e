#include "import_leftovers.h"

#include "import_texts.h"
#include "legacy_import.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sorakado::legacy {

namespace {

namespace fs = std::filesystem;
namespace texts = import_texts;

constexpr std::size_t kSuffixDigits = 16;
constexpr const char* kJournal = "-journal";

bool isHexDigits(const std::string& s) {
    if (s.size() != kSuffixDigits)
        return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

bool isImportTemporaryName(const std::string& name, const std::string& targetName) {
    const std::string prefix = "." + targetName + ".import-";
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    std::string rest = name.substr(prefix.size());
    const std::string journal = kJournal;
    if (rest.size() > journal.size() &&
        rest.compare(rest.size() - journal.size(), journal.size(), journal) == 0)
        rest.erase(rest.size() - journal.size());
    return isHexDigits(rest);
}

std::optional<ImportLock> ImportLock::tryTake(const fs::path& target) {
    const fs::path path = target.parent_path() / ("." + target.filename().string() + ".import.lock");
    for (;;) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            throw ImportError(texts::importLockFailed(path, std::strerror(errno)));
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return std::nullopt;
            throw ImportError(texts::importLockFailed(path, std::strerror(error)));
        }
        // A finishing import removes the file while it still holds it: a lock on a file no
        // longer under the name is worth nothing, so take the one that is.
        struct stat held {
        }, named{};
        if (::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino)
            return ImportLock(fd, path);
        ::close(fd);
    }
}

ImportLock::ImportLock(ImportLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

ImportLock::~ImportLock() {
    if (fd_ < 0)
        return;
    ::unlink(path_.c_str());
    ::close(fd_);
}

std::vector<std::string> removeImportLeftovers(const fs::path& target, const ImportLock&) {
    std::vector<std::string> removed;
    std::error_code ec;
    const std::string targetName = target.filename().string();
    for (const auto& entry : fs::directory_iterator(target.parent_path(), ec)) {
        std::string name = entry.path().filename().string();
        std::error_code typeError;
        if (!isImportTemporaryName(name, targetName) || !entry.is_regular_file(typeError) ||
            entry.is_symlink(typeError))
            continue;
        if (::unlink(entry.path().c_str()) == 0)
            removed.push_back(name);
    }
    std::sort(removed.begin(), removed.end());
    return removed;
}

std::optional<std::vector<std::string>> cleanImportLeftovers(const fs::path& target) {
    auto lock = ImportLock::tryTake(fs::absolute(target));
    if (!lock)
        return std::nullopt;
    return removeImportLeftovers(fs::absolute(target), *lock);
}

} // namespace sorakado::legacy
