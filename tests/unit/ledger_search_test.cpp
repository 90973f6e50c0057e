// The search over the whole ledger on real encrypted ledgers: what it finds and in what order,
// the ranges, the count and the sum, and that it stays right whoever changes the ledger.

#include "search/date_bound.h"
#include "search/entry_index.h"
#include "search/ledger_search.h"
#include "store/entry_reader.h"
#include "store/ledger.h"
#include "store/ledger_writes.h"
#include "store/testing/ledger_seed.h"
#include "support/temp_ledger.h"

#include <QCoreApplication>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

using search::LedgerSearch;
using search::SearchQuery;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

SearchQuery text(const QString& t) {
    SearchQuery q;
    q.text = t;
    return q;
}

void needApplication() {
    static int argc = 1;
    static char name[] = "ledger_search_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // for the whole run: the copy arrives through its event loop
}

class LedgerSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        needApplication();
        insurance_ = addCategory(ledger_, "保険料");
        food_ = addCategory(ledger_, "食費");
        car_ = addCategory(ledger_, "車両費");
        seven_ = addEntry(ledger_, "2026/01/10", food_, "セブンイレブン", yen(500));
        carInsurance_ = addEntry(ledger_, "2026/01/12", insurance_, "自動車ホケン", yen(84000));
        coffee_ = addEntry(ledger_, "2025/12/31", food_, "ｾﾌﾞﾝ ｺｰﾋｰ", tenThousandths(1505000)); // 150.5
        petrol_ = addEntry(ledger_, "2025/06/01", car_, "ＡＢＣ石油", yen(3000));
        bread_ = addEntry(ledger_, "2026/01/12", food_, "パン", std::nullopt);
        orphan_ = addEntry(ledger_, "2024/03/03", 999, "ほけん相談", yen(1000)); // its category is gone
    }

    LedgerSearch& ready() {
        if (!search_) {
            search_ = std::make_unique<LedgerSearch>(ledger_);
            search_->start();
        }
        EXPECT_TRUE(QTest::qWaitFor([this] {
            search_->catchUp();
            return search_->ready();
        }));
        return *search_;
    }

    // The keys found, in the order listed.
    std::vector<std::int64_t> keys(const SearchQuery& query) {
        const search::SearchResult r = ready().search(query);
        std::vector<std::int64_t> out;
        for (std::uint32_t row : r.rows)
            out.push_back(search_->index().entry(row).key);
        return out;
    }
    std::vector<std::int64_t> keys(const char* t) { return keys(text(QString::fromUtf8(t))); }

    TempLedger temp_;
    Ledger ledger_ = temp_.open();
    std::unique_ptr<LedgerSearch> search_;
    std::int64_t insurance_ = 0, food_ = 0, car_ = 0;
    std::int64_t seven_ = 0, carInsurance_ = 0, coffee_ = 0, petrol_ = 0, bread_ = 0, orphan_ = 0;
};

TEST_F(LedgerSearchTest, TextMatchesDescriptionsAndCategoriesAsTheyAreMeantNewestFirst) {
    EXPECT_THAT(keys("せぶん"), ElementsAre(seven_, coffee_));
    EXPECT_THAT(keys("ｾﾌﾞﾝ"), ElementsAre(seven_, coffee_));
    EXPECT_THAT(keys("ほけん"), ElementsAre(carInsurance_, orphan_));
    EXPECT_THAT(keys("保険"), ElementsAre(carInsurance_)); // by its category's name
    EXPECT_THAT(keys("abc"), ElementsAre(petrol_));
    EXPECT_THAT(keys("こーひー"), ElementsAre(coffee_));
    EXPECT_THAT(keys("食"), ElementsAre(bread_, seven_, coffee_)); // same day: the later key first
    EXPECT_THAT(keys("見当たらない"), IsEmpty());
    EXPECT_THAT(keys(""), ElementsAre(bread_, carInsurance_, seven_, coffee_, petrol_, orphan_));
}

