#include "ledger_export.h"

#include "csv.h"
#include "texts.h"
#include "year_figures.h"

#include <set>

namespace sorakado::exporting {

namespace {

std::string orEmpty(const std::optional<std::string>& text) {
    return text.value_or(std::string());
}

std::string amountField(const std::optional<Amount>& amount) {
    return amount ? amount->text() : std::string();
}

std::string keyField(const std::optional<std::int64_t>& key) {
    return key ? std::to_string(*key) : std::string();
}

// The year a date or month key names, when it starts with four digits and a slash.
std::optional<int> leadingYear(const std::optional<std::string>& text) {
    if (!text || text->size() < 5 || (*text)[4] != '/')
        return std::nullopt;
    int year = 0;
    for (int i = 0; i < 4; ++i) {
        char c = (*text)[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        year = year * 10 + (c - '0');
    }
    return year;
}

std::string fileName(const char* stem, std::optional<int> year) {
    return std::string(stem) + (year ? "-" + yearly::yearText(*year) : std::string()) + ".csv";
}

} // namespace

LedgerTables readLedgerTables(Ledger& ledger, std::optional<int> year) {
    LedgerTables t;
    t.year = year;
    const std::string prefix = year ? yearly::yearText(*year) + "/" : std::string();
    t.members = ledger.members();
    t.categories = ledger.categories();
    t.entries = ledger.entryRecords(prefix);
    t.incomes = ledger.incomeRecords(prefix);
    t.recurring = recurring::list(ledger);

    std::set<int> years;
    if (year) {
        years.insert(*year);
    } else {
        for (const auto& e : t.entries)
            if (auto y = leadingYear(e.date))
                years.insert(*y);
        for (const auto& i : t.incomes)
            if (auto y = leadingYear(i.monthKey))
                years.insert(*y);
    }
    for (int y : years) {
        MonthSums incomes = ledger.yearIncomeSums(yearly::yearText(y));
        MonthSums spending = ledger.yearExpenseSums(yearly::yearText(y));
        for (int m = 0; m < 12; ++m)
            t.summary.push_back(
                {yearly::monthKey(y, m + 1), incomes[m].value_or(Amount()), spending[m].value_or(Amount())});
    }
    return t;
}

std::vector<OutputFile> csvFiles(const LedgerTables& t) {
    std::vector<OutputFile> files;

    std::vector<std::vector<std::string>> rows;
    for (const auto& e : t.entries)
        rows.push_back({orEmpty(e.date), orEmpty(e.categoryName), orEmpty(e.description),
                        amountField(e.amount), std::to_string(e.key), keyField(e.categoryKey)});
    files.push_back(
        {fileName("entries", t.year), csv::document({texts::kDate, texts::kCategoryName, texts::kDescription,
                                                     texts::kAmount, texts::kEntryKey, texts::kCategoryKey},
                                                    rows, {3, 4, 5})});

    rows.clear();
    for (const auto& i : t.incomes)
        rows.push_back(
            {orEmpty(i.monthKey), orEmpty(i.memberName), amountField(i.amount), keyField(i.memberKey)});
    files.push_back({fileName("incomes", t.year),
                     csv::document({texts::kMonth, texts::kMemberName, texts::kIncome, texts::kMemberKey},
                                   rows, {2, 3})});

    rows.clear();
    for (const auto& m : t.members)
        rows.push_back({std::to_string(m.key), orEmpty(m.name)});
    files.push_back(
        {fileName("members", t.year), csv::document({texts::kMemberKey, texts::kMemberName}, rows, {0})});

    rows.clear();
    for (const auto& c : t.categories)
        rows.push_back({std::to_string(c.key), orEmpty(c.name)});
    files.push_back({fileName("categories", t.year),
                     csv::document({texts::kCategoryKey, texts::kCategoryName}, rows, {0})});

    rows.clear();
    for (const auto& m : t.summary)
        rows.push_back({m.monthKey, m.income.text(), m.spending.text(), (m.income - m.spending).text()});
    files.push_back({fileName("summary", t.year),
                     csv::document({texts::kMonth, texts::kIncome, texts::kSpending, texts::kDifference},
                                   rows, {1, 2, 3})});

    rows.clear();
    const auto number = [](const std::optional<std::int64_t>& n) {
        return n ? std::to_string(*n) : std::string();
    };
    for (const auto& r : t.recurring)
        rows.push_back({std::to_string(r.key), keyField(r.categoryKey), orEmpty(r.categoryName),
                        keyField(r.memberKey), orEmpty(r.memberName), orEmpty(r.description),
                        amountField(r.amount), number(r.day), number(r.yearlyMonth), r.scheduleText(),
                        orEmpty(r.from), orEmpty(r.until), orEmpty(r.posted)});
    files.push_back({fileName("recurring", t.year),
                     csv::document({texts::kRecurringKey, texts::kCategoryKey, texts::kCategoryName,
                                    texts::kMemberKey, texts::kMemberName, texts::kDescription,
                                    texts::kAmount, texts::kDay, texts::kYearlyMonth, texts::kSchedule,
                                    texts::kFirstMonth, texts::kLastMonth, texts::kPosted},
                                   rows, {0, 1, 3, 6, 7, 8})});
    return files;
}

} // namespace sorakado::exporting
