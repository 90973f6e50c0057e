#include "year_out.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "year_out_texts.h"

namespace sorakado::ledgertool {

YearOutArguments parseYearOutArguments(const Invocation& call, const char* verb, const char* synopsis,
                                       bool yearOption) {
    YearOutArguments out;
    std::optional<std::string> ledger;
    const auto& args = call.args;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            out.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "--force") {
            out.force = true;
            continue;
        }
        const std::string name = a.substr(0, a.find('='));
        std::optional<std::string>* target = name == "--ledger"               ? &ledger
                                             : name == "--year" && yearOption ? &out.year
                                                                              : nullptr;
        if (target && name.size() < a.size())
            *target = a.substr(name.size() + 1);
        else if (target && i + 1 < args.size())
            *target = args[++i];
        else
            throw ToolFailure(texts::wrongArguments(verb, synopsis), kUsage);
    }
    out.ledger = ledger ? std::filesystem::path(*ledger) : defaultLedger(call);
    return out;
}

int yearArgument(const std::string& text) {
    auto year = yearly::parseYear(text);
    if (!year)
        throw ToolFailure(texts::badYear(text), kUsage);
    return *year;
}

void readLedger(const std::filesystem::path& path, const std::function<void(Ledger&)>& read) {
    settleJournal(path);
    try {
        // Read-only: no write lock, nothing brought up to date, and a read-only backup copy
        // reads as well. One snapshot around every read: the files or pages agree with each
        // other even when the program writes to the ledger meanwhile.
        Ledger ledger = Ledger::openReadOnly(path);
        Ledger::Snapshot snapshot(ledger);
        read(ledger);
    } catch (const LedgerError& e) {
        throw ToolFailure(texts::ledgerUnreadable(e.description()));
    }
}

} // namespace sorakado::ledgertool