TEST_F(LedgerSearchTest, CountAndSumAreExactAndAGoneCategoryShowsNoName) {
    search::SearchResult all = ready().search(SearchQuery{});
    EXPECT_EQ(all.count, 6);
    EXPECT_EQ(all.sum, tenThousandths(886505000)); // 88650.5; the entry without an amount adds nothing
    search::SearchResult seven = ready().search(text(QStringLiteral("セブン")));
    EXPECT_EQ(seven.count, 2);
    EXPECT_EQ(seven.sum.text(), "650.5");

    const search::FoundEntry orphan = search_->index().entry(ready().search(text(u"相談"_qs)).rows.at(0));
    EXPECT_EQ(orphan.key, orphan_);
    EXPECT_FALSE(orphan.categoryName.has_value());
    EXPECT_EQ(orphan.description, QStringLiteral("ほけん相談"));
    EXPECT_EQ(orphan.date, "2024/03/03");
    const search::FoundEntry bread = search_->index().entry(ready().search(text(u"パン"_qs)).rows.at(0));
    EXPECT_EQ(bread.categoryName, QStringLiteral("食費"));
    EXPECT_FALSE(bread.amount.has_value());
}

TEST_F(LedgerSearchTest, DateCategoryAndAmountRangesNarrowTheResult) {
    SearchQuery january;
    january.fromDate = "2026/01/01";
    january.toDate = prefixUpperBound("2026/01");
    EXPECT_THAT(keys(january), ElementsAre(bread_, carInsurance_, seven_));
    january.toDate = "2026/01/12"; // exclusive
    EXPECT_THAT(keys(january), ElementsAre(seven_));

    SearchQuery food;
    food.categoryKey = food_;
    EXPECT_THAT(keys(food), ElementsAre(bread_, seven_, coffee_));
    food.text = QStringLiteral("ｾﾌﾞﾝ");
    EXPECT_THAT(keys(food), ElementsAre(seven_, coffee_));
    food.categoryKey = 12345; // no entry names it
    EXPECT_THAT(keys(food), IsEmpty());

    SearchQuery amounts;
    amounts.leastAmount = yen(1000);
    amounts.mostAmount = yen(84000); // both inclusive; no amount is outside every range
    EXPECT_THAT(keys(amounts), ElementsAre(carInsurance_, petrol_, orphan_));
    amounts.mostAmount = tenThousandths(1505000);
    amounts.leastAmount = tenThousandths(1505000);
    const search::SearchResult r = ready().search(amounts);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.sum, tenThousandths(1505000));
}

TEST_F(LedgerSearchTest, TheProgramsOwnChangesShowAtTheNextSearch) {
    ready();
    const std::int64_t added =
        writes::addEntry(ledger_, {"2026/02/01", insurance_, "火災ほけん", yen(20000)});
    EXPECT_THAT(keys("ホケン"), ElementsAre(added, carInsurance_, orphan_));

    writes::changeEntry(ledger_, carInsurance_, {"2023/01/01", car_, "車検", yen(70000)});
    EXPECT_THAT(keys("ホケン"), ElementsAre(added, orphan_));
    EXPECT_THAT(keys("車"), ElementsAre(petrol_, carInsurance_)); // by category, then by description

    writes::deleteEntry(ledger_, seven_);
    EXPECT_THAT(keys("セブン"), ElementsAre(coffee_));

    writes::renameCategory(ledger_, food_, "食料品");
    EXPECT_THAT(keys("食料"), ElementsAre(bread_, coffee_));

    writes::deleteCategory(ledger_, food_); // its entries go with it
    EXPECT_THAT(keys(""), ElementsAre(added, petrol_, orphan_, carInsurance_));
    const search::SearchResult all = ready().search(SearchQuery{});
    EXPECT_EQ(all.sum, yen(20000 + 3000 + 1000 + 70000));
}

