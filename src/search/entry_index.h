#pragma once

#include "store/amount.h"
#include "store/ledger.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace sorakado::search {

// What the user asks for. Every part is optional; all that are given must hold.
struct SearchQuery {
    QString text;                        // anywhere in the description or the category name, folded
    std::optional<std::string> fromDate; // stored date text at least this ("2006/04/01")
    std::optional<std::string> toDate;   // stored date text below this (an exclusive bound)
    std::optional<std::int64_t> categoryKey;
    std::optional<Amount> leastAmount, mostAmount; // inclusive
};

// The entries found, newest first (by date, then by key), and what they add up to: exact, however
// many there are.
struct SearchResult {
    std::vector<std::uint32_t> rows; // rows of the index; EntryIndex::entry reads them
    std::int64_t count = 0;
    Amount sum; // an entry without an amount adds nothing
};

// One entry found, as the result list shows it.
struct FoundEntry {
    std::int64_t key = 0;
    std::optional<std::string> date;
    std::optional<QString> categoryName; // nullopt when the category is gone
    QString description;
    std::optional<Amount> amount;
};

// A copy of every expense entry of the ledger, laid out for searching: each description once
// however often it is used, folded (text::foldForMatch) beside the text as typed, and the rest
// of an entry in a few plain columns walked from end to end by every search. Kept in step by
// applying the entries that changed; built apart (on another thread) and then handed over.
class EntryIndex {
public:
    EntryIndex();

    // Building: add every entry in any order, then finish() (sorts; searching needs it).
    void add(const std::vector<StoredEntry>& rows);
    void finish();

    // The category names the entries are shown and matched with; a key not among them is a
    // category that is gone.
    void setCategories(const std::vector<Category>& categories);
    // The entries of these keys are now `rows` (keys missing from rows are deleted).
    void apply(const std::vector<std::int64_t>& changedKeys, const std::vector<StoredEntry>& rows);

    SearchResult search(const SearchQuery& query) const;
    FoundEntry entry(std::uint32_t row) const;
    std::size_t size() const { return size_; }
    // Bytes held, for the benchmark's figures.
    std::size_t bytes() const;

private:
    static constexpr std::uint32_t kGone = 0xFFFFFFFFu; // a text id: the entry was deleted
    static constexpr std::int64_t kNoAmount = INT64_MIN;
    static constexpr std::int64_t kLargeAmount = INT64_MIN + 1; // held in large_

    void append(const StoredEntry& row);
    std::uint32_t textId(const std::optional<std::string>& description);
    std::uint32_t dateId(const std::optional<std::string>& date);
    std::uint32_t categorySlot(const std::optional<std::int64_t>& key);
    void rankDates();
    // Puts every entry in newest-first order and drops the deleted ones.
    void reorder();
    bool newer(std::uint32_t a, std::uint32_t b) const; // entry a is listed before entry b
    std::optional<Amount> amountOf(std::uint32_t row) const;
    std::vector<char> matchingTexts(const std::string& needle) const;

    // One entry per row: rows [0, sorted_) are newest first, rows after them were added since.
    std::vector<std::int64_t> keys_;
    std::vector<std::uint32_t> dates_, categories_, texts_;
    std::vector<std::int64_t> amounts_;              // ten-thousandths, or kNoAmount / kLargeAmount
    std::unordered_map<std::int64_t, Amount> large_; // by entry key
    std::size_t sorted_ = 0;
    std::size_t size_ = 0; // entries not deleted
    std::size_t gone_ = 0;

    // Descriptions: id 0 is the empty one. Each folded text ends with a 0 byte, so a match never
    // runs from one into the next.
    std::string folded_, typed_;
    std::vector<std::uint32_t> foldedStart_, typedStart_;
    std::array<std::uint64_t, 256> byteCounts_{};            // of folded_: a search looks for its rarest byte
    std::unordered_map<std::string, std::uint32_t> textIds_; // while building, and texts added since

    // Dates: id 0 is no date; rank orders the ids by their text, no date lowest.
    std::vector<std::string> dateTexts_;
    std::unordered_map<std::string, std::uint32_t> dateIds_;
    std::vector<std::uint32_t> dateRank_, byRank_;

    // Categories: slot 0 is none; every key an entry names has a slot, gone or not.
    std::vector<std::int64_t> categoryKeys_;
    std::unordered_map<std::int64_t, std::uint32_t> categorySlots_;
    std::vector<std::optional<QString>> categoryNames_;
    std::vector<std::string> categoryFolded_;
};

} // namespace sorakado::search
