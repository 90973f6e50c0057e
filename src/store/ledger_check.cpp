#include "ledger_check.h"

#include "keyed_file.h"
#include "ledger_error.h"
#include "month_key.h"
#include "month_sums_read.h"
#include "recurring.h"
#include "schema.h"
#include "sqlite_error.h"

namespace sorakado::check {

namespace {

using detail::KeyedFile;

// A month key the window can list (MonthKey::listable): four digits of a year the period check
// lets through, "/", a month 01 to 12; what follows is the caller's to judge.
std::string listableMonth(const std::string& col) {
    return "(" + col + " GLOB '[0-9][0-9][0-9][0-9]/[01][0-9]*' AND substr(" + col + ", 1, 4) BETWEEN '" +
           std::to_string(MonthKey::kFirstYear) + "' AND '" + std::to_string(MonthKey::kLastYear) +
           "' AND substr(" + col + ", 6, 2) BETWEEN '01' AND '12')";
}

std::string hiddenIncomesQuery() {
    const std::string odd = "coalesce(NOT (length(年月) = 7 AND " + listableMonth("年月") + "), 1)";
    return "SELECT 名前ID, 年月, 収入, 名前ID IS NULL, "
           "名前ID IS NOT NULL AND NOT EXISTS (SELECT 1 FROM 名前 WHERE 名前.名前ID = 収入.名前ID), " +
           odd +
           " FROM 収入 WHERE 名前ID IS NULL OR NOT EXISTS (SELECT 1 FROM 名前 WHERE 名前.名前ID = "
           "収入.名前ID) "
           "OR " +
           odd + " ORDER BY rowid";
}

std::string hiddenEntriesQuery() {
    const std::string odd = "coalesce(NOT (length(年月日) = 10 AND " + listableMonth("年月日") +
                            " AND 年月日 GLOB '[0-9][0-9][0-9][0-9]/[01][0-9]/[0-3][0-9]'), 1)";
    return "SELECT DATAID, 年月日, 品目ID, 金額, 品目ID IS NULL, "
           "品目ID IS NOT NULL AND NOT EXISTS (SELECT 1 FROM 品目 WHERE 品目.品目ID = DATA.品目ID), " +
           odd +
           " FROM DATA WHERE 品目ID IS NULL OR NOT EXISTS (SELECT 1 FROM 品目 WHERE 品目.品目ID = "
           "DATA.品目ID) "
           "OR " +
           odd + " ORDER BY DATAID";
}

std::string shown(const std::optional<std::string>& value) {
    return value ? *value : "Null";
}

std::string reasons(const Statement& s, int first, const char* none, const char* gone, const char* odd) {
    std::string out;
    auto add = [&](const char* r) { out += (out.empty() ? "" : "、") + std::string(r); };
    if (s.int64(first))
        add(none);
    if (s.int64(first + 1))
        add(gone);
    if (s.int64(first + 2))
        add(odd);
    return out;
}

void readHidden(KeyedFile& file, Report& report) {
    auto incomes = file.prepare(hiddenIncomesQuery(), "収入の確認");
    while (incomes.step())
        report.hidden.push_back({"収入",
                                 "名前ID " + shown(incomes.text(0)) + ", 年月 " + shown(incomes.text(1)) +
                                     ", 収入 " + shown(incomes.text(2)),
                                 reasons(incomes, 3, "名前が指定されていません", "その名前はもうありません",
                                         "年月が一覧に出せる yyyy/mm の形ではありません")});
    auto entries = file.prepare(hiddenEntriesQuery(), "明細の確認");
    while (entries.step())
        report.hidden.push_back({"DATA",
                                 "DATAID " + shown(entries.text(0)) + " (" + shown(entries.text(1)) +
                                     ", 品目ID " + shown(entries.text(2)) + ", " + shown(entries.text(3)) +
                                     ")",
                                 reasons(entries, 4, "品目が指定されていません", "その品目はもうありません",
                                         "年月日が一覧に出せる yyyy/mm/dd の形ではありません")});
}

void readRecurring(KeyedFile& file, Report& report) {
    {
        auto there = file.prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '定期明細'",
                                  "定期明細の確認");
        if (!there.step())
            return; // a ledger of an earlier version: the program adds the table when it opens it
    }
    auto rows = file.prepare(recurring::allRowsQuery(), "定期明細の確認");
    while (rows.step()) {
        const recurring::Stored r = recurring::readRow(rows);
        const auto problem = recurring::rowProblem(r);
        if (!problem)
            continue;
        const auto key = [](const char* name, const std::optional<std::int64_t>& k) {
            return k ? std::string(", ") + name + " " + std::to_string(*k) : std::string();
        };
        report.badRecurring.push_back({"定期明細",
                                       "定期ID " + std::to_string(r.key) + " (" + r.scheduleText() +
                                           key("品目ID", r.categoryKey) + key("名前ID", r.memberKey) + ", " +
                                           (r.amount ? r.amount->text() : std::string("Null")) + ")",
                                       *problem});
    }
}

} // namespace

Report checkLedger(const std::filesystem::path& ledger) {
    std::error_code ec;
    if (!std::filesystem::exists(ledger, ec))
        throwAboutFile(LedgerError::Kind::Missing, kLedgerMissing, ledger);
    KeyedFile file(ledger, KeyedFile::Access::ReadOnly);
    file.proveReadable();
    Report report;
    report.damage = file.integrityProblems();
    report.missingShape = file.missingShape();
    if (report.missingShape.empty()) {
        try {
            // One state of the file for the rows and the sums alike, whoever writes meanwhile.
            file.exec("BEGIN DEFERRED", "読み込み開始");
            readHidden(file, report);
            readRecurring(file, report);
            report.sumsKept = detail::keepsMonthSums(file.handle());
            if (report.sumsKept)
                report.sumDifferences = detail::monthSumDifferences(file.handle());
            file.exec("COMMIT", "読み込み");
        } catch (const LedgerError& e) {
            if (e.kind() == LedgerError::Kind::Locked)
                throw;
            report.damage.push_back(e.description()); // rows that cannot be read are damage too
        }
    }
    return report;
}

void recountSums(const std::filesystem::path& ledger) {
    Ledger::open(ledger).recountMonthSums();
}

bool holdsNoRows(const std::filesystem::path& ledger) {
    try {
        KeyedFile file(ledger, KeyedFile::Access::ReadOnly);
        file.proveReadable();
        if (!file.missingShape().empty())
            return false;
        for (const auto& table : schema::tables()) {
            auto s =
                file.prepare(std::string("SELECT EXISTS (SELECT 1 FROM ") + table.name + ")", "行の確認");
            if (!s.step() || s.int64(0) != 0)
                return false;
        }
        return true;
    } catch (const LedgerError&) {
        return false;
    }
}

} // namespace sorakado::check
