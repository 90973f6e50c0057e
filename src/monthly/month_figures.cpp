#include "month_figures.h"

#include "month_texts.h"
#include "store/ledger.h"
#include "store/month_key.h"

#include <QDate>
#include <QLocale>

#include <map>

namespace sorakado {

namespace {

using namespace month_texts;
using Colour = std::optional<std::uint32_t>;

FigureCell cell(const QString& text, Colour colour = std::nullopt, bool bold = false) {
    return FigureCell{text, colour, bold};
}

QString stored(const std::optional<std::string>& text) {
    return text ? QString::fromStdString(*text) : QString();
}

QString yearYenText(Amount amount) {
    return kYearYen + QString::fromStdString(amount.text());
}

QString recordKey(std::int64_t key) {
    return rowKeyOf(QString::number(key));
}

// Rows of a block alternate between two colours, first colour on the first row.
std::uint32_t alternate(std::size_t index, std::uint32_t first, std::uint32_t second) {
    return index % 2 == 0 ? first : second;
}

// The numeric value of a selector text in shortest form: the month "04" is written 4.
QString shortNumber(const QString& text) {
    return QString::number(text.toDouble(), 'g', QLocale::FloatingPointShortest);
}

// Twelve month rows and the year's total, the income and expense summaries alike. The income
// list has two columns; the expense list puts the figure in column 4 and only the name and the
// figure take the row's colour.
void appendYearSummary(std::vector<FigureRow>& rows, const QString& yearText, const MonthSums& sums,
                       const QString& monthCaption, const QString& totalCaption, bool fourColumns) {
    rows.push_back({{}, {cell(kBlankName), cell(kBlankValue)}});
    rows.push_back({{}, {cell(yearText + kYearHeading, palette::kRed, true), cell(kHeadingFiller)}});

    Amount yearTotal;
    for (std::size_t n = 0; n < sums.size(); ++n) {
        Colour colour = alternate(n, palette::kCyan, palette::kMagenta);
        FigureRow row{{}, {cell(QString::number(n + 1) + monthCaption, colour)}};
        if (fourColumns)
            row.cells.insert(row.cells.end(), {cell(kSummaryFiller), cell(kSummaryFiller)});
        row.cells.push_back(cell(yenText(sums[n]), colour));
        if (sums[n])
            yearTotal += *sums[n];
        rows.push_back(std::move(row));
    }

    FigureRow total{{}, {cell(yearText + totalCaption, palette::kLightMagenta, true)}};
    if (fourColumns)
        total.cells.insert(total.cells.end(), {cell(kSummaryFiller), cell(kSummaryFiller)});
    total.cells.push_back(cell(yearYenText(yearTotal), palette::kLightMagenta, true));
    rows.push_back(std::move(total));
}

// Member rows, separator and month total. Returns the month's income total.
Amount fillIncomeBlock(Ledger& ledger, const std::vector<Member>& members, const std::string& monthKey,
                       std::vector<FigureRow>& rows) {
    // Matched by member key, so two members of the same name each keep their own income. Should
    // a member have more than one income for the month, the first stored one is the one shown.
    std::map<std::int64_t, std::optional<Amount>> incomes;
    for (const Income& income : ledger.monthIncomes(monthKey))
        incomes.emplace(income.memberKey, income.amount);

    Amount total;
    for (std::size_t i = 0; i < members.size(); ++i) {
        std::optional<Amount> income;
        if (auto found = incomes.find(members[i].key); found != incomes.end())
            income = found->second;
        if (income)
            total += *income;
        Colour colour = alternate(i, palette::kBlack, palette::kLightBlue);
        rows.push_back({recordKey(members[i].key),
                        {cell(stored(members[i].name), colour), cell(yenText(income), colour)}});
    }

    rows.push_back({{}, {cell(kIncomeRule1), cell(kIncomeRule2)}});
    rows.push_back(
        {{}, {cell(kMonthTotal, palette::kLightRed, true), cell(yenText(total), palette::kLightRed, true)}});
    return total;
}

// Entry rows, separator and month total. Entries of a category that is gone are not listed.
// Returns the month's expense total.
Amount fillExpenseBlock(const std::vector<Entry>& entries, std::vector<FigureRow>& rows) {
    Amount total;
    std::size_t index = 0;
    rows.reserve(entries.size() + 16);
    // A month has a few dozen dates and categories among its thousands of entries: each text is
    // made once and shared. Entries come by date, so a date repeats the one before.
    const std::optional<std::string>* lastDate = nullptr;
    QString lastDateText;
    std::map<std::optional<std::string>, QString> categoryTexts;
    for (const Entry& entry : entries) {
        if (entry.amount)
            total += *entry.amount;
        if (!lastDate || *lastDate != entry.date) {
            lastDate = &entry.date;
            lastDateText = listDateText(entry.date);
        }
        auto category = categoryTexts.find(entry.categoryName);
        if (category == categoryTexts.end())
            category = categoryTexts.emplace(entry.categoryName, stored(entry.categoryName)).first;
        Colour colour = alternate(index++, palette::kBlack, palette::kLightBlue);
        // Built in place: a row made from a list of cells would copy each of them once more.
        FigureRow& row = rows.emplace_back();
        row.key = recordKey(entry.key);
        row.cells.reserve(4);
        row.cells.push_back(cell(lastDateText, colour));
        row.cells.push_back(cell(category->second, colour));
        row.cells.push_back(FigureCell{stored(entry.description), colour, false});
        row.cells.push_back(FigureCell{yenText(entry.amount), colour, false});
    }

    rows.push_back(
        {{}, {cell(kExpenseRule1), cell(kExpenseRule2), cell(kExpenseRule3), cell(kExpenseRule4)}});
    Colour red = palette::kLightRed;
    rows.push_back({{},
                    {cell(kMonthTotal, red, true), cell(QString(), red, true), cell(QString(), red, true),
                     cell(yenText(total), red, true)}});
    return total;
}

void fillCategories(const std::vector<Category>& categories, const std::map<std::int64_t, Amount>& sums,
                    MonthFigures& out) {
    out.categoryPicker.push_back({kAddCategory, 0});
    for (std::size_t i = 0; i < categories.size(); ++i) {
        const Category& category = categories[i];
        out.categoryPicker.push_back({stored(category.name), category.key});

        std::optional<Amount> sum;
        if (auto found = sums.find(category.key); found != sums.end())
            sum = found->second;
        Colour colour = alternate(i, palette::kBlack, palette::kLightBlue);
        out.categoryRows.push_back(
            {recordKey(category.key), {cell(stored(category.name), colour), cell(yenText(sum), colour)}});
    }
}

void fillStatus(Amount income, Amount expense, MonthFigures& out) {
    Amount difference = income - expense;
    out.difference = kYen + QString::fromStdString(difference.text());
    switch (difference.sign()) {
    case -1:
        out.verdict = kDeficit;
        out.verdictColour = palette::kLightRed;
        break;
    case 1:
        out.verdict = kSurplus;
        out.verdictColour = palette::kLightBlue;
        break;
    default:
        out.verdict = kEven;
        out.verdictColour = palette::kBlack;
    }
}

} // namespace

QString yenText(const std::optional<Amount>& amount) {
    if (!amount)
        return kNothing;
    // One string made per figure, the lists holding thousands of them: the amount's text is
    // plain ASCII digits, sign and point.
    const std::string digits = amount->text();
    QString out;
    out.reserve(kYen.size() + static_cast<qsizetype>(digits.size()));
    out += kYen;
    out += QLatin1StringView(digits.data(), static_cast<qsizetype>(digits.size()));
    return out;
}

// "2006/04/05" becomes "2006/04/05(水)". A date text that is not a real yyyy/mm/dd day (a ledger
// touched by some other tool) is shown as it is stored rather than failing the whole month.
QString listDateText(const std::optional<std::string>& storedDate) {
    QString text = stored(storedDate);
    if (text.size() != 10 || text[4] != u'/' || text[7] != u'/')
        return text;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < u'0' || text[i] > u'9')
            return text;
    QDate day(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
    if (!day.isValid())
        return text;
    return text + u'(' + kWeekdays[day.dayOfWeek() % 7] + u')';
}

QString rowKeyOf(const QString& recordKey) {
    return u'@' + recordKey;
}

QString recordKeyOf(const QString& rowKey) {
    return rowKey.startsWith(u'@') ? rowKey.mid(1) : QString();
}

QString incomeCaption(const QString& yearText, const QString& monthText) {
    return shortNumber(yearText) + kCaptionYear + shortNumber(monthText) + kCaptionMonth;
}

std::optional<MonthFigures> buildMonth(Ledger& ledger, const QString& yearText, const QString& monthText) {
    // Every figure of the window from one state of the ledger, even with another program writing.
    Ledger::Snapshot snapshot(ledger);
    const std::vector<Member> members = ledger.members();
    if (members.empty())
        return std::nullopt;

    const std::string monthKey = MonthKey::keyText(yearText.toStdString(), monthText.toInt());
    const std::string year = yearText.toStdString();
    MonthFigures out;
    out.incomeCaption = incomeCaption(yearText, monthText);

    Amount income = fillIncomeBlock(ledger, members, monthKey, out.incomeRows);
    out.incomeTotal = yenText(income);
    appendYearSummary(out.incomeRows, yearText, ledger.yearIncomeSums(year), kIncomeMonth, kIncomeYearTotal,
                      false);

    // The month's entries and the category totals come from one pass over the month.
    const std::vector<Category> categories = ledger.categories();
    const MonthExpenses expenses = ledger.monthExpenses(monthKey, categories);
    fillCategories(categories, expenses.categorySums, out);

    Amount expense = fillExpenseBlock(expenses.entries, out.expenseRows);
    out.expenseTotal = yenText(expense);
    appendYearSummary(out.expenseRows, yearText, ledger.yearExpenseSums(year), kExpenseMonth,
                      kExpenseYearTotal, true);

    fillStatus(income, expense, out);
    return out;
}

} // namespace sorakado
