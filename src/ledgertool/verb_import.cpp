// import OLD.mdb [LEDGER]: an old Access ledger carried over into a new encrypted one, with its
// report on standard output. An existing ledger is replaced only when it holds no row at all.
#include "import_report.h"
#include "import_texts.h"
#include "legacy_import.h"
#include "tool_texts.h"
#include "verbs.h"

#include "store/program_lock.h"

#include <cstdio>
#include <optional>

namespace sorakado::ledgertool {

int runImport(const Invocation& call) {
    const std::filesystem::path oldFile = call.args[0];
    const auto target = ledgerArgument(call, 1);
    std::error_code ec;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(target, ec));
    // An empty ledger the program has open is not replaced under it; held to the end, so the
    // program cannot start meanwhile either.
    std::optional<ProgramLock> program;
    if (existed) {
        program = takeProgramLock(target, "import");
    }
    try {
        auto plan = legacy::importLegacyLedger(oldFile, target);
        if (existed)
            printLine(texts::replacedEmptyLedger(std::filesystem::absolute(target)));
        std::fputs(legacy::formatReport(plan, oldFile, std::filesystem::absolute(target)).c_str(), stdout);
        return plan.complete() ? kDone : kAttention;
    } catch (const legacy::ImportError& e) {
        throw ToolFailure(std::string(e.what()) + " " + legacy::import_texts::kNothingWritten);
    }
}

} // namespace sorakado::ledgertool
