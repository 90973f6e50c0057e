#include "ledger_restore.h"

#include "keyed_file.h"
#include "ledger_backup.h"
#include "ledger_error.h"
#include "ledger_journal.h"
#include "platform/platform.h"
#include "sqlite_error.h"

namespace sorakado::restore {

namespace fs = std::filesystem;

namespace {

using detail::KeyedFile;

bool pathTaken(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// The backup must be a sound ledger before anything is touched.
void checkBackup(const fs::path& backupFile) {
    if (!pathTaken(backupFile))
        throwAboutFile(LedgerError::Kind::Missing, "バックアップが見つかりません。", backupFile);
    std::error_code ec;
    if (!fs::is_regular_file(backupFile, ec))
        throwAboutFile(LedgerError::Kind::NotLedger, "バックアップに指定されたものがファイルではありません。",
                       backupFile);
    try {
        KeyedFile file(backupFile, KeyedFile::Access::ReadOnly);
        file.proveReadable();
        if (auto problems = file.integrityProblems(); !problems.empty())
            throwAboutFile(LedgerError::Kind::NotLedger,
                           "バックアップが壊れているため、復元しません。（" + problems.front() + "）",
                           backupFile);
        if (auto missing = file.missingShape(); !missing.empty())
            throwAboutFile(LedgerError::Kind::NotLedger,
                           "バックアップに「" + missing.front() +
                               "」がないため、Sorakado の台帳として復元しません。",
                           backupFile);
    } catch (const LedgerError& e) {
        if (e.kind() == LedgerError::Kind::NotLedger && e.description().rfind("バックアップ", 0) == 0)
            throw;
        if (e.kind() == LedgerError::Kind::NotLedger)
            throwAboutFile(LedgerError::Kind::NotLedger,
                           "バックアップを開けないため、復元しません。パスワードが違うか、Sorakado "
                           "の台帳ではないか、壊れています。",
                           backupFile);
        throw;
    }
}

// The ledger's bytes as they are, when it no longer reads as a ledger: nothing is lost by the
// restore even then. Named so the rotation never takes it.
fs::path keepBytes(const fs::path& ledger, backup::TimePoint now, platform::Tidied& tidied) {
    const fs::path folder = backup::folderFor(ledger);
    if (const platform::Outcome made = platform::createPrivateFolder(folder);
        !made && made.failure != platform::Failure::Exists)
        throwAboutFile(LedgerError::Kind::Failed,
                       "バックアップのフォルダーを作れないため、復元しません。（" + made.detail + "）",
                       folder);
    if (tidied.empty())
        tidied = platform::tidyFolder(folder);
    const std::string stem = ledger.stem().string(), extension = ledger.extension().string();
    for (int attempt = 1; attempt < 50; ++attempt) {
        std::string name = backup::backupName(stem, "-damaged" + extension, now, attempt);
        const fs::path target = folder / name;
        platform::Outcome refused;
        const auto made = platform::createTemporaryBeside(target, "part", &refused);
        if (!made)
            throwAboutFile(LedgerError::Kind::Failed,
                           "今の台帳を残せないため、復元しません。（" + platform::reasonText(refused) + "）",
                           folder);
        const fs::path temporary = *made;
        std::error_code ec;
        if (!fs::copy_file(ledger, temporary, fs::copy_options::overwrite_existing, ec)) {
            fs::remove(temporary, ec);
            throwAboutFile(LedgerError::Kind::Failed,
                           "今の台帳を残せないため、復元しません。（" + ec.message() + "）", ledger);
        }
        try {
            fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write);
            detail::syncFile(temporary);
        } catch (...) {
            fs::remove(temporary, ec);
            throw;
        }
        const platform::Outcome published = platform::publishNew(temporary, target);
        if (published) {
            detail::syncFolder(folder);
            return target;
        }
        fs::remove(temporary, ec);
        if (published.failure != platform::Failure::Exists)
            throwAboutFile(LedgerError::Kind::Failed,
                           "今の台帳を残せないため、復元しません。（" + published.detail + "）", ledger);
    }
    throwAboutFile(LedgerError::Kind::Failed, "今の台帳を残せないため、復元しません。", ledger);
}

// Keeps the ledger about to be replaced, once nothing else stands in the way of the restore: a
// copy is a full-size file in backups/ and must not pile up with each refused attempt. A change a
// crash left half-done is rolled back first and a journal that holds nothing removed, so no
// journal of the old file can later be played into the restored one.
Restored keepCurrent(const fs::path& ledger, backup::TimePoint now) {
    journal::settle(ledger);
    for (const char* side : {"-journal", "-wal"})
        if (pathTaken(fs::path(ledger.string() + side)))
            throwAboutFile(LedgerError::Kind::Locked,
                           std::string("台帳の書きかけの変更（") + side +
                               "）を、いま別のプログラムが書き込んでいるため、復元しません。台帳を使っている"
                               "プログラムを終了してからやり直してください。",
                           ledger);
    Restored kept;
    bool readable = false;
    try {
        KeyedFile current(ledger, KeyedFile::Access::ReadOnly);
        current.proveReadable();
        readable = true;
    } catch (const LedgerError& e) {
        if (e.kind() == LedgerError::Kind::Locked)
            throwAboutFile(LedgerError::Kind::Locked, "台帳が他のプログラムで使用中のため、復元しません。",
                           ledger);
        if (e.kind() == LedgerError::Kind::ReadOnly || e.kind() == LedgerError::Kind::Missing)
            throw;
    }
    if (!readable) {
        kept.keptAs = keepBytes(ledger, now, kept.tidiedBackups);
        kept.keptDamaged = true;
        return kept;
    }
    try {
        kept.keptAs = backup::keepCopy(ledger, now, nullptr, &kept.tidiedBackups);
    } catch (const LedgerError& e) {
        // The ledger reads; it is the place for its copy that fails, and that is what to mend.
        throw LedgerError(e.kind(),
                          "今の台帳をバックアップとして残せないため、復元しません。" + e.description());
    }
    return kept;
}

// A ledger linked into the program's folder is restored where it really is: replacing the link
// with a plain file would leave every other folder linked to it showing the old ledger.
fs::path realLedger(const fs::path& ledgerPath) {
    const fs::path ledger = fs::absolute(ledgerPath);
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(ledger, ec)))
        return ledger;
    const fs::path real = fs::canonical(ledger, ec);
    return ec ? ledger : real;
}

} // namespace

