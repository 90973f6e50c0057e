// Reading an open ledger: members, a month's incomes and entries, the sums, and transactions,
// on real encrypted files seeded straight into the tables.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "monthly/numeric_text.h"
#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/testing/reference_reads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LedgerReadTest : public ::testing::Test {
protected:
    TempLedger temp_;
    Ledger ledger_ = temp_.open();
};

TEST_F(LedgerReadTest, MembersComeInKeyOrderWithNamesKeptExactly) {
    const std::vector<std::optional<std::string>> names = {"山田 '太郎'", "say \"hi\"",  std::nullopt, "",
                                                           "😀家族",       "名前ID=3and", "Ａｂｃ"};
    std::vector<std::int64_t> keys;
    for (const auto& n : names)
        keys.push_back(addMember(ledger_, n));

    auto members = ledger_.members();
    ASSERT_EQ(members.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(members[i].key, keys[i]);
        EXPECT_EQ(members[i].name, names[i]) << i; // Null stays apart from empty text
    }
}

TEST_F(LedgerReadTest, NoMembersGiveAnEmptyList) {
    EXPECT_THAT(ledger_.members(), IsEmpty());
    EXPECT_THAT(ledger_.monthIncomes("2006/04"), IsEmpty());
    EXPECT_THAT(texts(ledger_.yearIncomeSums("2006")), ::testing::Each("-"));
    EXPECT_THAT(texts(ledger_.yearExpenseSums("2006")), ::testing::Each("-"));
}

TEST_F(LedgerReadTest, MonthIncomesTakeOnlyExistingMembersAndTheExactMonthKey) {
    auto hanako = addMember(ledger_, "花子");
    auto taro = addMember(ledger_, "太郎");
    addIncome(ledger_, taro, "2006/04", yen(300000));
    addIncome(ledger_, hanako, "2006/04", std::nullopt);
    addIncome(ledger_, 999, "2006/04", yen(1)); // a member deleted long ago
    for (const char* other : {"2006/4", "2006/04 ", "2006/041", "2006/05", "2005/04"})
        addIncome(ledger_, taro, other, yen(7));

    auto incomes = ledger_.monthIncomes("2006/04");
    ASSERT_EQ(incomes.size(), 2u);
    EXPECT_EQ(incomes[0].memberKey, hanako);
    EXPECT_EQ(incomes[0].amount, std::nullopt);
    EXPECT_EQ(incomes[1].memberKey, taro);
    EXPECT_EQ(incomes[1].amount, yen(300000));
}

TEST_F(LedgerReadTest, YearIncomeSumsAreExactPerMonth) {
    auto a = addMember(ledger_, "a");
    auto b = addMember(ledger_, "b");
    addIncome(ledger_, a, "2006/01", yen(999'999'999'999'999));
    addIncome(ledger_, b, "2006/01", yen(1));
    addIncome(ledger_, a, "2006/02", tenThousandths(1000)); // 0.1
    addIncome(ledger_, b, "2006/02", tenThousandths(2000)); // 0.2
    addIncome(ledger_, a, "2006/03", yen(250000));
    addIncome(ledger_, b, "2006/03", tenThousandths(5)); // 0.0005
    addIncome(ledger_, a, "2006/04", std::nullopt);      // only Null: nothing summed
    addIncome(ledger_, a, "2006/05", yen(-3000));
    addIncome(ledger_, b, "2006/05", yen(1000));
    addIncome(ledger_, a, "2006/12", yen(9'007'199'254'740'993)); // beyond what a double holds exactly
    addIncome(ledger_, a, "2006/12", yen(2));
    addIncome(ledger_, a, "2007/01", yen(5));
    addIncome(ledger_, a, "2006/1", yen(5));
    addIncome(ledger_, 999, "2006/06", yen(42)); // sums count every record, member or not

    EXPECT_THAT(texts(ledger_.yearIncomeSums("2006")),
                ElementsAre("1000000000000000", "0.3", "250000.0005", "-", "-2000", "42", "-", "-", "-", "-",
                            "-", "9007199254740995"));
}

TEST_F(LedgerReadTest, MonthEntriesComeByDateThenKeyWithTheirCategoryName) {
    auto food = addCategory(ledger_, "食費");
    auto gone = addCategory(ledger_, "消えた品目");
    auto late = addEntry(ledger_, "2006/04/30", food, "夕飯", yen(1200));
    auto blank = addEntry(ledger_, "2006/04/02", food, std::nullopt, std::nullopt);
    auto bread = addEntry(ledger_, "2006/04/02", food, "'パン' \"朝\"", tenThousandths(1234567)); // 123.4567
    addEntry(ledger_, "2006/04/15", gone, "消える", yen(1));
    deleteCategoryRow(ledger_, gone);
    for (const char* other : {"2006/03/31", "2006/05/01", "2005/04/10", "2006/14/01", "2006/4/10"})
        addEntry(ledger_, other, food, "他の月", yen(9));

    auto entries = monthEntries(ledger_, "2006/04");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].key, blank);
    EXPECT_EQ(entries[0].description, std::nullopt);
    EXPECT_EQ(entries[0].amount, std::nullopt);
    EXPECT_EQ(entries[1].key, bread);
    EXPECT_EQ(entries[1].date, "2006/04/02");
    EXPECT_EQ(entries[1].categoryName, "食費");
    EXPECT_EQ(entries[1].description, "'パン' \"朝\"");
    EXPECT_EQ(entries[1].amount->text(), "123.4567");
    EXPECT_EQ(entries[2].key, late);
}

