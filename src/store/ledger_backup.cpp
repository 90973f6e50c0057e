#include "ledger_backup.h"

#include "keyed_file.h"
#include "ledger_error.h"
#include "ledger_journal.h"
#include "platform/platform.h"
#include "sqlite_error.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace sorakado::backup {

namespace fs = std::filesystem;

namespace {

using detail::KeyedFile;

// Bytes read and written at a time; a multiple of every page size. Between steps the copy looks
// at its cancel flag.
constexpr std::int64_t kBytesPerStep = 4 << 20;

// A hidden name beside destination, made empty with mode 0600 whatever the umask.
fs::path createTemporary(const fs::path& destination) {
    platform::Outcome refused;
    if (auto made = platform::createTemporaryBeside(destination, "part", &refused))
        return *made;
    if (refused.failure == platform::Failure::Exists)
        throwAboutFile(LedgerError::Kind::Failed, "バックアップの一時ファイルを作れません。",
                       destination.parent_path());
    throwAboutFile(LedgerError::Kind::Failed,
                   "バックアップを書き込めません（" + platform::reasonText(refused) +
                       "）。保存先のフォルダーに書き込めるようにしてください。",
                   destination.parent_path());
}

void removeCopy(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::remove(fs::path(path.string() + "-journal"), ignored);
}

// The ledger's file opened through SQLite's own layer over the system, with no connection and
// no key, so the copy pays for no key derivation while it holds the ledger still. Its locks are
// the ones every connection of this process shares on the file, and closing it never drops
// another's (a descriptor of our own would drop them all, once closed).
class LockedSource {
public:
    explicit LockedSource(const fs::path& path)
        : path_(path), name_(platform::utf8Path(fs::absolute(path))), vfs_(sqlite3_vfs_find(nullptr)) {
        if (!vfs_)
            throwAboutFile(LedgerError::Kind::Failed, "台帳ファイルを開けません。", path);
        // SQLite says only "disk I/O error" of a folder where the file should be.
        if (platform::fileFacts(path).folder)
            throwAboutFile(LedgerError::Kind::NotLedger, kFolderInsteadOfLedger, path);
        journal::refuseLink(path);
        storage_.resize((std::size_t(vfs_->szOsFile) + sizeof(std::max_align_t) - 1) /
                        sizeof(std::max_align_t));
        file_ = reinterpret_cast<sqlite3_file*>(storage_.data());
        int opened = 0;
        if (const int rc =
                vfs_->xOpen(vfs_, name_.c_str(), file_, SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_READONLY, &opened);
            rc != SQLITE_OK) {
            close();
            throwAboutFile(errorKindOf(rc),
                           "台帳ファイルを開けません。（" + std::string(sqlite3_errstr(rc)) + "）", path);
        }
    }
    LockedSource(const LockedSource&) = delete;
    LockedSource& operator=(const LockedSource&) = delete;
    ~LockedSource() { close(); }

