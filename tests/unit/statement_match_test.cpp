// The guess learnt from the family's own ledger, the lines the ledger already holds, and the
// import's write: on seeded histories and real encrypted ledgers.
#include "statement/import.h"
#include "statement/matching.h"
#include "support/temp_ledger.h"

#include "store/history.h"
#include "store/ledger_error.h"
#include "store/testing/reference_reads.h"

#include <gtest/gtest.h>

namespace sorakado::statement {
namespace {

using sorakado::testing::monthEntries;
using sorakado::testing::TempLedger;
using sorakado::testing::yen;
using Uses = std::vector<statement_reads::DescriptionUse>;

constexpr std::int64_t kFood = 1, kEating = 2, kDaily = 3, kClothes = 4, kUtilities = 5;

StatementLine line(int n, const char* date, const char* description, std::int64_t amount) {
    return {n, QDate::fromString(QString::fromUtf8(date), QStringLiteral("yyyy/MM/dd")),
            QString::fromUtf8(description), Amount::fromYen(amount)};
}

TEST(StatementGuess, SameDescriptionHoweverItIsWritten) {
    const CategoryGuesser guesser(Uses{{"ユニクロ", kClothes, 3},
                                       {"uniqlo", kClothes, 1},
                                       {"ドトール", kEating, 5},
                                       {"ドトール", kFood, 2},
                                       {"コンビニ", kFood, 2},
                                       {"コンビニ", kEating, 2}});
    struct Case {
        const char* description;
        std::optional<std::int64_t> category;
    };
    for (const Case& c : {Case{"ＵＮＩＱＬＯ", kClothes}, Case{"Uniqlo", kClothes}, Case{"ﾕﾆｸﾛ", kClothes},
                          Case{"ﾄﾞﾄｰﾙ", kEating},         // the category used most, not the only one
                          Case{"  ドトール  ", kEating},  // padded as statements pad
                          Case{"コンビニ", std::nullopt}, // a tie is no guess
                          Case{"スターバックス", std::nullopt}, Case{"", std::nullopt}})
        EXPECT_EQ(guesser.guess(QString::fromUtf8(c.description)), c.category) << c.description;
}

TEST(StatementGuess, SameShopAnotherBranchButNotTheBanksGenericWords) {
    const CategoryGuesser guesser(Uses{{"ツルハドラッグ　札幌店", kDaily, 4},
                                       {"デビット　セブンイレブン 北1条店", kFood, 3},
                                       {"カード 1234", kClothes, 9},
                                       {"口座振替 ﾎｯｶｲﾄﾞｳﾃﾞﾝﾘｮｸ", kUtilities, 2},
                                       {"振込　ヤマダタロウ", kUtilities, 1},
                                       {"サツドラ 琴似店", kDaily, 1},
                                       {"サツドラ 琴似店", kFood, 1},
                                       {"イオン 桑園店", kFood, 3},
                                       {"イオン 発寒店", kClothes, 3}});
    struct Case {
        const char* description;
        std::optional<std::int64_t> category;
    };
    for (const Case& c :
         {Case{"ﾂﾙﾊﾄﾞﾗｯｸﾞ 旭川店", kDaily}, Case{"ツルハドラッグ", kDaily},
          Case{"ﾃﾞﾋﾞｯﾄ ｾﾌﾞﾝｲﾚﾌﾞﾝ 大通店", kFood}, Case{"口座振替 ホッカイドウデンリョク", kUtilities},
          Case{"デビット ローソン 札幌店", std::nullopt}, // デビット is no shop
          Case{"カード 5678", std::nullopt},              // nor is a card number
          Case{"振込 スズキハナコ", std::nullopt},        // nor 振込
          Case{"振込", std::nullopt},
          Case{"サツドラ 新川店", std::nullopt}, // the shop's entries are split evenly
          Case{"イオン 手稲店", std::nullopt}})
        EXPECT_EQ(guesser.guess(QString::fromUtf8(c.description)), c.category) << c.description;
}

TEST(StatementDuplicates, EachLedgerEntryIsClaimedOnce) {
    const CategoryGuesser guesser(Uses{{"ドトール", kEating, 1}});
    const std::vector<statement_reads::DatedEntry> ledger{{10, "2026/11/02", "ドトール", yen(300)},
                                                          {11, "2026/11/03", "ドトール", yen(300)},
                                                          {12, "2026/11/04", "ﾄﾞﾄｰﾙ", yen(-300)}};
    const auto rows =
        matchLines({line(1, "2026/11/02", "ﾄﾞﾄｰﾙ", 300),    // the entry of the 2nd
                    line(2, "2026/11/02", "ﾄﾞﾄｰﾙ", 300),    // a second coffee that day
                    line(3, "2026/11/03", "ドトール", 350), // another amount
                    line(4, "2026/11/05", "ドトール", 300), // another day
                    line(5, "2026/11/04", "ドトール", -300), line(6, "2026/11/06", "喫茶店", 500)},
                   guesser, ledger);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].state, RowState::Registered);
    EXPECT_EQ(rows[0].existingEntry, 10);
    EXPECT_EQ(rows[1].state, RowState::New);
    EXPECT_EQ(rows[1].category, kEating);
    EXPECT_EQ(rows[2].state, RowState::New);
    EXPECT_EQ(rows[3].state, RowState::New);
    EXPECT_EQ(rows[4].state, RowState::Registered);
    EXPECT_EQ(rows[4].existingEntry, 12);
    EXPECT_EQ(rows[5].state, RowState::NeedsCategory);
    EXPECT_FALSE(rows[5].category);
}

