#include "tool.h"

#include "tool_texts.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/ledger_journal.h"

#include <cstdio>

namespace sorakado::ledgertool {

void takeLedgerOption(Invocation& call, const char* verb, const char* synopsis) {
    constexpr std::string_view kOption = "--ledger";
    std::vector<std::string> rest;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        const std::string& a = call.args[i];
        const bool option = !optionsEnded && (a == kOption || a.rfind("--ledger=", 0) == 0);
        optionsEnded = optionsEnded || a == "--";
        if (!option) {
            rest.push_back(a);
            continue;
        }
        std::string value;
        if (a.size() > kOption.size())
            value = a.substr(kOption.size() + 1);
        else if (i + 1 < call.args.size())
            value = call.args[++i];
        if (value.empty() || call.ledgerOption)
            throw ToolFailure(texts::wrongArguments(verb, synopsis), kUsage);
        call.ledgerOption = value;
    }
    call.args = std::move(rest);
}

std::filesystem::path defaultLedger(const Invocation& call) {
    return call.ledgerOption ? *call.ledgerOption : call.programFolder / Ledger::kFileName;
}

std::filesystem::path ledgerArgument(const Invocation& call, std::size_t index) {
    if (index >= call.args.size())
        return defaultLedger(call);
    if (call.ledgerOption)
        throw ToolFailure(texts::ledgerGivenTwice(), kUsage);
    return call.args[index];
}

ProgramLock takeProgramLock(const std::filesystem::path& ledger, const char* verb) {
    LockRefusal refused;
    auto lock = ProgramLock::tryTakeFor(ledger, nullptr, std::string("sorakado-ledger ") + verb, &refused);
    if (lock)
        return std::move(*lock);
    switch (refused.why) {
    case LockRefusal::Why::Program:
        throw ToolFailure(texts::programRunning(ledger));
    case LockRefusal::Why::OtherHolder:
        throw ToolFailure(texts::otherCommandRunning(refused.holder, ledger));
    case LockRefusal::Why::Unusable:
        break;
    }
    throw ToolFailure(texts::lockUnusable(refused.lockFile, refused.detail));
}

void settleJournal(const std::filesystem::path& ledger, bool lockHeld) {
    if (!journal::present(ledger))
        return;
    std::optional<ProgramLock> lock;
    if (!lockHeld) {
        lock = ProgramLock::tryTakeFor(ledger, nullptr, "sorakado-ledger");
        if (!lock)
            return;
    }
    try {
        journal::settle(ledger);
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
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