    // Takes the shared lock every reader takes: from here no writer, this program's own
    // connection included, changes a page until release(). A writer busy committing is waited
    // for a while; a journal left by a writer that stopped halfway means the file is not whole
    // and is not copied.
    void hold(const std::atomic<bool>* cancel) {
        for (int round = 0;; ++round) {
            const int rc = file_->pMethods->xLock(file_, SQLITE_LOCK_SHARED);
            if (rc == SQLITE_OK)
                break;
            if (rc != SQLITE_BUSY || round >= 400)
                throwAboutFile(LedgerError::Kind::Locked,
                               "台帳が他のプログラムで使用中のため、コピーできませんでした。", path_);
            if (cancel && cancel->load())
                throw Cancelled();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        held_ = true;
        int writing = 0;
        file_->pMethods->xCheckReservedLock(file_, &writing);
        if (!writing && journalIsHot())
            throwAboutFile(LedgerError::Kind::Locked,
                           "台帳に書きかけの変更が残っているため、コピーできませんでした。", path_);
    }
    void release() {
        if (held_)
            file_->pMethods->xUnlock(file_, SQLITE_LOCK_NONE);
        held_ = false;
    }

    std::int64_t size() {
        sqlite3_int64 bytes = 0;
        if (const int rc = file_->pMethods->xFileSize(file_, &bytes); rc != SQLITE_OK)
            failedToRead(rc);
        return bytes;
    }
    void read(char* into, int bytes, std::int64_t at) {
        if (const int rc = file_->pMethods->xRead(file_, into, bytes, at); rc != SQLITE_OK)
            failedToRead(rc);
    }

private:
    // A journal nobody writes that begins with its header holds pages a stopped change overwrote;
    // one that begins with zeros (or is empty) held nothing, and SQLite leaves it where it is.
    bool journalIsHot() const {
        std::ifstream journal(journal::pathOf(path_), std::ios::binary);
        char first = 0;
        return journal && journal.get(first) && first != 0;
    }
    [[noreturn]] void failedToRead(int rc) {
        throwAboutFile(LedgerError::Kind::Failed,
                       "台帳をコピーできませんでした。（" + std::string(sqlite3_errstr(rc)) + "）", path_);
    }
    void close() {
        release();
        if (file_ && file_->pMethods)
            file_->pMethods->xClose(file_);
        file_ = nullptr;
    }

    fs::path path_;
    std::string name_; // the name the file was opened by lives as long as the file
    sqlite3_vfs* vfs_;
    std::vector<std::max_align_t> storage_;
    sqlite3_file* file_ = nullptr;
    bool held_ = false;
};

// Copies the source's pages as they lie in the file, still encrypted, into the empty file at
// `to`: the copy opens with the same password, and no page is decrypted and encrypted again, so
// this part, the only one during which the ledger cannot be changed, stays short.
void copyPages(const fs::path& source, const fs::path& to, const std::atomic<bool>* cancel) {
    platform::Outcome refused;
    auto writer = platform::FileWriter::open(to, &refused);
    if (!writer)
        throwAboutFile(LedgerError::Kind::Failed,
                       "バックアップを書き込めません。（" + platform::reasonText(refused) + "）", to);

    LockedSource from(source);
    from.hold(cancel);
    const std::int64_t size = from.size();
    std::string buffer(std::size_t(kBytesPerStep), '\0');
    for (std::int64_t at = 0; at < size;) {
        if (cancel && cancel->load())
            throw Cancelled();
        const auto n = static_cast<int>(std::min<std::int64_t>(kBytesPerStep, size - at));
        from.read(buffer.data(), n, at);
        if (const platform::Outcome written = writer->append(std::string_view(buffer.data(), std::size_t(n)));
            !written)
            throwAboutFile(LedgerError::Kind::Failed,
                           "台帳をコピーできませんでした。（" + platform::reasonText(written) + "）", to);
        at += n;
    }
    from.release();
    if (const platform::Outcome closed = writer->close(); !closed)
        throwAboutFile(LedgerError::Kind::Failed,
                       "台帳をコピーできませんでした。（" + platform::reasonText(closed) + "）", to);
}

// Reads the copy back through a connection of its own: the password fits, every page and index
// is sound, and the ledger's tables are there.
void verifyCopy(const fs::path& copy, const fs::path& source, const fs::path& destination,
                const std::atomic<bool>* cancel) {
    KeyedFile check(copy, KeyedFile::Access::ReadOnly);
    try {
        check.proveReadable();
    } catch (const LedgerError& e) {
        // The pages are the source's own: a password that does not fit them is the source's fault.
        if (e.kind() != LedgerError::Kind::NotLedger)
            throw;
        throwAboutFile(
            LedgerError::Kind::NotLedger,
            "台帳ファイルを読めません。パスワードが違うか、Sorakadoの台帳ファイルではないか、壊れています。",
            source);
    }
    check.stopWhen(cancel);
    auto problems = check.integrityProblems();
    if (cancel && cancel->load())
        throw Cancelled(); // the check was cut short: its complaints say nothing of the copy
    if (!problems.empty())
        throwAboutFile(LedgerError::Kind::Failed,
                       "コピーを確かめると壊れていたため、バックアップにしませんでした。（" +
                           problems.front() + "）",
                       destination);
    if (!check.missingShape().empty())
        throwAboutFile(LedgerError::Kind::Failed,
                       "コピーに台帳の表がそろっていないため、バックアップにしませんでした。", destination);
}

// Gives the checked copy its name, never replacing a file that has that name.
void publish(const fs::path& temporary, const fs::path& destination) {
    if (const platform::Outcome published = platform::publishNew(temporary, destination); !published) {
        if (published.failure == platform::Failure::Exists)
            throwAboutFile(LedgerError::Kind::Exists,
                           "同じ名前のファイルがすでにあるため、バックアップを書き込みません。", destination);
        throwAboutFile(LedgerError::Kind::Failed,
                       "バックアップに名前を付けられませんでした。（" + published.detail + "）", destination);
    }
    detail::syncFolder(destination.parent_path());
}

// Temporary copies left by a run that was killed: a day old is surely not being written.
void removeStaleTemporaries(const fs::path& folder) {
    std::error_code ec;
    const auto dayAgo = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& item : fs::directory_iterator(folder, ec)) {
        const std::string name = item.path().filename().string();
        if (name.size() > 1 && name[0] == '.' && name.find(".part-") != std::string::npos) {
            std::error_code timeError;
            auto written = fs::last_write_time(item.path(), timeError);
            if (!timeError && written < dayAgo)
                fs::remove(item.path(), timeError);
        }
    }
}

} // namespace

