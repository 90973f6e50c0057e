// check [--recount] [LEDGER]: is the ledger sound, has it the four tables and their columns,
// which rows does the window never show, which repeating entries can never post, and do the stored per-month
// sums agree with the rows. Exit 0 clean, 3 rows or sums that need attention, 1 damaged (or not a ledger at
// all).
// --recount rewrites the per-month sums from the rows.
#include "tool_texts.h"
#include "verbs.h"

#include "store/ledger_check.h"
#include "store/ledger_error.h"
#include "store/program_lock.h"

namespace sorakado::ledgertool {

namespace {

constexpr const char* kRecount = "--recount";

std::string figureText(const MonthSumFigure& f) {
    return texts::sumFigure(f.sum ? std::optional<std::string>(f.sum->text()) : std::nullopt, f.exact,
                            f.count);
}

void printDamage(const std::filesystem::path& ledger, const check::Report& report) {
    std::vector<std::string> problems = report.damage;
    for (const auto& missing : report.missingShape)
        problems.push_back(texts::checkMissingShape(missing));
    printLine(texts::kCheckDamageHeading);
    for (const auto& p : problems)
        printLine("  " + p);
    throw ToolFailure(texts::checkDamaged(ledger, problems.front()));
}

void printHidden(const check::Report& report) {
    printLine(texts::checkHiddenHeading(report.hidden.size()));
    for (const auto& row : report.hidden)
        printLine("  " + row.table + " " + row.row + ": " + row.reason);
    printLine(texts::kCheckHiddenAdvice);
}

void printSumDifferences(const check::Report& report) {
    printLine(texts::sumDifferencesHeading(report.sumDifferences.size()));
    for (const auto& d : report.sumDifferences)
        printLine("  " +
                  texts::sumDifference(d.table, d.monthKey, figureText(d.stored), figureText(d.counted)));
}

} // namespace

int runCheck(const Invocation& call) {
    Invocation positional{call.programFolder, {}, call.ledgerOption};
    bool recount = false;
    for (const auto& arg : call.args) {
        if (arg == kRecount)
            recount = true;
        else
            positional.args.push_back(arg);
    }
    if (positional.args.size() > 1)
        throw ToolFailure(texts::wrongArguments("check", "[--recount] [台帳]"), kUsage);
    const auto ledger = ledgerArgument(positional, 0);

    // Held to the end: the program cannot start on the ledger while its sums are rewritten.
    std::optional<ProgramLock> program;
    if (recount)
        program = takeProgramLock(ledger, "check --recount");
    settleJournal(ledger, program.has_value());
    check::Report report;
    try {
        report = check::checkLedger(ledger);
    } catch (const LedgerError& e) {
        throw ToolFailure(e.description());
    }
    if (report.damaged())
        printDamage(ledger, report);

    bool attention = false;
    if (!report.hidden.empty()) {
        printHidden(report);
        attention = true;
    }
    if (!report.badRecurring.empty()) {
        printLine(texts::badRecurringHeading(report.badRecurring.size()));
        for (const auto& row : report.badRecurring)
            printLine("  " + row.row + ": " + row.reason);
        printLine(texts::kBadRecurringAdvice);
        attention = true;
    }
    if (!report.sumDifferences.empty())
        printSumDifferences(report);
    if (recount) {
        try {
            check::recountSums(ledger);
        } catch (const LedgerError& e) {
            throw ToolFailure(e.description());
        }
        printLine(texts::sumsRecounted(report.sumDifferences.size()));
    } else if (!report.sumDifferences.empty()) {
        printLine(texts::kSumDifferencesAdvice);
        attention = true;
    }
    if (attention)
        return kAttention;
    if (!recount)
        printLine(texts::checkClean(ledger));
    return kDone;
}

} // namespace sorakado::ledgertool
