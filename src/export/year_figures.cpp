#include "year_figures.h"

#include "store/ledger.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace sorakado::yearly {

std::optional<int> parseYear(std::string_view text) {
    if (text.size() != 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int year = 0;
    for (char c : text)
        year = year * 10 + (c - '0');
    if (year < kFirstYear || year > kLastYear)
        return std::nullopt;
    return year;
}

std::string yearText(int year) {
    return MonthKey::of(year, 1).value().yearText();
}

std::string monthKey(int year, int month) {
    return MonthKey::of(year, month).value().text();
}

Amount YearFigures::incomeTotal() const {
    Amount total;
    for (Amount a : income)
        total += a;
    return total;
}

Amount YearFigures::spendingTotal() const {
    Amount total;
    for (Amount a : spending)
        total += a;
    return total;
}

bool YearFigures::empty() const {
    auto zero = [](Amount a) { return a == Amount(); };
    return std::all_of(income.begin(), income.end(), zero) &&
           std::all_of(spending.begin(), spending.end(), zero) && categories.empty();
}

void sortBiggestFirst(std::vector<CategorySpending>& categories) {
    std::sort(categories.begin(), categories.end(), [](const CategorySpending& a, const CategorySpending& b) {
        if (a.amount != b.amount)
            return a.amount > b.amount;
        // A category that is gone sorts after every named one of the same amount.
        auto rank = [](const CategorySpending& c) {
            return std::make_tuple(!c.key, c.name.value_or(""), c.key.value_or(0));
        };
        return rank(a) < rank(b);
    });
}

YearFigures readYearFigures(Ledger& ledger, int year) {
    YearFigures figures;
    figures.year = year;
    const std::string text = yearText(year);
    MonthSums incomes = ledger.yearIncomeSums(text);
    MonthSums spending = ledger.yearExpenseSums(text);
    for (int i = 0; i < 12; ++i) {
        figures.income[i] = incomes[i].value_or(Amount());
        figures.spending[i] = spending[i].value_or(Amount());
    }

    // Month by month, so the categories add up to exactly the months' spending: a date such as
    // 2006/4/5 belongs to no month of the window and to no category here either.
    std::map<std::int64_t, Amount> byKey;
    for (int month = 1; month <= 12; ++month)
        for (const auto& [key, amount] : ledger.monthCategorySums(monthKey(year, month)))
            byKey[key] += amount;

    std::map<std::int64_t, std::optional<std::string>> names;
    for (const Category& c : ledger.categories())
        names[c.key] = c.name;
    std::optional<CategorySpending> gone;
    for (const auto& [key, amount] : byKey) {
        auto found = names.find(key);
        if (found != names.end()) {
            figures.categories.push_back({key, found->second, amount});
        } else {
            if (!gone)
                gone = CategorySpending{std::nullopt, std::nullopt, Amount()};
            gone->amount += amount;
        }
    }
    if (gone)
        figures.categories.push_back(*gone);
    sortBiggestFirst(figures.categories);
    return figures;
}

std::string groupedNumber(Amount amount) {
    std::string plain = amount.text();
    std::string sign;
    if (!plain.empty() && plain.front() == '-') {
        sign = "-";
        plain.erase(0, 1);
    }
    std::size_t point = plain.find('.');
    std::string whole = plain.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : plain.substr(point);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += ',';
        grouped += whole[i];
    }
    return sign + grouped + fraction;
}

std::string groupedYen(Amount amount) {
    std::string number = groupedNumber(amount);
    if (!number.empty() && number.front() == '-')
        return "-\xC2\xA5" + number.substr(1);
    return "\xC2\xA5" + number;
}

} // namespace sorakado::yearly
