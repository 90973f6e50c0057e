#include "entry_index.h"

#include "text/fold.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace sorakado::search {

namespace {

std::string foldedUtf8(const std::string& typed) {
    QByteArray folded = text::foldForMatch(QString::fromStdString(typed)).toUtf8();
    folded.replace('\0', ' '); // the separator between texts
    return folded.toStdString();
}

template <class T> void permute(std::vector<T>& column, const std::vector<std::uint32_t>& order) {
    std::vector<T> out;
    out.reserve(order.size());
    for (std::uint32_t row : order)
        out.push_back(column[row]);
    column = std::move(out);
}

} // namespace

EntryIndex::EntryIndex() {
    // Id 0 of each dictionary stands for nothing: an empty description, no date, no category.
    foldedStart_.push_back(0);
    folded_.push_back('\0');
    typedStart_.push_back(0);
    dateTexts_.emplace_back();
    dateRank_.push_back(0);
    byRank_.push_back(0);
    categoryKeys_.push_back(0);
    categoryNames_.emplace_back();
    categoryFolded_.emplace_back();
}

std::uint32_t EntryIndex::textId(const std::optional<std::string>& description) {
    if (!description || description->empty())
        return 0;
    auto [found, added] = textIds_.try_emplace(*description, static_cast<std::uint32_t>(foldedStart_.size()));
    if (added) {
        foldedStart_.push_back(static_cast<std::uint32_t>(folded_.size()));
        const std::string folded = foldedUtf8(*description);
        for (unsigned char c : folded)
            ++byteCounts_[c];
        folded_ += folded;
        folded_.push_back('\0');
        typedStart_.push_back(static_cast<std::uint32_t>(typed_.size()));
        typed_ += *description;
    }
    return found->second;
}

std::uint32_t EntryIndex::dateId(const std::optional<std::string>& date) {
    if (!date)
        return 0;
    auto [found, added] = dateIds_.try_emplace(*date, static_cast<std::uint32_t>(dateTexts_.size()));
    if (added) {
        dateTexts_.push_back(*date);
        dateRank_.push_back(0);
        byRank_.clear(); // ranked again before the next search
    }
    return found->second;
}

std::uint32_t EntryIndex::categorySlot(const std::optional<std::int64_t>& key) {
    if (!key)
        return 0;
    auto [found, added] = categorySlots_.try_emplace(*key, static_cast<std::uint32_t>(categoryKeys_.size()));
    if (added) {
        categoryKeys_.push_back(*key);
        categoryNames_.emplace_back(); // gone until setCategories names it
        categoryFolded_.emplace_back();
    }
    return found->second;
}

void EntryIndex::append(const StoredEntry& row) {
    keys_.push_back(row.key);
    dates_.push_back(dateId(row.date));
    categories_.push_back(categorySlot(row.categoryKey));
    texts_.push_back(textId(row.description));
    std::int64_t amount = kNoAmount;
    if (row.amount) {
        const Amount::Raw raw = row.amount->tenThousandths();
        if (raw > kLargeAmount && raw <= INT64_MAX) {
            amount = static_cast<std::int64_t>(raw);
        } else {
            amount = kLargeAmount;
            large_[row.key] = *row.amount;
        }
    }
    amounts_.push_back(amount);
    ++size_;
}

void EntryIndex::add(const std::vector<StoredEntry>& rows) {
    for (const StoredEntry& row : rows)
        append(row);
}

void EntryIndex::rankDates() {
    byRank_.resize(dateTexts_.size());
    std::iota(byRank_.begin(), byRank_.end(), 0u);
    // No date (id 0) ranks lowest: it is listed last and is outside every range of dates.
    std::sort(byRank_.begin() + 1, byRank_.end(),
              [this](std::uint32_t a, std::uint32_t b) { return dateTexts_[a] < dateTexts_[b]; });
    for (std::uint32_t rank = 0; rank < byRank_.size(); ++rank)
        dateRank_[byRank_[rank]] = rank;
}

bool EntryIndex::newer(std::uint32_t a, std::uint32_t b) const {
    const std::uint32_t ra = dateRank_[dates_[a]], rb = dateRank_[dates_[b]];
    return ra != rb ? ra > rb : keys_[a] > keys_[b];
}

