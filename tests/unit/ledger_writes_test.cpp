// The editing commands' writes on real encrypted ledgers: what each stores, that a two-statement
// delete is all-or-nothing, and that a change aimed at a record no longer there writes nothing.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/ledger_writes.h"
#include "store/testing/reference_reads.h"
#include "store/testing/stored_rows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

// Texts a user can type or paste that must come back exactly: quotes, statement-like text,
// tabs, line breaks, emoji, blanks only, and a long text.
std::vector<std::string> awkwardTexts() {
    std::string longText;
    for (int i = 0; i < 1000; ++i)
        longText += "長";
    return {"山田 '太郎'", "say \"hi\"",
            "a\tb",        "一行目\r\n二行目",
            "😀家族",       "名前ID=3and 1=1; DROP TABLE 名前;--", // layering: user text
            "   ",         longText};
}

class LedgerWritesTest : public ::testing::Test {
protected:
    // Rows in the table as another program sees the file.
    std::int64_t rowCount(const std::string& table) { return OtherProgram(temp_.path()).rowCount(table); }

    TempLedger temp_;
    Ledger ledger_ = temp_.open();
};

TEST_F(LedgerWritesTest, MemberNamesAreStoredExactlyAndRenamedInPlace) {
    std::vector<std::int64_t> keys;
    for (const auto& name : awkwardTexts())
        keys.push_back(writes::addMember(ledger_, name));

    auto members = ledger_.members();
    ASSERT_EQ(members.size(), awkwardTexts().size());
    for (size_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(members[i].key, keys[i]);
        EXPECT_EQ(members[i].name, awkwardTexts()[i]) << i;
    }

    writes::renameMember(ledger_, keys[1], "花子");
    writes::renameMember(ledger_, keys[2], "花子"); // two members may share a name
    members = ledger_.members();
    EXPECT_EQ(members[1].key, keys[1]);
    EXPECT_EQ(members[1].name, "花子");
    EXPECT_EQ(members[2].name, "花子");
    EXPECT_EQ(members[0].name, awkwardTexts()[0]);
}

TEST_F(LedgerWritesTest, DeletingAMemberTakesItsIncomesOfEveryMonthAndNoOneElses) {
    auto taro = writes::addMember(ledger_, "太郎");
    auto hanako = writes::addMember(ledger_, "花子");
    writes::setMonthIncome(ledger_, taro, "2006/04", yen(100));
    writes::setMonthIncome(ledger_, taro, "2007/12", yen(200));
    writes::setMonthIncome(ledger_, hanako, "2006/04", yen(300));

    writes::deleteMember(ledger_, taro);

    ASSERT_EQ(ledger_.members().size(), 1u);
    EXPECT_EQ(ledger_.members()[0].key, hanako);
    EXPECT_THAT(storedColumn(ledger_, "収入", "名前ID"), Not(Contains(std::to_string(taro))));
    EXPECT_EQ(rowCount("収入"), 1);
}

TEST_F(LedgerWritesTest, AMemberDeleteThatFailsHalfwayLeavesMemberAndIncomes) {
    auto taro = writes::addMember(ledger_, "太郎");
    writes::setMonthIncome(ledger_, taro, "2006/04", yen(100));
    failDeletesFrom(ledger_, "収入");

    EXPECT_THROW(writes::deleteMember(ledger_, taro), LedgerError);

    ASSERT_EQ(ledger_.members().size(), 1u);
    EXPECT_EQ(ledger_.monthIncomes("2006/04").size(), 1u);
}

TEST_F(LedgerWritesTest, ChangesToAMemberNoLongerThereAreRefusedAndWriteNothing) {
    auto taro = writes::addMember(ledger_, "太郎");
    auto gone = writes::addMember(ledger_, "消えた人");
    writes::deleteMember(ledger_, gone);

    EXPECT_THROW(writes::renameMember(ledger_, gone, "x"), LedgerError);
    EXPECT_THROW(writes::deleteMember(ledger_, gone), LedgerError);
    EXPECT_THROW(writes::setMonthIncome(ledger_, gone, "2006/04", yen(5)), LedgerError);

    EXPECT_EQ(rowCount("収入"), 0); // no income stored for nobody
    ASSERT_EQ(ledger_.members().size(), 1u);
    EXPECT_EQ(ledger_.members()[0].key, taro);
}