TEST_F(LedgerReadTest, AMonthDoesNotTakeEntriesOfMonthsThatShareItsDigits) {
    auto c = addCategory(ledger_, "雑費");
    addEntry(ledger_, "2006/01/31", c, "一月", yen(1));
    addEntry(ledger_, "2006/10/01", c, "十月", yen(10));
    addEntry(ledger_, "2006/11/01", c, "十一月", yen(100));
    addEntry(ledger_, "2006/12/31", c, "十二月", yen(1000));
    addEntry(ledger_, "2007/01/01", c, "翌年", yen(10000));

    ASSERT_EQ(monthEntries(ledger_, "2006/01").size(), 1u);
    EXPECT_EQ(monthEntries(ledger_, "2006/01")[0].description, "一月");
    ASSERT_EQ(monthEntries(ledger_, "2006/12").size(), 1u);
    EXPECT_EQ(monthEntries(ledger_, "2006/12")[0].description, "十二月");
    EXPECT_THAT(texts(ledger_.yearExpenseSums("2006")),
                ElementsAre("1", "-", "-", "-", "-", "-", "-", "-", "-", "10", "100", "1000"));
}

TEST_F(LedgerReadTest, CategorySumsAndYearExpenseSums) {
    auto food = addCategory(ledger_, "食費");
    auto fun = addCategory(ledger_, "娯楽");
    auto empty = addCategory(ledger_, "未使用");
    auto gone = addCategory(ledger_, "消えた品目");
    addEntry(ledger_, "2006/04/01", food, "a", yen(999'999'999'999'999));
    addEntry(ledger_, "2006/04/02", food, "b", yen(1));
    addEntry(ledger_, "2006/04/03", fun, "c", tenThousandths(1000));
    addEntry(ledger_, "2006/04/04", fun, "d", tenThousandths(2000));
    addEntry(ledger_, "2006/04/05", fun, "e", std::nullopt);
    addEntry(ledger_, "2006/04/06", gone, "f", yen(5));
    addEntry(ledger_, "2006/05/01", empty, "g", yen(7));
    addEntry(ledger_, "2006/06/01", food, "h", std::nullopt);
    deleteCategoryRow(ledger_, gone);

    auto sums = ledger_.monthCategorySums("2006/04");
    EXPECT_EQ(sums.at(food).text(), "1000000000000000");
    EXPECT_EQ(sums.at(fun).text(), "0.3");
    EXPECT_FALSE(sums.contains(empty));
    // The year's spending counts every entry, its category gone or not.
    EXPECT_THAT(texts(ledger_.yearExpenseSums("2006")),
                ElementsAre("-", "-", "-", "1000000000000005.3", "7", "-", "-", "-", "-", "-", "-", "-"));
}

