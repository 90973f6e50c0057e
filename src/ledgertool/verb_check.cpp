// check [LEDGER]: is the ledger sound, has it the four tables and their columns, and which rows
// does the window never show. Exit 0 clean, 3 such rows, 1 damaged (or not a ledger at all).
#include "tool_texts.h"
#include "verbs.h"

#include "store/ledger_check.h"
#include "store/ledger_error.h"

namespace sorakado::ledgertool {

int runCheck(const Invocation& call) {
    const auto ledger = ledgerArgument(call, 0);
    check::Report report;
    try {
        report = check::checkLedger(ledger);
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
    if (report.damaged()) {
        std::vector<std::string> problems = report.damage;
        for (const auto& missing : report.missingShape)
            problems.push_back(texts::checkMissingShape(missing));
        printLine(texts::kCheckDamageHeading);
        for (const auto& p : problems)
            printLine("  " + p);
        throw ToolFailure(texts::checkDamaged(ledger, problems.front()));
    }
    if (!report.hidden.empty()) {
        printLine(texts::checkHiddenHeading(report.hidden.size()));
        for (const auto& row : report.hidden)
            printLine("  " + row.table + " " + row.row + ": " + row.reason);
        printLine(texts::kCheckHiddenAdvice);
        return kAttention;
    }
    printLine(texts::checkClean(ledger));
    return kDone;
}

} // namespace sorakado::ledgertool