TEST_F(LedgerWritesTest, AMonthIncomeIsAddedChangedAndRemovedByZero) {
    auto taro = writes::addMember(ledger_, "太郎");

    EXPECT_EQ(writes::setMonthIncome(ledger_, taro, "2006/04", yen(0)),
              writes::IncomeWrite::Added); // a first zero is kept
    ASSERT_EQ(ledger_.monthIncomes("2006/04").size(), 1u);
    EXPECT_EQ(ledger_.monthIncomes("2006/04")[0].amount, yen(0));

    EXPECT_EQ(writes::setMonthIncome(ledger_, taro, "2006/04", yen(250000)), writes::IncomeWrite::Changed);
    EXPECT_EQ(ledger_.monthIncomes("2006/04")[0].amount, yen(250000));
    EXPECT_EQ(storedRows(ledger_, "収入", {"収入"}).at(0).at(0).type, "integer");

    EXPECT_EQ(writes::setMonthIncome(ledger_, taro, "2006/05", Amount::fromTenThousandths(12345)),
              writes::IncomeWrite::Added);
    EXPECT_EQ(ledger_.monthIncomes("2006/05")[0].amount, Amount::fromTenThousandths(12345));

    EXPECT_EQ(writes::setMonthIncome(ledger_, taro, "2006/04", yen(0)), writes::IncomeWrite::Removed);
    EXPECT_THAT(ledger_.monthIncomes("2006/04"), IsEmpty());
    EXPECT_EQ(ledger_.monthIncomes("2006/05").size(), 1u); // other months untouched
}

TEST_F(LedgerWritesTest, SettingAnIncomeLeavesOneRecordWhereDuplicatesWereStored) {
    auto taro = writes::addMember(ledger_, "太郎");
    addIncome(ledger_, taro, "2006/04", yen(100));
    addIncome(ledger_, taro, "2006/04", yen(200));

    EXPECT_EQ(writes::setMonthIncome(ledger_, taro, "2006/04", yen(700)), writes::IncomeWrite::Changed);
    EXPECT_EQ(ledger_.yearIncomeSums("2006")[3], yen(700)); // the month's total is what was entered

    EXPECT_EQ(writes::setMonthIncome(ledger_, taro, "2006/04", yen(0)), writes::IncomeWrite::Removed);
    EXPECT_EQ(rowCount("収入"), 0);
}

TEST_F(LedgerWritesTest, CategoryNamesAreStoredExactlyAndRenamed) {
    std::vector<std::int64_t> keys;
    for (const auto& name : awkwardTexts())
        keys.push_back(writes::addCategory(ledger_, name));
    for (const auto& category : ledger_.categories()) {
        auto at = std::find(keys.begin(), keys.end(), category.key) - keys.begin();
        EXPECT_EQ(category.name, awkwardTexts()[at]);
    }

    writes::renameCategory(ledger_, keys[0], "食費");
    bool found = false;
    for (const auto& category : ledger_.categories())
        found = found || (category.key == keys[0] && category.name == "食費");
    EXPECT_TRUE(found);
}

TEST_F(LedgerWritesTest, DeletingACategoryTakesItsEntriesOfEveryMonthOnly) {
    auto food = writes::addCategory(ledger_, "食費");
    auto fuel = writes::addCategory(ledger_, "光熱費");
    writes::addEntry(ledger_, writes::EntryValues{"2006/04/05", food, "米", yen(2000)});
    writes::addEntry(ledger_, writes::EntryValues{"2009/01/01", food, "パン", yen(150)});
    auto kept = writes::addEntry(ledger_, writes::EntryValues{"2006/04/06", fuel, "ガス", yen(3000)});

    writes::deleteCategory(ledger_, food);

    ASSERT_EQ(ledger_.categories().size(), 1u);
    EXPECT_THAT(storedColumn(ledger_, "DATA", "DATAID"), ElementsAre(std::to_string(kept)));
}

