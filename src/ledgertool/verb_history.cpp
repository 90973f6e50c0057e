// history [--all] [LEDGER]: the steps the window can undo and redo, newest first, with their
// date and time, what they did and how many rows they changed; undone steps are marked.
// Exit 0, or 1 when the ledger cannot be read.
#include "tool_texts.h"
#include "verbs.h"

#include "store/history.h"
#include "store/ledger.h"
#include "store/ledger_error.h"

#include <ctime>

namespace sorakado::ledgertool {

namespace {

constexpr const char* kAll = "--all";
constexpr std::int64_t kShown = 20;

// Local date and time, as the clock on the wall said when the step was made.
std::string localTime(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

} // namespace

int runHistory(const Invocation& call) {
    Invocation positional{call.programFolder, {}, call.ledgerOption};
    bool all = false;
    for (const auto& arg : call.args) {
        if (arg == kAll)
            all = true;
        else
            positional.args.push_back(arg);
    }
    if (positional.args.size() > 1)
        throw ToolFailure(texts::wrongArguments("history", texts::kHistorySynopsis), kUsage);
    const auto path = ledgerArgument(positional, 0);

    std::vector<history::StepInfo> steps;
    try {
        Ledger ledger = Ledger::open(path);
        // One more than is shown tells whether there are more.
        steps = history::steps(ledger, all ? std::nullopt : std::optional<std::int64_t>(kShown + 1));
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
    if (steps.empty()) {
        printLine(texts::kHistoryEmpty);
        return kDone;
    }
    const bool more = !all && std::int64_t(steps.size()) > kShown;
    if (more)
        steps.resize(std::size_t(kShown));
    for (const auto& step : steps)
        printLine(texts::historyLine(localTime(step.time), step.label, step.rows, step.undone));
    if (more)
        printLine(texts::historyMore(steps.size()));
    return kDone;
}

} // namespace sorakado::ledgertool
