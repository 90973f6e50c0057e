// restore BACKUP [LEDGER]: a backup put back in the ledger's place, the ledger it replaces kept
// as a backup first. Refused while the program has the ledger open.
#include "tool_texts.h"
#include "verbs.h"

#include "store/ledger_backup.h"
#include "store/ledger_error.h"
#include "store/ledger_restore.h"
#include "store/program_lock.h"

namespace sorakado::ledgertool {

int runRestore(const Invocation& call) {
    const std::filesystem::path backupFile = call.args[0];
    const auto ledger = ledgerArgument(call, 1);
    // Held to the end: the program cannot start on the ledger while it is being replaced.
    const ProgramLock program = takeProgramLock(ledger, "restore");
    try {
        auto result = restore::restoreLedger(backupFile, ledger, std::chrono::system_clock::now());
        sayTidied(std::filesystem::absolute(ledger).parent_path(), result.tidied);
        sayTidied(backup::folderFor(ledger), result.tidiedBackups);
        printLine(texts::restored(backupFile, ledger));
        if (!result.keptAs.empty())
            printLine(result.keptDamaged ? texts::keptDamaged(result.keptAs)
                                         : texts::keptAsBackup(result.keptAs));
        return kDone;
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
}

} // namespace sorakado::ledgertool
