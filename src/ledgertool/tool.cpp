#include "tool.h"

#include "tool_texts.h"

#include "store/ledger.h"

#include <cstdio>

namespace sorakado::ledgertool {

std::filesystem::path defaultLedger(const Invocation& call) {
    return call.programFolder / Ledger::kFileName;
}

std::filesystem::path ledgerArgument(const Invocation& call, std::size_t index) {
    return index < call.args.size() ? std::filesystem::path(call.args[index]) : defaultLedger(call);
}

void printFailure(std::string message) {
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    for (auto& c : message)
        if (c == '\n')
            c = ' ';
    std::fprintf(stderr, "sorakado-ledger: %s\n", message.c_str());
}

void printLine(const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
}

void sayTidied(const std::filesystem::path& folder, const platform::Tidied& tidied) {
    if (!tidied.finished.empty())
        printLine(texts::interruptedSetFinished(tidied.finished));
    if (!tidied.removed.empty())
        printLine(texts::leftoversRemoved(folder, tidied.removed));
}

} // namespace sorakado::ledgertool
