// import OLD.mdb [LEDGER]: an old Access ledger carried over into a new encrypted one, with its
// report on standard output.
#include "import_report.h"
#include "import_texts.h"
#include "legacy_import.h"
#include "verbs.h"

#include <cstdio>

namespace sorakado::ledgertool {

int runImport(const Invocation& call) {
    const std::filesystem::path oldFile = call.args[0];
    const auto target = ledgerArgument(call, 1);
    try {
        auto plan = legacy::importLegacyLedger(oldFile, target);
        std::fputs(legacy::formatReport(plan, oldFile, std::filesystem::absolute(target)).c_str(), stdout);
        return plan.complete() ? kDone : kAttention;
    } catch (const legacy::ImportError& e) {
        throw ToolFailure(std::string(e.what()) + " " + legacy::import_texts::kNothingWritten);
    }
}

} // namespace sorakado::ledgertool