// An amount the numeric-text test accepts is one the ledger holds exactly: it reads back as typed.
TEST_F(LedgerReadTest, AcceptedAmountsReadBackExactlyAsTyped) {
    const char* typed[] = {"0",
                           "-1,000,000,000,000,000",
                           "0.0001",
                           "-12.5",
                           "99,999,999,999.9999",
                           "761010826381.6612",
                           "999999999999999.1234",
                           "-999999999999999.9999"};
    auto c = addCategory(ledger_, "c");
    for (const char* text : typed)
        if (auto amount = parseNumericText(QString::fromUtf8(text))->toAmount())
            addEntry(ledger_, "2006/04/01", c, amount->text(), *amount);

    for (const auto& e : monthEntries(ledger_, "2006/04"))
        EXPECT_EQ(e.amount->text(), *e.description);
}

// Sums of fractional amounts stay exact to the ten-thousandth, however large they grow.
TEST_F(LedgerReadTest, FractionalSumsStayExact) {
    auto c = addCategory(ledger_, "c");
    auto m = addMember(ledger_, "m");
    for (int i = 0; i < 10; ++i) {
        addEntry(ledger_, "2006/04/01", c, "", yen(99'999'999'999) + tenThousandths(9999));
        addIncome(ledger_, m, "2006/04", yen(99'999'999'999) + tenThousandths(9999));
    }
    EXPECT_EQ(ledger_.monthCategorySums("2006/04").at(c).text(), "999999999999.999");
    EXPECT_EQ(ledger_.yearExpenseSums("2006")[3]->text(), "999999999999.999");
    EXPECT_EQ(ledger_.yearIncomeSums("2006")[3]->text(), "999999999999.999");
}

TEST(PrefixUpperBound, IsTheFirstKeyAfterEveryTextWithThePrefix) {
    EXPECT_EQ(prefixUpperBound("2006/04"), "2006/05");
    EXPECT_EQ(prefixUpperBound("2006/09"), "2006/0:");
    EXPECT_EQ(prefixUpperBound("2006/0"), "2006/1");
    EXPECT_EQ(prefixUpperBound("ab\xFF"), "ac");
}

// ---- Transactions and other programs -----------------------------------------------------

TEST_F(LedgerReadTest, AnExceptionInsideATransactionUndoesAllOfIt) {
    auto kept = addMember(ledger_, "残る");
    struct Stop {};
    auto changeThenStop = [&] {
        auto m = addMember(ledger_, "消える");
        addIncome(ledger_, m, "2006/04", yen(100));
        deleteMemberRow(ledger_, kept);
        throw Stop{};
    };
    EXPECT_THROW(ledger_.inTransaction(changeThenStop), Stop);
    EXPECT_THAT(ledger_.members(), ElementsAre(::testing::Field(&Member::key, kept)));
    EXPECT_EQ(ledger_.yearIncomeSums("2006")[3], std::nullopt);

    ledger_.inTransaction([&] { addMember(ledger_, "次"); });
    EXPECT_EQ(temp_.open().members().size(), 2u); // committed for every reader
}

TEST_F(LedgerReadTest, ReadsAndChangesWhileAnotherProgramHoldsTheFileFailAsLocked) {
    OtherProgram other(temp_.path());
    other.beginExclusive();
    other.addCategory("他");
    auto kindOf = [](auto&& fn) {
        try {
            fn();
        } catch (const LedgerError& e) {
            return e.kind();
        }
        return LedgerError::Kind::Failed;
    };
    EXPECT_EQ(kindOf([&] { ledger_.members(); }), LedgerError::Kind::Locked);
    EXPECT_EQ(kindOf([&] { ledger_.inTransaction([&] { addMember(ledger_, "x"); }); }),
              LedgerError::Kind::Locked);
    other.rollback();
    EXPECT_THAT(ledger_.categories(), IsEmpty());
}

// A change whose commit cannot finish (another program is still reading) is not written, and the
// ledger takes the next change once the reader is gone.
TEST_F(LedgerReadTest, AChangeThatCannotCommitLeavesNothingBehind) {
    OtherProgram reader(temp_.path());
    reader.beginReading(); // holds a read lock until its transaction ends
    EXPECT_THROW(ledger_.inTransaction([&] { addMember(ledger_, "未完"); }), LedgerError);
    reader.commit();

    EXPECT_THAT(ledger_.members(), IsEmpty());
    EXPECT_NO_THROW(ledger_.inTransaction([&] { addMember(ledger_, "次"); }));
}

} // namespace
} // namespace sorakado::testing