void EntryIndex::reorder() {
    if (byRank_.size() != dateTexts_.size())
        rankDates();
    std::vector<std::uint32_t> order;
    order.reserve(size_);
    for (std::uint32_t row = 0; row < keys_.size(); ++row)
        if (texts_[row] != kGone)
            order.push_back(row);
    const auto firstAdded =
        std::find_if(order.begin(), order.end(), [this](std::uint32_t r) { return r >= sorted_; });
    auto newerRow = [this](std::uint32_t a, std::uint32_t b) { return newer(a, b); };
    if (sorted_ == 0) {
        std::sort(order.begin(), order.end(), newerRow);
    } else {
        // The rows in order stay so; only those added since are sorted, then merged in.
        std::sort(firstAdded, order.end(), newerRow);
        std::inplace_merge(order.begin(), firstAdded, order.end(), newerRow);
    }
    permute(keys_, order);
    permute(dates_, order);
    permute(categories_, order);
    permute(texts_, order);
    permute(amounts_, order);
    sorted_ = keys_.size();
    gone_ = 0;
}

void EntryIndex::finish() {
    reorder();
    // Texts added from now on are few; the map of every text is not worth its memory.
    std::unordered_map<std::string, std::uint32_t>().swap(textIds_);
}

void EntryIndex::setCategories(const std::vector<Category>& categories) {
    for (auto& name : categoryNames_)
        name.reset();
    for (auto& folded : categoryFolded_)
        folded.clear();
    for (const Category& c : categories) {
        const std::uint32_t slot = categorySlot(c.key);
        const QString name = QString::fromStdString(c.name.value_or(std::string()));
        categoryNames_[slot] = name;
        categoryFolded_[slot] = text::foldForMatch(name).toUtf8().toStdString();
    }
}

void EntryIndex::apply(const std::vector<std::int64_t>& changedKeys, const std::vector<StoredEntry>& rows) {
    if (changedKeys.empty() && rows.empty())
        return;
    std::vector<std::int64_t> keys = changedKeys;
    for (const StoredEntry& row : rows)
        keys.push_back(row.key);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (std::size_t row = 0; row < keys_.size(); ++row) {
        if (texts_[row] == kGone || !std::binary_search(keys.begin(), keys.end(), keys_[row]))
            continue;
        texts_[row] = kGone;
        large_.erase(keys_[row]);
        --size_;
        ++gone_;
    }
    for (const StoredEntry& row : rows)
        append(row);
    if (byRank_.size() != dateTexts_.size())
        rankDates();
    // Rows added since the last ordering are sorted at every search: keep them few.
    if (keys_.size() - sorted_ > 4096 || gone_ > keys_.size() / 4)
        reorder();
}

std::optional<Amount> EntryIndex::amountOf(std::uint32_t row) const {
    const std::int64_t raw = amounts_[row];
    if (raw == kNoAmount)
        return std::nullopt;
    if (raw == kLargeAmount)
        return large_.at(keys_[row]);
    return Amount::fromTenThousandths(raw);
}

std::vector<char> EntryIndex::matchingTexts(const std::string& needle) const {
    std::vector<char> match(foldedStart_.size(), 0);
    // One pass over the folded texts, each held once however many entries use it.
    // The needle's rarest byte is looked for with memchr, which runs at the speed of memory, and
    // only where it turns up is the whole needle compared.
    std::size_t pivot = 0;
    for (std::size_t i = 1; i < needle.size(); ++i)
        if (byteCounts_[static_cast<unsigned char>(needle[i])] <
            byteCounts_[static_cast<unsigned char>(needle[pivot])])
            pivot = i;
    const char* begin = folded_.data();
    const char* end = begin + folded_.size();
    const char* at = begin + pivot; // where the pivot byte of a match at `begin` would be
    while (at < end) {
        const void* found = std::memchr(at, needle[pivot], static_cast<std::size_t>(end - at));
        if (!found)
            break;
        const char* start = static_cast<const char*>(found) - pivot;
        if (static_cast<std::size_t>(end - start) < needle.size() ||
            std::memcmp(start, needle.data(), needle.size()) != 0) {
            at = static_cast<const char*>(found) + 1;
            continue;
        }
        // Credited to the text the match lies in; the search goes on from the next text.
        const auto offset = static_cast<std::uint32_t>(start - begin);
        const auto next = std::upper_bound(foldedStart_.begin(), foldedStart_.end(), offset);
        match[static_cast<std::size_t>(next - foldedStart_.begin()) - 1] = 1;
        at = (next == foldedStart_.end() ? end : begin + *next) + pivot;
    }
    return match;
}

