#include "ledger_backup.h"

#include "keyed_file.h"
#include "ledger_error.h"
#include "platform/platform.h"
#include "sqlite_error.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <optional>
#include <string>

namespace sorakado::backup {

namespace fs = std::filesystem;

namespace {

using detail::KeyedFile;

// Bytes read and written at a time; a multiple of every page size. Between steps the copy looks
// at its cancel flag.
constexpr sqlite3_int64 kBytesPerStep = 4 << 20;

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

// Ends the read transaction that holds the source still, however the copy ends.
class ReadTransaction {
public:
    explicit ReadTransaction(KeyedFile& file) : file_(file) {
        file_.exec("BEGIN", "台帳のコピー");
        try {
            // The first read takes the shared lock; from here no writer changes a page.
            Statement first(file_.handle(), "SELECT count(*) FROM sqlite_master", "台帳のコピー");
            first.step();
        } catch (...) {
            end();
            throw;
        }
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;
    ~ReadTransaction() { end(); }

private:
    void end() { sqlite3_exec(file_.handle(), "ROLLBACK", nullptr, nullptr, nullptr); }
    KeyedFile& file_;
};

// Copies the source's pages as they lie in the file, still encrypted, into the empty file at
// `to`: the copy opens with the same password, and no page is decrypted and encrypted again, so
// this part, the only one during which the ledger cannot be changed, stays short. A read
// transaction holds the file still meanwhile, against this program's own connection too.
//
// The pages are read through SQLite's own handle of the file: closing a descriptor of our own
// would drop every lock this process holds on it, the program's connection's included.
void copyPages(KeyedFile& from, const fs::path& to, const std::atomic<bool>* cancel) {
    platform::Outcome refused;
    auto writer = platform::FileWriter::open(to, &refused);
    if (!writer)
        throwAboutFile(LedgerError::Kind::Failed,
                       "バックアップを書き込めません。（" + platform::reasonText(refused) + "）", to);

    std::optional<ReadTransaction> still;
    try {
        still.emplace(from);
    } catch (const LedgerError& e) {
        if (e.kind() == LedgerError::Kind::Locked)
            throwAboutFile(LedgerError::Kind::Locked,
                           "台帳が他のプログラムで使用中のため、コピーできませんでした。", from.path());
        throw;
    }
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(from.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        throwAboutFile(LedgerError::Kind::Failed, "台帳をコピーできません。（ファイルを読めません）",
                       from.path());
    sqlite3_int64 size = 0;
    if (const int rc = file->pMethods->xFileSize(file, &size); rc != SQLITE_OK)
        throwAboutFile(LedgerError::Kind::Failed,
                       "台帳をコピーできませんでした。（" + std::string(sqlite3_errstr(rc)) + "）",
                       from.path());

    std::string buffer(kBytesPerStep, '\0');
    for (sqlite3_int64 at = 0; at < size;) {
        if (cancel && cancel->load())
            throw Cancelled();
        const auto n = static_cast<int>(std::min<sqlite3_int64>(kBytesPerStep, size - at));
        if (const int rc = file->pMethods->xRead(file, buffer.data(), n, at); rc != SQLITE_OK)
            throwAboutFile(LedgerError::Kind::Failed,
                           "台帳をコピーできませんでした。（" + std::string(sqlite3_errstr(rc)) + "）",
                           from.path());
        if (const platform::Outcome written = writer->append(std::string_view(buffer.data(), std::size_t(n)));
            !written)
            throwAboutFile(LedgerError::Kind::Failed,
                           "台帳をコピーできませんでした。（" + platform::reasonText(written) + "）", to);
        at += n;
    }
    if (const platform::Outcome closed = writer->close(); !closed)
        throwAboutFile(LedgerError::Kind::Failed,
                       "台帳をコピーできませんでした。（" + platform::reasonText(closed) + "）", to);
}

// Reads the copy back through a connection of its own: the password fits, every page and index
// is sound, and the ledger's tables are there.
void verifyCopy(const fs::path& copy, const fs::path& destination, const std::atomic<bool>* cancel) {
    KeyedFile check(copy, KeyedFile::Access::ReadOnly);
    check.proveReadable();
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
    std::optional<KeyedFile> from(std::in_place, source, KeyedFile::Access::ReadOnly);
    from->proveReadable();

    const fs::path temporary = createTemporary(destination);
    try {
        copyPages(*from, temporary, cancel);
        from.reset();
        if (pagesCopied)
            pagesCopied();
        verifyCopy(temporary, destination, cancel);
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