TEST(StatementImport, WritingTheSameLinesAgainAddsNothing) {
    TempLedger temp;
    Ledger ledger = temp.open();
    const auto eating = testing::addCategory(ledger, "外食");
    const auto gone = testing::addCategory(ledger, "消えた品目");
    testing::addEntry(ledger, "2026/10/01", eating, "ドトール", yen(280));
    testing::addEntry(ledger, "2026/10/02", gone, "スターバックス", yen(480));
    testing::addEntry(ledger, "2026/12/02", eating, "スターバックス",
                      yen(480));              // after the statement: unseen
    testing::deleteCategoryRow(ledger, gone); // as another tool may leave it: its entries stay

    const std::vector<StatementLine> lines{line(2, "2026/11/02", "ﾄﾞﾄｰﾙ", 300),
                                           line(3, "2026/11/02", "ﾄﾞﾄｰﾙ", 300),
                                           line(4, "2026/11/03", "ｽﾀｰﾊﾞｯｸｽ", 500)};
    auto rows = previewLines(ledger, lines);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].category, eating);
    EXPECT_EQ(rows[2].state, RowState::NeedsCategory); // a deleted category teaches nothing

    std::vector<ImportRow> toWrite;
    for (const auto& row : rows)
        if (row.state == RowState::New)
            toWrite.push_back({row.line.date, *row.category, row.line.description, row.line.amount});
    EXPECT_EQ(writeImport(ledger, toWrite).size(), 2u);
    const auto month = monthEntries(ledger, "2026/11");
    ASSERT_EQ(month.size(), 2u);
    EXPECT_EQ(month[0].description, "ﾄﾞﾄｰﾙ"); // stored as the statement has it

    rows = previewLines(ledger, lines);
    EXPECT_EQ(rows[0].state, RowState::Registered);
    EXPECT_EQ(rows[1].state, RowState::Registered);
    EXPECT_NE(rows[0].existingEntry, rows[1].existingEntry);
    EXPECT_EQ(rows[2].state, RowState::NeedsCategory);

    // The import is one step of the history: one undo takes both entries back.
    ASSERT_TRUE(history::nextUndo(ledger));
    EXPECT_EQ(history::nextUndo(ledger)->label, "明細の取り込み (2件)");
    EXPECT_EQ(history::undo(ledger).result, history::Outcome::Result::Done);
    EXPECT_TRUE(monthEntries(ledger, "2026/11").empty());
}

TEST(StatementGuess, HistoryIsTheLatestEntriesUpToTheStatementsLastDay) {
    TempLedger temp;
    Ledger ledger = temp.open();
    const auto food = testing::addCategory(ledger, "食費"), eating = testing::addCategory(ledger, "外食");
    testing::addEntry(ledger, "2026/01/05", food, "ドトール", yen(280));
    testing::addEntry(ledger, "2026/01/06", food, "ドトール", yen(280));
    testing::addEntry(ledger, "2026/10/01", eating, "ドトール", yen(300));
    testing::addEntry(ledger, "2026/12/01", food, "ドトール", yen(300));
    testing::addEntry(ledger, "2026/12/02", food, "ドトール", yen(300));
    using Use = statement_reads::DescriptionUse;
    auto uses = statement_reads::recentDescriptionUses(ledger, "2026/11/30", 2);
    ASSERT_EQ(uses.size(), 2u);
    EXPECT_EQ(uses[0].count + uses[1].count, 2);
    const auto counted = [&](std::int64_t category) {
        for (const Use& u : uses)
            if (u.categoryKey == category)
                return u.count;
        return std::int64_t(0);
    };
    EXPECT_EQ(counted(eating), 1);
    EXPECT_EQ(counted(food), 1);
    uses = statement_reads::recentDescriptionUses(ledger, "2026/11/30", 10);
    EXPECT_EQ(CategoryGuesser(uses, ledger.categories()).guess(QStringLiteral("ﾄﾞﾄｰﾙ")), food);
}

TEST(StatementImport, AllOrNothing) {
    TempLedger temp;
    Ledger ledger = temp.open();
    const auto food = testing::addCategory(ledger, "食費");
    const std::vector<ImportRow> rows{
        {QDate(2026, 11, 2), food, QStringLiteral("=HYPERLINK(\"x\")"), yen(100)},
        {QDate(2026, 11, 3), food + 99, QStringLiteral("ローソン"), yen(200)}};
    EXPECT_THROW(writeImport(ledger, rows), LedgerError);
    EXPECT_TRUE(monthEntries(ledger, "2026/11").empty());
    EXPECT_EQ(importStepLabel(37), "明細の取り込み (37件)");
}

} // namespace
} // namespace sorakado::statement
