// Transactions made of transactions: an inner one joins the outer one, and a failure anywhere
// inside undoes the whole of it, even when the caller carried on after the failure.

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/ledger_writes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;

struct Stop {};

class LedgerTransactionTest : public ::testing::Test {
protected:
    // Members as another program sees the file: only what was committed.
    std::int64_t committedMembers() { return OtherProgram(temp_.path()).rowCount("名前"); }

    TempLedger temp_;
    Ledger ledger_ = temp_.open();
};

TEST_F(LedgerTransactionTest, AnInnerTransactionIsWrittenOnlyWithTheOuterOne) {
    ledger_.inTransaction([&] {
        addMember(ledger_, "外");
        ledger_.inTransaction([&] { addMember(ledger_, "内"); });
        EXPECT_EQ(committedMembers(), 0) << "the inner commit wrote nothing yet";
        addMember(ledger_, "後");
    });
    EXPECT_EQ(committedMembers(), 3);
}

TEST_F(LedgerTransactionTest, AFailureInsideAnInnerTransactionUndoesTheOuterOne) {
    auto kept = addMember(ledger_, "残る");
    EXPECT_THROW(ledger_.inTransaction([&] {
        addMember(ledger_, "外");
        ledger_.inTransaction([&] {
            addMember(ledger_, "内");
            throw Stop{};
        });
    }),
                 Stop);
    EXPECT_THAT(ledger_.members(), ElementsAre(Field(&Member::key, kept)));
}

TEST_F(LedgerTransactionTest, AnInnerFailureTheCallerSwallowedStillUndoesEverything) {
    auto kept = addMember(ledger_, "残る");
    try {
        ledger_.inTransaction([&] {
            addMember(ledger_, "外");
            try {
                ledger_.inTransaction([&] {
                    addMember(ledger_, "内");
                    throw Stop{};
                });
            } catch (const Stop&) {
                // carries on as if the inner part had not mattered
            }
            addMember(ledger_, "後");
        });
        ADD_FAILURE() << "the outer transaction committed";
    } catch (const LedgerError& e) {
        EXPECT_EQ(e.kind(), LedgerError::Kind::Failed);
        EXPECT_THAT(e.description(), HasSubstr("台帳の書き込みに失敗しました"));
    }
    EXPECT_THAT(ledger_.members(), ElementsAre(Field(&Member::key, kept)));
    EXPECT_EQ(committedMembers(), 1);

    // The next transaction starts afresh.
    ledger_.inTransaction([&] { ledger_.inTransaction([&] { addMember(ledger_, "次"); }); });
    EXPECT_EQ(committedMembers(), 2);
}

TEST_F(LedgerTransactionTest, AGuardLeftWithoutCommitUndoes) {
    {
        Ledger::Transaction outer(ledger_);
        addMember(ledger_, "消える");
        {
            Ledger::Transaction inner(ledger_);
            addMember(ledger_, "内");
            inner.commit();
        }
    }
    EXPECT_TRUE(ledger_.members().empty());
    EXPECT_EQ(committedMembers(), 0);
}

// The editing commands run in transactions of their own; put together they are still one change.
TEST_F(LedgerTransactionTest, CommandsInsideOneTransactionAreAllOrNothing) {
    auto taro = writes::addMember(ledger_, "太郎");
    writes::setMonthIncome(ledger_, taro, "2006/04", yen(100));

    EXPECT_THROW(ledger_.inTransaction([&] {
        writes::deleteMember(ledger_, taro);
        writes::addCategory(ledger_, "食費");
        throw Stop{};
    }),
                 Stop);
    EXPECT_THAT(ledger_.members(), ElementsAre(Field(&Member::key, taro)));
    EXPECT_EQ(ledger_.monthIncomes("2006/04").size(), 1u);
    EXPECT_TRUE(ledger_.categories().empty());

    // A refused command inside (the member is gone) condemns the whole change.
    EXPECT_THROW(ledger_.inTransaction([&] {
        writes::addCategory(ledger_, "食費");
        try {
            writes::deleteMember(ledger_, taro + 1000);
        } catch (const LedgerError&) {
        }
    }),
                 LedgerError);
    EXPECT_TRUE(ledger_.categories().empty());
}

// A month is read as one snapshot: its reads see one state of the file, nothing is changed
// meanwhile, and the file is free for other programs again once it ends.
TEST_F(LedgerTransactionTest, ASnapshotRefusesChangesAndLetsGoOfTheFile) {
    auto taro = addMember(ledger_, "太郎");
    {
        Ledger::Snapshot snapshot(ledger_);
        EXPECT_EQ(ledger_.members().size(), 1u);
        EXPECT_THROW(writes::addCategory(ledger_, "食費"), std::logic_error);
        Ledger::Snapshot nested(ledger_);
        EXPECT_EQ(ledger_.monthIncomes("2006/04").size(), 0u);
    }
    EXPECT_TRUE(ledger_.categories().empty());

    // Another program can take the whole file, and this one can change it again.
    {
        OtherProgram other(temp_.path());
        other.beginExclusive();
        other.rollback();
    }
    writes::setMonthIncome(ledger_, taro, "2006/04", yen(100));
    EXPECT_EQ(committedMembers(), 1);
}

TEST_F(LedgerTransactionTest, ASnapshotInsideATransactionSeesItsChanges) {
    ledger_.inTransaction([&] {
        addMember(ledger_, "太郎");
        Ledger::Snapshot snapshot(ledger_);
        EXPECT_EQ(ledger_.members().size(), 1u);
    });
    EXPECT_EQ(committedMembers(), 1);
}

} // namespace
} // namespace sorakado::testing
