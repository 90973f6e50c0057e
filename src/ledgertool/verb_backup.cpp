// backup [--ledger LEDGER] [DEST]: a checked copy of the ledger beside the program, now. Without DEST it goes
// into backups/ beside the ledger, where the rotation then thins out older copies; DEST names a new file, or
// a folder to put a dated copy in.
#include "tool_texts.h"
#include "verbs.h"

#include "store/ledger_backup.h"
#include "store/ledger_error.h"

namespace sorakado::ledgertool {

namespace fs = std::filesystem;

int runBackup(const Invocation& call) {
    const fs::path ledger = defaultLedger(call);
    const auto now = std::chrono::system_clock::now();
    std::error_code ec;
    if (!fs::exists(ledger, ec))
        throw ToolFailure(texts::ledgerMissing(ledger));
    settleJournal(ledger);
    try {
        if (call.args.empty()) {
            auto made = backup::backUp(ledger, now);
            sayTidied(made.file.parent_path(), made.tidied);
            sayTidied(fs::absolute(ledger).parent_path(), made.tidiedBeside);
            printLine(texts::backupMade(made.file));
            for (const auto& removed : made.removed)
                printLine(texts::backupRemoved(removed));
            return kDone;
        }
        fs::path destination = call.args[0];
        if (fs::is_directory(destination, ec))
            destination /= backup::backupName(ledger.stem().string(), ledger.extension().string(), now);
        sayTidied(destination.parent_path(), backup::copyLedger(ledger, destination));
        printLine(texts::backupMade(destination));
        return kDone;
    } catch (const LedgerError& e) {
        throw ToolFailure(texts::backupFailed(e.description()));
    }
}

} // namespace sorakado::ledgertool
