#include "import_plan.h"

#include "decimal_text.h"
#include "import_texts.h"

#include "store/month_key.h"

#include <charconv>
#include <map>
#include <set>

namespace sorakado::legacy {

namespace {

namespace texts = import_texts;

std::string show(const LegacyValue& v) {
    return v ? "\"" + *v + "\"" : "Null";
}
std::string showPlain(const LegacyValue& v) {
    return v ? *v : "Null";
}

// An amount as the program shows it ("300000", not Currency's "300000.0000").
std::string showAmount(const LegacyValue& v) {
    if (!v)
        return "Null";
    DecimalReading r = readDecimal(*v);
    return r.status == DecimalStatus::Exact ? r.amount.text() : *v;
}

bool isDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// A month key the window can list: the only keys the program selects by.
bool isListableMonthKey(const std::string& s) {
    const auto key = MonthKey::parse(s);
    return key && key->listable();
}

// "yyyy/m" with a month 1..9, as some old rows were written; gives "yyyy/0m".
std::optional<std::string> twoDigitMonthKey(const LegacyValue& v) {
    if (!v || v->size() != 6 || (*v)[4] != '/' || !isDigits(v->substr(0, 4)) || !isDigits(v->substr(5, 1)) ||
        (*v)[5] == '0')
        return std::nullopt;
    return MonthKey::keyText(v->substr(0, 4), (*v)[5] - '0');
}

// "yyyy/mm/dd" as the program writes dates, so that the date starts with its month key.
bool isDate(const std::string& s) {
    return s.size() == 10 && isListableMonthKey(s.substr(0, 7)) && s[7] == '/' && isDigits(s.substr(8, 2));
}

enum class KeyStatus { Ok, Null, NotNumber };

KeyStatus readKey(const LegacyValue& v, std::optional<std::int64_t>& out) {
    out.reset();
    if (!v)
        return KeyStatus::Null;
    std::int64_t key = 0;
    const char* end = v->data() + v->size();
    auto [ptr, ec] = std::from_chars(v->data(), end, key);
    if (ec != std::errc() || ptr != end)
        return KeyStatus::NotNumber;
    out = key;
    return KeyStatus::Ok;
}

// An amount as the ledger will keep it, or the reason it cannot be kept.
struct AmountOutcome {
    std::optional<Amount> amount;
    bool placeable = true;
    std::string change; // non-empty when the stored value differs from the old one
    std::string refusal;
};

AmountOutcome readAmount(const LegacyValue& v) {
    if (!v)
        return {};
    DecimalReading r = readDecimal(*v);
    switch (r.status) {
    case DecimalStatus::Exact:
    case DecimalStatus::Rounded:
        break;
    case DecimalStatus::NotANumber:
        return {std::nullopt, false, {}, texts::kAmountNotNumber + *v};
    case DecimalStatus::OutOfRange:
        return {std::nullopt, false, {}, texts::kAmountTooLarge + *v};
    }
    // A fraction is stored as a REAL: it must come back as the same four decimals, rounded or
    // not, or the read-back check of the whole import would fail on this one row.
    if (!r.amount.isWholeYen() && Amount::fromStoredDouble(r.amount.toDouble()) != r.amount)
        return {std::nullopt, false, {}, texts::kAmountTooLarge + *v};
    if (r.status == DecimalStatus::Rounded)
        return {r.amount, true, texts::kAmountRounded + r.amount.text(), {}};
    return {r.amount, true, {}, {}};
}

void addUnreadable(const LegacyTable& table, std::vector<RowNote>& notImported) {
    for (const auto& place : table.unreadableRows)
        notImported.push_back({table.name, place, texts::kUnreadable});
}

// The row's own key; nullopt, noted as not imported, when it is Null, not a number or taken
// by an earlier row. A row without a key is named by its place (rowLabel).
std::optional<std::int64_t> ownKey(const LegacyTable& table, const std::optional<std::string>& value,
                                   const std::string& rowLabel, const std::string& label,
                                   std::set<std::int64_t>& seen, ImportPlan& plan) {
    std::optional<std::int64_t> key;
    switch (readKey(value, key)) {
    case KeyStatus::Null:
        plan.notImported.push_back({table.name, rowLabel, texts::kKeyNull});
        return std::nullopt;
    case KeyStatus::NotNumber:
        plan.notImported.push_back({table.name, label, texts::kKeyNotNumber + *value});
        return std::nullopt;
    case KeyStatus::Ok:
        break;
    }
    if (!seen.insert(*key).second) {
        plan.notImported.push_back({table.name, label, texts::kKeyTwice});
        return std::nullopt;
    }
    return key;
}

// 名前 and 品目: a key and a name.
template <class Row>
std::vector<Row> planNamed(const LegacyTable& table, const std::string& keyName, ImportPlan& plan) {
    std::vector<Row> out;
    std::set<std::int64_t> seen;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const auto& r = table.rows[i];
        std::string label = keyName + " " + showPlain(r[0]) + " (" + show(r[1]) + ")";
        auto key = ownKey(table, r[0], texts::rowNumber(i + 1) + " (" + show(r[1]) + ")", label, seen, plan);
        if (!key)
            continue;
        out.push_back({*key, r[1]});
    }
    addUnreadable(table, plan.notImported);
    return out;
}

void planIncomes(const LegacyTable& table, const std::set<std::int64_t>& members, ImportPlan& plan) {
    struct Candidate {
        IncomeRow row;
        std::string label;
        std::optional<std::string> normalised; // set when the month key has one digit
        const char* hiddenReason = nullptr;    // set when the program will not list the row
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const auto& r = table.rows[i];
        Candidate c;
        c.label = texts::rowNumber(i + 1) + " (名前ID " + showPlain(r[0]) + ", 年月 " + show(r[1]) + ", " +
                  showAmount(r[2]) + ")";
        if (readKey(r[0], c.row.memberKey) == KeyStatus::NotNumber) {
            plan.notImported.push_back({table.name, c.label, texts::kKeyNotNumber + *r[0]});
            continue;
        }
        AmountOutcome amount = readAmount(r[2]);
        if (!amount.placeable) {
            plan.notImported.push_back({table.name, c.label, amount.refusal});
            continue;
        }
        if (!amount.change.empty())
            plan.changed.push_back({table.name, c.label, amount.change});
        c.row.monthKey = r[1];
        c.row.amount = amount.amount;
        c.normalised = twoDigitMonthKey(r[1]);
        if (!c.row.memberKey)
            c.hiddenReason = texts::kMemberNull;
        else if (!members.count(*c.row.memberKey))
            c.hiddenReason = texts::kMemberGone;
        else if (const auto& key = c.normalised ? c.normalised : r[1]; !(key && isListableMonthKey(*key)))
            c.hiddenReason = texts::kMonthKeyOdd;
        candidates.push_back(std::move(c));
    }

    // Rows that name the same member and (two-digit) month.
    std::map<std::pair<std::optional<std::int64_t>, std::string>, std::vector<std::size_t>> months;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const auto& c = candidates[i];
        std::optional<std::string> month = c.normalised ? c.normalised : c.row.monthKey;
        if (month)
            months[{c.row.memberKey, *month}].push_back(i);
    }
    // Two-digit rows that already share a month stay as they are: the program lists and adds
    // them up as the old one did. A one-digit row joining a month would change that month's
    // figures, so then every row of the month stays as it was and waits for the user.
    for (const auto& [key, rows] : months) {
        bool anyOneDigit = false;
        for (std::size_t i : rows)
            anyOneDigit = anyOneDigit || candidates[i].normalised.has_value();
        if (rows.size() < 2 || !anyOneDigit)
            continue;
        for (std::size_t i : rows) {
            auto& c = candidates[i];
            plan.decisions.push_back(
                {table.name, c.label,
                 c.normalised ? texts::monthCollision(*c.normalised) : texts::kMonthShared});
            c.normalised.reset(); // kept exactly as it was
        }
    }