TEST_F(LedgerWritesTest, ACategoryDeleteThatFailsHalfwayLeavesCategoryAndEntries) {
    auto food = writes::addCategory(ledger_, "食費");
    writes::addEntry(ledger_, writes::EntryValues{"2006/04/05", food, "米", yen(2000)});
    failDeletesFrom(ledger_, "DATA");

    EXPECT_THROW(writes::deleteCategory(ledger_, food), LedgerError);

    EXPECT_EQ(ledger_.categories().size(), 1u);
    EXPECT_EQ(monthEntries(ledger_, "2006/04").size(), 1u);
}

TEST_F(LedgerWritesTest, EntriesAreStoredExactlyChangedAndDeleted) {
    auto food = writes::addCategory(ledger_, "食費");
    auto fuel = writes::addCategory(ledger_, "光熱費");
    for (const auto& text : awkwardTexts()) {
        auto key = writes::addEntry(ledger_, writes::EntryValues{"2006/04/05", food, text, yen(1)});
        auto entries = monthEntries(ledger_, "2006/04");
        EXPECT_EQ(entries.back().key, key);
        EXPECT_EQ(entries.back().description, text);
    }

    auto key = writes::addEntry(
        ledger_, writes::EntryValues{"2006/04/30", food, "米", Amount::fromTenThousandths(-15)});
    EXPECT_EQ(writes::entryCategory(ledger_, key), food);
    writes::changeEntry(ledger_, key, writes::EntryValues{"2006/05/01", fuel, "ガス", yen(3000)});
    auto may = monthEntries(ledger_, "2006/05");
    ASSERT_EQ(may.size(), 1u);
    EXPECT_EQ(may[0].key, key);
    EXPECT_EQ(may[0].categoryName, "光熱費");
    EXPECT_EQ(may[0].description, "ガス");
    EXPECT_EQ(may[0].amount, yen(3000));
    EXPECT_EQ(writes::entryCategory(ledger_, key), fuel);

    writes::deleteEntry(ledger_, key);
    EXPECT_THAT(monthEntries(ledger_, "2006/05"), IsEmpty());
    EXPECT_EQ(writes::entryCategory(ledger_, key), std::nullopt);
}

TEST_F(LedgerWritesTest, EntryWritesAimedAtMissingRecordsAreRefusedAndWriteNothing) {
    auto food = writes::addCategory(ledger_, "食費");
    auto gone = writes::addCategory(ledger_, "消えた品目");
    writes::deleteCategory(ledger_, gone);
    auto entry = writes::addEntry(ledger_, writes::EntryValues{"2006/04/05", food, "米", yen(2000)});

    // An entry under a category that is gone would never be listed.
    EXPECT_THROW(writes::addEntry(ledger_, writes::EntryValues{"2006/04/06", gone, "x", yen(1)}),
                 LedgerError);
    EXPECT_THROW(writes::changeEntry(ledger_, entry, writes::EntryValues{"2006/04/06", gone, "x", yen(1)}),
                 LedgerError);
    EXPECT_THROW(
        writes::changeEntry(ledger_, entry + 100, writes::EntryValues{"2006/04/06", food, "x", yen(1)}),
        LedgerError);
    EXPECT_THROW(writes::deleteEntry(ledger_, entry + 100), LedgerError);
    EXPECT_THROW(writes::renameCategory(ledger_, gone, "x"), LedgerError);
    EXPECT_THROW(writes::deleteCategory(ledger_, gone), LedgerError);

    auto entries = monthEntries(ledger_, "2006/04");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].description, "米");
    EXPECT_EQ(rowCount("DATA"), 1);
}

TEST_F(LedgerWritesTest, AWriteWhileAnotherProgramHoldsTheFileFailsAndChangesNothing) {
    auto taro = writes::addMember(ledger_, "太郎");
    OtherProgram other(temp_.path());
    other.beginExclusive();

    EXPECT_THROW(writes::setMonthIncome(ledger_, taro, "2006/04", yen(1)), LedgerError);
    other.rollback();
    EXPECT_EQ(rowCount("収入"), 0);
    EXPECT_EQ(writes::setMonthIncome(ledger_, taro, "2006/04", yen(1)),
              writes::IncomeWrite::Added); // usable again
}

} // namespace
} // namespace sorakado::testing
