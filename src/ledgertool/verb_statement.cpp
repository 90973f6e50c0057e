// statement [--dry-run] [--ledger LEDGER] FILE...: bank and card statements into the ledger, the
// new lines whose category is known, every file in one change.
#include "statement/import.h"
#include "statement/matching.h"
#include "statement/reader.h"
#include "statement_texts.h"
#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/program_lock.h"
#include "verbs.h"
#include "year_out_texts.h"

#include <map>

namespace sorakado::ledgertool {

namespace {

struct StatementArguments {
    bool dryRun = false;
    std::filesystem::path ledger;
    std::vector<std::filesystem::path> files;
};

StatementArguments parseArguments(const Invocation& call) {
    StatementArguments out;
    std::optional<std::string> ledger;
    bool optionsEnded = false;
    const auto usage = [] {
        return ToolFailure(texts::wrongArguments("statement", texts::kStatementSynopsis), kUsage);
    };
    for (std::size_t i = 0; i < call.args.size(); ++i) {
        const std::string& a = call.args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-')
            out.files.emplace_back(a);
        else if (a == "--")
            optionsEnded = true;
        else if (a == "--dry-run")
            out.dryRun = true;
        else if (a.rfind("--ledger=", 0) == 0)
            ledger = a.substr(9);
        else if (a == "--ledger" && i + 1 < call.args.size())
            ledger = call.args[++i];
        else
            throw usage();
    }
    if (out.files.empty() || (ledger && ledger->empty()))
        throw usage();
    out.ledger = ledger ? std::filesystem::path(*ledger) : defaultLedger(call);
    return out;
}

const char* stateText(statement::RowState state) {
    switch (state) {
    case statement::RowState::New:
        return texts::kStateNew;
    case statement::RowState::Registered:
        return texts::kStateRegistered;
    case statement::RowState::NeedsCategory:
        return texts::kStateNeedsCategory;
    }
    return "";
}

// Tabs and line breaks inside a description would break the line apart.
std::string oneCell(const QString& text) {
    QString cell = text;
    for (QChar& c : cell)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return cell.toStdString();
}

} // namespace

int runStatement(const Invocation& call) {
    const StatementArguments args = parseArguments(call);
    texts::StatementCounts counts;
    std::vector<statement::StatementLine> lines;
    for (const auto& file : args.files) {
        const statement::StatementRead read =
            statement::readStatementFile(QString::fromStdString(file.string()));
        if (read.fileError) {
            printFailure(texts::statementFileUnreadable(file, *read.fileError));
            ++counts.unreadableFiles;
            continue;
        }
        for (const auto& problem : read.problems)
            printFailure(texts::statementLineUnreadable(file, problem.line, problem.why));
        counts.unreadableLines += read.problems.size();
        counts.notPayments += std::size_t(read.notPayments);
        lines.insert(lines.end(), read.payments.begin(), read.payments.end());
    }

    std::vector<statement::PreviewRow> rows;
    std::map<std::int64_t, std::string> names;
    std::optional<Ledger> ledger;
    try {
        ledger.emplace(Ledger::open(args.ledger));
        rows = statement::previewLines(*ledger, lines);
        for (const auto& category : ledger->categories())
            names[category.key] = category.name.value_or(std::string());
    } catch (const LedgerError& e) {
        throw ToolFailure(texts::ledgerUnreadable(e.description()));
    }

    std::vector<statement::ImportRow> toWrite;
    for (const auto& row : rows) {
        const std::string category = row.category ? names[*row.category] : std::string();
        printLine(statement::ledgerDate(row.line.date) + "\t" + category + "\t" +
                  oneCell(row.line.description) + "\t" + row.line.amount.text() + "\t" +
                  stateText(row.state));
        switch (row.state) {
        case statement::RowState::New:
            ++counts.fresh;
            toWrite.push_back(
                {row.line.date, *row.category, row.line.description.trimmed(), row.line.amount});
            break;
        case statement::RowState::Registered:
            ++counts.registered;
            break;
        case statement::RowState::NeedsCategory:
            ++counts.waiting;
            break;
        }
    }
    counts.rows = rows.size();

    if (!args.dryRun && !toWrite.empty()) {
        // Held to the end: the window would go on showing the month without the new entries.
        const ProgramLock program = takeProgramLock(args.ledger, "statement");
        try {
            counts.written = statement::writeImport(*ledger, toWrite).size();
        } catch (const LedgerError& e) {
            throw ToolFailure(e.description());
        }
    }
    printFailure(texts::statementSummary(counts, args.dryRun));

    const std::size_t written = args.dryRun ? counts.fresh : counts.written;
    const bool complete = counts.waiting == 0 && counts.unreadableLines == 0 && counts.unreadableFiles == 0;
    if (complete)
        return kDone;
    return written == 0 ? kFailed : kAttention;
}

} // namespace sorakado::ledgertool
