#include "import_leftovers.h"

#include "import_texts.h"
#include "legacy_import.h"

#include <algorithm>
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
    // ".NAME.import-<process>-<16 hex digits>", or without the process as earlier versions wrote.
    if (const auto whose = platform::readTemporaryName(name))
        return whose->writer == "import" && whose->finalName == targetName;
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
    platform::Outcome refused;
    auto lock = platform::FileLock::tryTake(path, &refused);
    if (!lock) {
        if (!refused)
            throw ImportError(texts::importLockFailed(path, refused.detail));
        return std::nullopt;
    }
    return ImportLock(std::move(*lock), path);
}

ImportLock::ImportLock(ImportLock&& other) noexcept
    : lock_(std::move(other.lock_)), path_(std::exchange(other.path_, {})) {}

ImportLock::~ImportLock() {
    if (!path_.empty())
        platform::removeFile(path_); // removed while still held, so the next import finds a new file
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
        std::error_code removeError;
        if (fs::remove(entry.path(), removeError))
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
