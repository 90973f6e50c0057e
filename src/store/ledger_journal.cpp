#include "ledger_journal.h"

#include "keyed_file.h"
#include "ledger_error.h"
#include "platform/platform.h"
#include "sqlite_error.h"

#include <sqlcipher/sqlite3.h>

namespace sorakado::journal {

namespace fs = std::filesystem;

fs::path pathOf(const fs::path& ledger) {
    return fs::path(ledger.string() + "-journal");
}

bool present(const fs::path& ledger) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(pathOf(ledger), ec));
}

void refuseLink(const fs::path& ledger) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(pathOf(ledger), ec)))
        return;
    throwAboutFile(
        LedgerError::Kind::Failed,
        "台帳の変更の記録に使うファイル「" + pathOf(ledger).filename().string() +
            "」がほかの場所へのリンクになっているため、台帳を開かず、変更もしません。台帳のない場所に"
            "書き込まれないよう、そのリンクを削除してからやり直してください。",
        ledger);
}

Settled settle(const fs::path& ledger) {
    if (!present(ledger))
        return Settled::Nothing;
    refuseLink(ledger);
    try {
        detail::KeyedFile file(ledger, detail::KeyedFile::Access::ReadWrite);
        // The first read through a connection that may write plays a hot journal back and
        // removes it.
        file.proveReadable();
        if (!present(ledger))
            return Settled::RolledBack;
        // Still there: a writer holds it right now, or it holds nothing to roll back. With the
        // write lock ours, no writer can hold it.
        if (sqlite3_exec(file.handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
            return Settled::Nothing;
        Settled settled = Settled::Nothing;
        if (present(ledger)) {
            refuseLink(ledger);
            platform::removeFile(pathOf(ledger));
            platform::syncFolder(fs::absolute(ledger).parent_path());
            settled = Settled::LeftoverRemoved;
        }
        sqlite3_exec(file.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        return settled;
    } catch (const LedgerError&) {
        // A link planted meanwhile is refused like one found at the start; the rest is the
        // reader's to tell, as it tells it for any ledger.
        refuseLink(ledger);
        return Settled::Nothing;
    }
}

} // namespace sorakado::journal