    for (auto& c : candidates) {
        if (c.normalised) {
            plan.changed.push_back({table.name, c.label, texts::kOneDigitMonth + *c.normalised});
            c.row.monthKey = c.normalised;
        }
        if (c.hiddenReason)
            plan.hidden.push_back({table.name, c.label, c.hiddenReason});
        plan.rows.incomes.push_back(std::move(c.row));
    }
    addUnreadable(table, plan.notImported);
}

void planEntries(const LegacyTable& table, const std::set<std::int64_t>& categories, ImportPlan& plan) {
    std::set<std::int64_t> seen;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const auto& r = table.rows[i];
        std::string details =
            " (" + showPlain(r[1]) + ", 品目ID " + showPlain(r[2]) + ", " + showAmount(r[4]) + ")";
        std::string label = "DATAID " + showPlain(r[0]) + details;
        EntryRow e;
        auto key = ownKey(table, r[0], texts::rowNumber(i + 1) + details, label, seen, plan);
        if (!key)
            continue;
        if (readKey(r[2], e.categoryKey) == KeyStatus::NotNumber) {
            plan.notImported.push_back({table.name, label, texts::kKeyNotNumber + *r[2]});
            continue;
        }
        AmountOutcome amount = readAmount(r[4]);
        if (!amount.placeable) {
            plan.notImported.push_back({table.name, label, amount.refusal});
            continue;
        }
        if (!amount.change.empty())
            plan.changed.push_back({table.name, label, amount.change});
        e.key = *key;
        e.date = r[1];
        e.description = r[3];
        e.amount = amount.amount;
        if (!e.categoryKey)
            plan.hidden.push_back({table.name, label, texts::kCategoryNull});
        else if (!categories.count(*e.categoryKey))
            plan.hidden.push_back({table.name, label, texts::kCategoryGone});
        else if (!e.date || !isDate(*e.date))
            plan.hidden.push_back({table.name, label, texts::kDateOdd});
        plan.rows.entries.push_back(std::move(e));
    }
    addUnreadable(table, plan.notImported);
}

} // namespace

ImportPlan planImport(const LegacyFile& file) {
    ImportPlan plan;
    plan.rows.members = planNamed<Member>(file.members, "名前ID", plan);
    plan.rows.categories = planNamed<Category>(file.categories, "品目ID", plan);

    std::set<std::int64_t> members, categories;
    for (const auto& m : plan.rows.members)
        members.insert(m.key);
    for (const auto& c : plan.rows.categories)
        categories.insert(c.key);
    planIncomes(file.incomes, members, plan);
    planEntries(file.entries, categories, plan);

    auto count = [](const LegacyTable& t, std::size_t written) {
        return TableCount{t.name, t.rows.size() + t.unreadableRows.size(), written};
    };
    plan.counts = {
        count(file.members, plan.rows.members.size()), count(file.incomes, plan.rows.incomes.size()),
        count(file.categories, plan.rows.categories.size()), count(file.entries, plan.rows.entries.size())};
    return plan;
}

} // namespace sorakado::legacy