fs::path folderFor(const fs::path& ledger) {
    return fs::absolute(ledger).parent_path() / kFolderName;
}

fs::path copyBeside(const fs::path& source, const fs::path& destination, const std::atomic<bool>* cancel,
                    const std::function<void()>& pagesCopied) {
    const fs::path temporary = createTemporary(destination);
    try {
        copyPages(source, temporary, cancel);
        if (pagesCopied)
            pagesCopied();
        verifyCopy(temporary, source, destination, cancel);
        detail::syncFile(temporary);
    } catch (...) {
        removeCopy(temporary);
        throw;
    }
    return temporary;
}

platform::Tidied copyLedger(const fs::path& source, const fs::path& destination,
                            const std::atomic<bool>* cancel) {
    platform::Tidied tidied = platform::tidyFolder(destination.parent_path());
    std::error_code taken;
    if (fs::exists(fs::symlink_status(destination, taken)))
        throwAboutFile(LedgerError::Kind::Exists,
                       "同じ名前のファイルがすでにあるため、バックアップを書き込みません。", destination);
    const fs::path temporary = copyBeside(source, destination, cancel);
    try {
        publish(temporary, destination);
    } catch (...) {
        removeCopy(temporary);
        throw;
    }
    return tidied;
}

std::vector<BackupCopy> copiesOf(const fs::path& ledger, const fs::path& folder) {
    const std::string stem = ledger.stem().string(), extension = ledger.extension().string();
    std::vector<BackupCopy> copies;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(folder, ec)) {
        const std::string name = item.path().filename().string();
        std::error_code typeError;
        if (!item.is_regular_file(typeError))
            continue;
        if (auto made = backupTime(name, stem, extension))
            copies.push_back({name, *made});
    }
    std::sort(copies.begin(), copies.end(), [](const auto& a, const auto& b) {
        return a.made != b.made ? a.made < b.made : a.name < b.name;
    });
    return copies;
}

fs::path keepCopy(const fs::path& ledger, TimePoint now, const std::atomic<bool>* cancel,
                  platform::Tidied* tidied, const std::function<void()>& pagesCopied) {
    const fs::path folder = folderFor(ledger);
    if (const platform::Outcome made = platform::createPrivateFolder(folder);
        !made && made.failure != platform::Failure::Exists)
        throwAboutFile(LedgerError::Kind::Failed,
                       "バックアップのフォルダーを作れません。（" + made.detail + "）", folder);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throwAboutFile(LedgerError::Kind::Failed,
                       "バックアップのフォルダーの場所に、フォルダーではないファイルがあります。", folder);

    // One copy, however many names it tries: the ledger may have changed once its pages were in.
    const std::string stem = ledger.stem().string(), extension = ledger.extension().string();
    // Tidied once, before the copy: the copy's folder is the same for every name.
    platform::Tidied done = platform::tidyFolder(folder);
    if (tidied)
        *tidied = std::move(done);
    const fs::path temporary =
        copyBeside(ledger, folder / backupName(stem, extension, now, 1), cancel, pagesCopied);
    try {
        for (int attempt = 1;; ++attempt) {
            const fs::path file = folder / backupName(stem, extension, now, attempt);
            try {
                publish(temporary, file);
                return file;
            } catch (const LedgerError& e) {
                if (e.kind() != LedgerError::Kind::Exists || attempt >= 50)
                    throw;
            }
        }
    } catch (...) {
        removeCopy(temporary);
        throw;
    }
}

BackupMade backUp(const fs::path& ledger, TimePoint now, const std::atomic<bool>* cancel,
                  const std::function<void()>& pagesCopied) {
    BackupMade made;
    made.file = keepCopy(ledger, now, cancel, &made.tidied, pagesCopied);
    // The ledger's own folder too: a restore killed there leaves a whole copy of a ledger, and
    // the program's start-up copy is the writer that comes by most often.
    made.tidiedBeside = platform::tidyFolder(fs::absolute(ledger).parent_path());
    const fs::path folder = made.file.parent_path();
    for (const auto& name : copiesToRemove(copiesOf(ledger, folder), now)) {
        if (folder / name == made.file)
            continue; // a clock set far back must not cost the copy just made
        std::error_code removeError;
        if (fs::remove(folder / name, removeError))
            made.removed.push_back(folder / name);
    }
    removeStaleTemporaries(folder);
    return made;
}

} // namespace sorakado::backup
