#include "matching.h"

#include "text/fold.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <set>
#include <tuple>

namespace sorakado::statement {

namespace {

QString folded(const QString& text) {
    return text::foldForMatch(text.trimmed()).simplified();
}

QString folded(const std::string& text) {
    return folded(QString::fromStdString(text));
}

// The single most used category; none on a tie, or when `majority` asks for more than half.
std::optional<std::int64_t> mostUsed(const std::map<std::int64_t, std::int64_t>& counts, bool majority) {
    std::optional<std::int64_t> best;
    std::int64_t bestCount = 0, total = 0;
    bool tie = false;
    for (const auto& [category, count] : counts) {
        total += count;
        if (count > bestCount) {
            best = category;
            bestCount = count;
            tie = false;
        } else if (count == bestCount) {
            tie = true;
        }
    }
    if (!best || tie || (majority && bestCount * 2 <= total))
        return std::nullopt;
    return best;
}

} // namespace

QString shopOf(const QString& foldedText) {
    static const std::array<QString, 5> generic{
        folded(QStringLiteral("デビット")), folded(QStringLiteral("カード")),
        folded(QStringLiteral("口座振替")), folded(QStringLiteral("振込")), folded(QStringLiteral("振込み"))};
    QStringList words = foldedText.split(u' ', Qt::SkipEmptyParts);
    while (!words.isEmpty() && std::find(generic.begin(), generic.end(), words.front()) != generic.end())
        words.pop_front();
    if (words.isEmpty())
        return {};
    const QString& shop = words.front();
    const bool digitsOnly = std::all_of(shop.begin(), shop.end(), [](QChar c) { return c.isDigit(); });
    if (shop.size() < 2 || digitsOnly)
        return {};
    return shop;
}

CategoryGuesser::CategoryGuesser(const std::vector<statement_reads::DescriptionUse>& uses,
                                 const std::vector<Category>& existing) {
    std::set<std::int64_t> keys;
    for (const auto& c : existing)
        keys.insert(c.key);
    std::vector<statement_reads::DescriptionUse> kept;
    for (const auto& use : uses)
        if (keys.count(use.categoryKey))
            kept.push_back(use);
    learn(kept);
}

CategoryGuesser::CategoryGuesser(const std::vector<statement_reads::DescriptionUse>& uses) {
    learn(uses);
}

void CategoryGuesser::learn(const std::vector<statement_reads::DescriptionUse>& uses) {
    for (const auto& use : uses) {
        const QString key = folded(use.description);
        if (key.isEmpty())
            continue;
        byDescription_[key][use.categoryKey] += use.count;
        if (const QString shop = shopOf(key); !shop.isEmpty())
            byShop_[shop][use.categoryKey] += use.count;
    }
}

std::optional<std::int64_t> CategoryGuesser::guess(const QString& description) const {
    const QString key = folded(description);
    if (key.isEmpty())
        return std::nullopt;
    if (auto same = byDescription_.find(key); same != byDescription_.end())
        return mostUsed(same->second, false);
    const QString shop = shopOf(key);
    if (shop.isEmpty())
        return std::nullopt;
    if (auto branch = byShop_.find(shop); branch != byShop_.end())
        return mostUsed(branch->second, true);
    return std::nullopt;
}

std::string ledgerDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd")).toStdString();
}

std::vector<PreviewRow> matchLines(const std::vector<StatementLine>& lines, const CategoryGuesser& guesser,
                                   const std::vector<statement_reads::DatedEntry>& entries) {
    using Key = std::tuple<std::string, Amount::Raw, QString>;
    struct Candidates {
        std::vector<std::int64_t> keys;
        std::size_t claimed = 0;
    };
    // A month's entries repeat their descriptions: each is folded once.
    std::unordered_map<std::string, QString> foldedDescriptions;
    std::map<Key, Candidates> ledger;
    for (const auto& e : entries) {
        auto [f, fresh] = foldedDescriptions.try_emplace(e.description);
        if (fresh)
            f->second = folded(e.description);
        ledger[{e.date, e.amount.tenThousandths(), f->second}].keys.push_back(e.key);
    }

    std::unordered_map<QString, QString> foldedLines;
    std::unordered_map<QString, std::optional<std::int64_t>> guesses;
    std::vector<PreviewRow> rows;
    rows.reserve(lines.size());
    for (const auto& line : lines) {
        PreviewRow row{line, {}, {}, RowState::New};
        auto [f, fresh] = foldedLines.try_emplace(line.description);
        if (fresh)
            f->second = folded(line.description);
        auto found = ledger.find({ledgerDate(line.date), line.amount.tenThousandths(), f->second});
        if (found != ledger.end() && found->second.claimed < found->second.keys.size())
            row.existingEntry = found->second.keys[found->second.claimed++];
        auto [guess, unguessed] = guesses.try_emplace(line.description);
        if (unguessed)
            guess->second = guesser.guess(line.description);
        row.category = guess->second;
        if (row.existingEntry)
            row.state = RowState::Registered;
        else if (!row.category)
            row.state = RowState::NeedsCategory;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<PreviewRow> previewLines(Ledger& ledger, const std::vector<StatementLine>& lines) {
    if (lines.empty())
        return {};
    const auto [first, last] =
        std::minmax_element(lines.begin(), lines.end(),
                            [](const StatementLine& a, const StatementLine& b) { return a.date < b.date; });
    Ledger::Snapshot snapshot(ledger);
    const auto entries =
        statement_reads::entriesBetween(ledger, ledgerDate(first->date), ledgerDate(last->date));
    const CategoryGuesser guesser(
        statement_reads::recentDescriptionUses(ledger, ledgerDate(last->date), kHistoryEntries),
        ledger.categories());
    return matchLines(lines, guesser, entries);
}

} // namespace sorakado::statement