Restored restoreLedger(const fs::path& backupPath, const fs::path& ledgerPath, backup::TimePoint now) {
    const fs::path backupFile = fs::absolute(backupPath), ledger = realLedger(ledgerPath);
    std::error_code ec;
    if (fs::equivalent(backupFile, ledger, ec))
        throwAboutFile(LedgerError::Kind::Failed, "バックアップと台帳が同じファイルです。", ledger);
    if (!fs::is_directory(ledger.parent_path(), ec))
        throwAboutFile(LedgerError::Kind::Missing, "台帳を置くフォルダーがありません。",
                       ledger.parent_path());
    if (fs::is_directory(fs::symlink_status(ledger, ec)))
        throwAboutFile(LedgerError::Kind::NotLedger, kFolderInsteadOfLedger, ledger);
    checkBackup(backupFile);
    platform::Tidied tidied = platform::tidyFolder(ledger.parent_path());

    // The copy first: should the current ledger's copy below touch the backups folder, the
    // backup being restored is already safe beside the ledger.
    const fs::path temporary = backup::copyBeside(backupFile, ledger);
    try {
        Restored restored;
        const bool replacing = pathTaken(ledger);
        if (replacing)
            restored = keepCurrent(ledger, now);
        restored.tidied = std::move(tidied);
        const platform::Outcome placed = replacing ? platform::replaceAtomically(temporary, ledger)
                                                   : platform::publishNew(temporary, ledger);
        if (!placed)
            throwAboutFile(LedgerError::Kind::Failed,
                           "台帳を置き換えられませんでした。（" + placed.detail + "）", ledger);
        detail::syncFolder(ledger.parent_path());
        return restored;
    } catch (...) {
        fs::remove(temporary, ec);
        fs::remove(fs::path(temporary.string() + "-journal"), ec);
        throw;
    }
}

} // namespace sorakado::restore
