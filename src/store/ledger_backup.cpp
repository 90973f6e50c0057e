#include "ledger_backup.h"

#include "keyed_file.h"
#include "ledger_error.h"
#include "platform/platform.h"
#include "sqlite_error.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace sorakado::backup {

namespace fs = std::filesystem;

namespace {

using detail::KeyedFile;

// Pages copied per step: between steps the copy looks at its cancel flag and lets writers in.
constexpr int kPagesPerStep = 2048;

std::string sqliteWhy(int rc, sqlite3* db) {
    if ((rc & 0xFF) == SQLITE_FULL)
        return "ディスクがいっぱいです";
    if ((rc & 0xFF) == SQLITE_IOERR || (rc & 0xFF) == SQLITE_CANTOPEN || (rc & 0xFF) == SQLITE_READONLY)
        return std::string("書き込めません: ") + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    return db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
}

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

void pageCopy(KeyedFile& from, KeyedFile& to, const std::atomic<bool>* cancel) {
    sqlite3_backup* copy = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
    if (!copy)
        throwAboutFile(LedgerError::Kind::Failed,
                       "台帳をコピーできません。（" + std::string(sqlite3_errmsg(to.handle())) + "）",
                       from.path());
    int rc = SQLITE_OK;
    int busyRounds = 0;
    while (true) {
        if (cancel && cancel->load()) {
            sqlite3_backup_finish(copy);
            throw Cancelled();
        }
        rc = sqlite3_backup_step(copy, kPagesPerStep);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_OK)
            continue;
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && ++busyRounds < 200) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25)); // another program is writing
            continue;
        }
        break;
    }
    sqlite3_backup_finish(copy);
    if (rc != SQLITE_DONE) {
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            throwAboutFile(LedgerError::Kind::Locked,
                           "台帳が他のプログラムで使用中のため、コピーできませんでした。", from.path());
        throwAboutFile(LedgerError::Kind::Failed,
                       "台帳をコピーできませんでした。（" + sqliteWhy(rc, to.handle()) + "）", to.path());
    }
}

// Reads the copy back through a connection of its own: the password fits, every page and index
// is sound, and the ledger's tables are there.
void verifyCopy(const fs::path& copy, const fs::path& destination) {
    KeyedFile check(copy, KeyedFile::Access::ReadOnly);
    check.proveReadable();
    auto problems = check.integrityProblems();
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

fs::path copyBeside(const fs::path& source, const fs::path& destination, const std::atomic<bool>* cancel) {
    KeyedFile from(source, KeyedFile::Access::ReadOnly);
    from.proveReadable();

    const fs::path temporary = createTemporary(destination);
    try {
        {
            KeyedFile to(temporary, KeyedFile::Access::ReadWrite);
            to.exec("PRAGMA synchronous = FULL", "バックアップの設定");
            to.keepCacheSmall();
            pageCopy(from, to, cancel);
        }
        verifyCopy(temporary, destination);
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
                  platform::Tidied* tidied) {
    const fs::path folder = folderFor(ledger);
    if (const platform::Outcome made = platform::createPrivateFolder(folder);
        !made && made.failure != platform::Failure::Exists)
        throwAboutFile(LedgerError::Kind::Failed,
                       "バックアップのフォルダーを作れません。（" + made.detail + "）", folder);
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        throwAboutFile(LedgerError::Kind::Failed,
                       "バックアップのフォルダーの場所に、フォルダーではないファイルがあります。", folder);

    const std::string stem = ledger.stem().string(), extension = ledger.extension().string();
    // Tidied once, before the first attempt: the copy's folder is the same for every name.
    platform::Tidied done = platform::tidyFolder(folder);
    if (tidied)
        *tidied = std::move(done);
    for (int attempt = 1;; ++attempt) {
        const fs::path file = folder / backupName(stem, extension, now, attempt);
        try {
            copyLedger(ledger, file, cancel);
            return file;
        } catch (const LedgerError& e) {
            if (e.kind() != LedgerError::Kind::Exists || attempt >= 50)
                throw;
        }
    }
}

BackupMade backUp(const fs::path& ledger, TimePoint now, const std::atomic<bool>* cancel) {
    BackupMade made;
    made.file = keepCopy(ledger, now, cancel, &made.tidied);
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