TEST_F(LedgerSearchTest, ManyChangesKeepTheOrderAndTheSums) {
    ready();
    std::vector<std::int64_t> added;
    ledger_.inTransaction([&] {
        for (int i = 0; i < 5000; ++i) {
            char date[16];
            std::snprintf(date, sizeof date, "2025/%02d/%02d", 1 + i % 12, 1 + i % 28);
            added.push_back(addEntry(ledger_, date, car_, "ﾀｲﾔ交換", yen(1 + i)));
        }
    });
    const search::SearchResult r = ready().search(text(QStringLiteral("タイヤ")));
    ASSERT_EQ(r.count, 5000);
    EXPECT_EQ(r.sum, yen(5000LL * 5001 / 2));
    for (std::size_t i = 1; i < r.rows.size(); ++i) {
        const auto before = search_->index().entry(r.rows[i - 1]), after = search_->index().entry(r.rows[i]);
        EXPECT_TRUE(*before.date > *after.date || (before.date == after.date && before.key > after.key)) << i;
    }
    EXPECT_THAT(keys("ＡＢＣ"), ElementsAre(petrol_)); // the older entries are still there, once
    EXPECT_EQ(ready().search(SearchQuery{}).count, 5006);
}

TEST_F(LedgerSearchTest, AnotherProgramsChangesHaveTheCopyReadAgain) {
    ready();
    {
        Ledger other = temp_.open(); // another connection: another program as far as ours can tell
        addEntry(other, "2026/03/03", food_, "セブンのおにぎり", yen(130));
        deleteCategoryRow(other, car_); // the entry stays, its category is gone
    }
    std::vector<std::int64_t> found;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        found = keys("せぶん");
        return found.size() == 3;
    }));
    EXPECT_EQ(search_->index().entry(ready().search(text(u"石油"_qs)).rows.at(0)).categoryName, std::nullopt);
}

TEST(EntryReaderTest, ReadsEveryEntryOnceInPiecesNewestKeyFirst) {
    TempLedger temp;
    std::vector<std::int64_t> keys;
    {
        Ledger l = temp.open();
        const auto c = addCategory(l, "食費");
        for (int i = 0; i < 7; ++i)
            keys.push_back(addEntry(l, "2026/01/01", i == 3 ? 4242 : c, std::nullopt, std::nullopt));
    }
    EntryReader reader(temp.path());
    std::vector<std::int64_t> read;
    for (auto piece = reader.next(3); !piece.empty(); piece = reader.next(3)) {
        EXPECT_LE(piece.size(), 3u);
        for (const auto& e : piece)
            read.push_back(e.key);
    }
    std::reverse(keys.begin(), keys.end());
    EXPECT_EQ(read, keys);
}

struct TypedDate {
    const char* typed;
    std::optional<std::string> prefix;
};

class DatePrefixTest : public ::testing::TestWithParam<TypedDate> {};

TEST_P(DatePrefixTest, ATypedDateNamesTheStoredTextsItStandsFor) {
    EXPECT_EQ(search::datePrefix(QString::fromUtf8(GetParam().typed)), GetParam().prefix) << GetParam().typed;
}

INSTANTIATE_TEST_SUITE_P(
    Typed, DatePrefixTest,
    ::testing::Values(TypedDate{"2006", "2006"}, TypedDate{"2006/4", "2006/04"},
                      TypedDate{"2006/04", "2006/04"}, TypedDate{"2006/4/5", "2006/04/05"},
                      TypedDate{" ２００６－０４－０５ ", "2006/04/05"},
                      TypedDate{"2006.12.31", "2006/12/31"}, TypedDate{"2004/2/29", "2004/02/29"},
                      TypedDate{"", std::nullopt}, TypedDate{"06/04", std::nullopt},
                      TypedDate{"2006/13", std::nullopt}, TypedDate{"2006/02/30", std::nullopt},
                      TypedDate{"2006/0", std::nullopt}, TypedDate{"2006/04/", std::nullopt},
                      TypedDate{"2006年4月", std::nullopt}, TypedDate{"0000", std::nullopt}));

} // namespace
} // namespace sorakado::testing
