#include "import_report.h"

#include "import_texts.h"

namespace sorakado::legacy {

namespace {

namespace texts = import_texts;

void section(std::string& out, const char* title, const std::vector<RowNote>& notes) {
    if (notes.empty())
        return;
    out += "\n";
    out += title;
    out += texts::rowCount(notes.size()) + "\n";
    for (const auto& n : notes)
        out += "  " + n.table + " " + n.row + ": " + n.reason + "\n";
}

} // namespace

std::string formatReport(const ImportPlan& plan, const std::filesystem::path& oldFile,
                         const std::filesystem::path& target) {
    std::string out = texts::reportTitle(oldFile, target) + "\n\n";
    out += texts::kReportCounts;
    out += "\n";
    for (const auto& c : plan.counts)
        out += texts::countLine(c.table, c.read, c.written) + "\n";
    section(out, texts::kReportChanged, plan.changed);
    section(out, texts::kReportHidden, plan.hidden);
    section(out, texts::kReportNotImported, plan.notImported);
    section(out, texts::kReportDecisions, plan.decisions);
    if (!plan.decisions.empty()) {
        out += texts::kDecisionAdvice;
        out += "\n";
    }
    if (!plan.leftoversRemoved.empty()) {
        out += "\n";
        out += texts::kReportLeftoversRemoved;
        out += "\n";
        for (const auto& name : plan.leftoversRemoved)
            out += "  " + name + "\n";
    }
    out += "\n";
    out += plan.complete() ? texts::kReportComplete : texts::kReportIncomplete;
    out += "\n";
    return out;
}

} // namespace sorakado::legacy
