// create [LEDGER]: a new, empty, encrypted ledger; never over an existing file.
#include "tool_texts.h"
#include "verbs.h"

#include "store/ledger.h"
#include "store/ledger_error.h"

namespace sorakado::ledgertool {

int runCreate(const Invocation& call) {
    const auto path = ledgerArgument(call, 0);
    try {
        Ledger::create(path);
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
    printLine(texts::created(path));
    return kDone;
}

} // namespace sorakado::ledgertool
