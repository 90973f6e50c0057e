#pragma once

#include "reader.h"
#include "store/ledger.h"
#include "store/statement_reads.h"

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace sorakado::statement {

// The category a statement line most likely belongs to, learnt from the family's own ledger.
// First the category used most for the same description (compared folded: widths, kana and case,
// so ＵＮＩＱＬＯ is Uniqlo and ﾄﾞﾄｰﾙ is ドトール); failing that, the one used most for the same
// shop under another branch (ツルハドラッグ　札幌店 and ツルハドラッグ　旭川店). A wrong guess costs
// the family more than none, so a tie gives none, and so does a shop whose entries are not filed
// under one category more than half of the time.
class CategoryGuesser {
public:
    // Uses of categories not in `existing` teach nothing (the category is gone).
    CategoryGuesser(const std::vector<statement_reads::DescriptionUse>& uses,
                    const std::vector<Category>& existing);
    explicit CategoryGuesser(const std::vector<statement_reads::DescriptionUse>& uses);
    std::optional<std::int64_t> guess(const QString& description) const;

private:
    void learn(const std::vector<statement_reads::DescriptionUse>& uses);
    using Counts = std::map<std::int64_t, std::int64_t>; // category key → entries
    std::unordered_map<QString, Counts> byDescription_;
    std::unordered_map<QString, Counts> byShop_;
};

// The shop a folded description names: its first word once the generic words banks put before
// it (デビット, カード, 口座振替, 振込) are dropped. Empty when nothing is left that could name
// a shop (a number, a single character).
QString shopOf(const QString& folded);

enum class RowState {
    New,           // 新規: to be written
    Registered,    // 登録済み: the ledger holds it already
    NeedsCategory, // 品目を選んで下さい: new, but no category could be guessed
};

struct PreviewRow {
    StatementLine line;
    std::optional<std::int64_t> category;      // the guess
    std::optional<std::int64_t> existingEntry; // the entry it already is, when Registered
    RowState state = RowState::New;
};

// Each line with its guess and its state. A line is Registered when the ledger holds an entry of
// the same date, amount and folded description that no earlier line of the same import has
// claimed, so two identical coffees on one day stay two, and importing a file again adds nothing.
std::vector<PreviewRow> matchLines(const std::vector<StatementLine>& lines, const CategoryGuesser& guesser,
                                   const std::vector<statement_reads::DatedEntry>& entries);

// How far back the guess looks: the latest entries up to the statement's last day. Years of a
// family's spending, and a read whose cost does not grow with a lifetime's ledger.
inline constexpr std::int64_t kHistoryEntries = 20000;

// The preview of lines read from one or more statements: reads what matchLines needs from the
// ledger, in one snapshot. Throws LedgerError.
std::vector<PreviewRow> previewLines(Ledger& ledger, const std::vector<StatementLine>& lines);

// The ledger's form of a date.
std::string ledgerDate(const QDate& date);

} // namespace sorakado::statement
