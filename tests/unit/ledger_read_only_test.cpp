// The read-only door: a ledger opened for reading takes no write lock, is not brought up to
// date, opens when it is marked read-only, and refuses every change; its year summaries are
// right even where the file's stored sums are missing or were counted the old way.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/ledger_writes.h"
#include "store/testing/ledger_seed.h"
#include "store/testing/month_sums_cases.h"

#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;

class ReadOnlyLedger : public ::testing::Test {
protected:
    void SetUp() override {
        Ledger l = temp_.open();
        const auto member = addMember(l, "太郎");
        addIncomeStoredAs(l, member, "2006/04", "999999999999.9999");
        addIncome(l, member, "2006/05", yen(300000));
        addEntry(l, "2006/04/05", addCategory(l, "食費"), "米", yen(2000));
    }
    TempLedger temp_;
};

TEST_F(ReadOnlyLedger, AFileMarkedReadOnlyOpensForReadingAndRefusesEveryChange) {
    fs::permissions(temp_.path(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_THROW(Ledger::open(temp_.path()), LedgerError) << "read-write still refuses it";
    const std::string before = fileBytes(temp_.path());

    Ledger ledger = Ledger::openReadOnly(temp_.path());
    {
        Ledger::Snapshot snapshot(ledger);
        EXPECT_EQ(ledger.members().size(), 1u);
        EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[3], "999999999999.9999");
        EXPECT_EQ(texts(ledger.yearExpenseSums("2006"))[3], "2000");
    }
    try {
        writes::addMember(ledger, "花子");
        ADD_FAILURE() << "a change went through the read-only door";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.kind(), LedgerError::Kind::ReadOnly);
    }
    EXPECT_THROW(ledger.recountMonthSums(), LedgerError);
    EXPECT_EQ(fileBytes(temp_.path()), before);
}

TEST_F(ReadOnlyLedger, ReadsWhileAnotherProgramIsInTheMiddleOfAChange) {
    OtherProgram other(temp_.path());
    other.beginChange(); // holds the lock the read-write open takes and drops
    EXPECT_THROW(Ledger::open(temp_.path()), LedgerError);
    Ledger ledger = Ledger::openReadOnly(temp_.path());
    Ledger::Snapshot snapshot(ledger);
    EXPECT_EQ(ledger.categories().size(), 1u);
    other.rollback();
}

// An older ledger is read as it is, not upgraded, and its year summaries come from its rows.
TEST_F(ReadOnlyLedger, AnOlderLedgerIsReadAsItIsWithItsYearSummariesFromTheRows) {
    {
        Ledger l = temp_.open();
        makeVersionOneCount(l);
        addIncomeStoredAs(l, addMember(l, "花子"), "2006/06", "944193680032.3995");
        ASSERT_EQ(texts(l.yearIncomeSums("2006"))[5], "944193680032.3996") << "the old count";
    }
    const std::string versionOne = fileBytes(temp_.path());
    {
        Ledger ledger = Ledger::openReadOnly(temp_.path());
        EXPECT_EQ(schemaVersion(ledger), 1);
        EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[5], "944193680032.3995");
    }
    EXPECT_EQ(fileBytes(temp_.path()), versionOne);

    {
        Ledger l = temp_.open();
        makeEarlierVersion(l);
    }
    const std::string versionZero = fileBytes(temp_.path());
    Ledger ledger = Ledger::openReadOnly(temp_.path());
    EXPECT_EQ(schemaObjects(ledger, "収入月計").size(), 0u);
    EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[3], "999999999999.9999");
    EXPECT_EQ(texts(ledger.yearIncomeSums("2006"))[4], "300000");
    EXPECT_EQ(texts(ledger.yearExpenseSums("2006"))[3], "2000");
    EXPECT_EQ(fileBytes(temp_.path()), versionZero);
}

TEST_F(ReadOnlyLedger, WhatIsNoLedgerIsRefusedAsByTheReadWriteDoor) {
    EXPECT_THROW(Ledger::openReadOnly(temp_.folder() / "none.mdb"), LedgerError);
    writeFile(temp_.folder() / "empty.mdb", "");
    EXPECT_THROW(Ledger::openReadOnly(temp_.folder() / "empty.mdb"), LedgerError);
    writeFile(temp_.folder() / "text.mdb", "not a ledger at all, just some text of some length");
    try {
        Ledger::openReadOnly(temp_.folder() / "text.mdb");
        ADD_FAILURE();
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.kind(), LedgerError::Kind::NotLedger);
    }
}

} // namespace
} // namespace sorakado::testing