SearchResult EntryIndex::search(const SearchQuery& query) const {
    SearchResult out;
    QByteArray folded = text::foldForMatch(query.text).toUtf8();
    folded.replace('\0', ' '); // as in the texts, where 0 bytes part them
    const std::string needle = folded.toStdString();
    std::vector<char> textMatch, categoryMatch(categoryKeys_.size(), needle.empty() ? 1 : 0);
    if (!needle.empty()) {
        textMatch = matchingTexts(needle);
        for (std::size_t slot = 1; slot < categoryKeys_.size(); ++slot)
            categoryMatch[slot] =
                categoryNames_[slot] && categoryFolded_[slot].find(needle) != std::string::npos;
    }

    // Dates as ranks: [lowRank, highRank) are the ranks whose text lies in the range.
    std::uint32_t lowRank = 0, highRank = static_cast<std::uint32_t>(byRank_.size());
    const bool dated = query.fromDate || query.toDate;
    auto rankOf = [this](const std::string& text) {
        return static_cast<std::uint32_t>(
            std::lower_bound(byRank_.begin() + 1, byRank_.end(), text,
                             [this](std::uint32_t id, const std::string& t) { return dateTexts_[id] < t; }) -
            byRank_.begin());
    };
    if (query.fromDate)
        lowRank = rankOf(*query.fromDate);
    if (query.toDate)
        highRank = rankOf(*query.toDate);
    if (dated)
        lowRank = std::max(lowRank, 1u);

    std::optional<std::uint32_t> onlyCategory;
    if (query.categoryKey) {
        const auto found = categorySlots_.find(*query.categoryKey);
        if (found == categorySlots_.end())
            return out;
        onlyCategory = found->second;
    }
    const bool amounts = query.leastAmount || query.mostAmount;

    std::vector<std::uint32_t> added; // found among the rows after sorted_
    Amount::Raw sum = 0;
    const auto rows = static_cast<std::uint32_t>(keys_.size());
    for (std::uint32_t row = 0; row < rows; ++row) {
        const std::uint32_t text = texts_[row];
        if (text == kGone)
            continue;
        if (!needle.empty() && !textMatch[text] && !categoryMatch[categories_[row]])
            continue;
        if (dated) {
            const std::uint32_t rank = dateRank_[dates_[row]];
            if (rank < lowRank || rank >= highRank)
                continue;
        }
        if (onlyCategory && categories_[row] != *onlyCategory)
            continue;
        const std::int64_t raw = amounts_[row];
        if (amounts || raw == kLargeAmount) {
            const std::optional<Amount> amount = amountOf(row);
            if (amounts && (!amount || (query.leastAmount && *amount < *query.leastAmount) ||
                            (query.mostAmount && *amount > *query.mostAmount)))
                continue;
            if (amount)
                sum += amount->tenThousandths();
        } else if (raw != kNoAmount) {
            sum += raw;
        }
        (row < sorted_ ? out.rows : added).push_back(row);
    }
    if (!added.empty()) {
        auto newerRow = [this](std::uint32_t a, std::uint32_t b) { return newer(a, b); };
        std::sort(added.begin(), added.end(), newerRow);
        const auto middle = out.rows.insert(out.rows.end(), added.begin(), added.end());
        std::inplace_merge(out.rows.begin(), middle, out.rows.end(), newerRow);
    }
    out.count = static_cast<std::int64_t>(out.rows.size());
    out.sum = Amount::fromTenThousandths(sum);
    return out;
}

FoundEntry EntryIndex::entry(std::uint32_t row) const {
    FoundEntry out;
    out.key = keys_[row];
    if (dates_[row] != 0)
        out.date = dateTexts_[dates_[row]];
    out.categoryName = categoryNames_[categories_[row]];
    const std::uint32_t text = texts_[row];
    if (text != 0 && text != kGone) {
        const std::uint32_t from = typedStart_[text];
        const std::uint32_t to =
            text + 1 < typedStart_.size() ? typedStart_[text + 1] : static_cast<std::uint32_t>(typed_.size());
        out.description = QString::fromUtf8(typed_.data() + from, static_cast<qsizetype>(to - from));
    }
    out.amount = amountOf(row);
    return out;
}

std::size_t EntryIndex::bytes() const {
    std::size_t b = keys_.capacity() * 8 + amounts_.capacity() * 8 +
                    (dates_.capacity() + categories_.capacity() + texts_.capacity()) * 4;
    b += folded_.capacity() + typed_.capacity() + (foldedStart_.capacity() + typedStart_.capacity()) * 4;
    for (const auto& d : dateTexts_)
        b += sizeof d + d.capacity();
    b += textIds_.size() * 64 + dateIds_.size() * 64 + large_.size() * 48 + categorySlots_.size() * 32;
    return b;
}

} // namespace sorakado::search
