// What a failing read or write on an open ledger is reported as: one translation of SQLite's
// failures for every statement, read or write, each kind with its complete Japanese description.
// (The refusals at open are in ledger_file_test.cpp.)

#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/ledger_writes.h"
#include "store/testing/reference_reads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace sorakado::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using Kind = LedgerError::Kind;

// The error fn throws; fails the test when it throws none.
LedgerError errorOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const LedgerError& e) {
        return e;
    }
    ADD_FAILURE() << "no LedgerError";
    return LedgerError(Kind::Failed, "");
}

class LedgerErrorTest : public ::testing::Test {
protected:
    TempLedger temp_;
};

TEST_F(LedgerErrorTest, AnotherProgramHoldingTheFileIsLocked) {
    Ledger ledger = temp_.open();
    OtherProgram other(temp_.path());
    other.beginExclusive();
    for (auto fn : std::vector<std::function<void()>>{[&] { ledger.members(); },
                                                      [&] { writes::addCategory(ledger, "食費"); },
                                                      [&] { ledger.inTransaction([] {}); }}) {
        auto e = errorOf(fn);
        EXPECT_EQ(e.kind(), Kind::Locked) << e.description();
        // What the window shows: who is in the way and what to do, not SQLite's English.
        EXPECT_THAT(e.description(),
                    AllOf(HasSubstr("台帳の"), HasSubstr("ほかのプログラムが台帳ファイルを使用中"),
                          HasSubstr("終了してから"), Not(HasSubstr("database is locked"))));
    }
    other.rollback();
}

TEST_F(LedgerErrorTest, AWriteTheFileRefusesIsReadOnly) {
    Ledger ledger = temp_.open();
    auto taro = writes::addMember(ledger, "太郎");
    refuseWrites(ledger);
    auto e = errorOf([&] { writes::renameMember(ledger, taro, "次郎"); });
    EXPECT_EQ(e.kind(), Kind::ReadOnly) << e.description();
    // Every change is a step of the history, begun in a transaction of its own: the refusal comes
    // as the transaction begins.
    EXPECT_THAT(e.description(), HasSubstr("台帳の書き込み開始に失敗しました。（"));
    EXPECT_EQ(ledger.members().at(0).name, "太郎"); // reads go on
}

// Pages damaged after the ledger was opened fail their decryption check when first read.
TEST_F(LedgerErrorTest, AFileDamagedUnderAnOpenLedgerIsNotALedger) {
    {
        Ledger ledger = temp_.open();
        ledger.inTransaction([&] {
            for (int i = 0; i < 2000; ++i)
                addMember(ledger, "山田" + std::to_string(i));
        });
    }
    Ledger ledger = temp_.open();
    const auto size = std::filesystem::file_size(temp_.path());
    ASSERT_GT(size, 4u * 4096u);
    {
        std::fstream file(temp_.path(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096);
        file << std::string(size - 4096, '\x5a'); // every page but the first
    }
    auto e = errorOf([&] { ledger.members(); });
    EXPECT_EQ(e.kind(), Kind::NotLedger) << e.description();
    EXPECT_THAT(e.description(), HasSubstr("台帳の名前の読み込みに失敗しました。（"));
}

TEST_F(LedgerErrorTest, EveryOtherFailureIsFailedAndSaysWhatFailed) {
    Ledger ledger = temp_.open();
    auto food = writes::addCategory(ledger, "食費");
    failDeletesFrom(ledger, "品目");
    auto e = errorOf([&] { writes::deleteCategory(ledger, food); });
    EXPECT_EQ(e.kind(), Kind::Failed);
    EXPECT_THAT(e.description(), HasSubstr("台帳の品目の削除に失敗しました。（disk I/O error）"));

    dropTable(ledger, "DATA");
    e = errorOf([&] { monthEntries(ledger, "2006/04"); });
    EXPECT_EQ(e.kind(), Kind::Failed);
    EXPECT_THAT(e.description(), HasSubstr("DATA"));
}

} // namespace
} // namespace sorakado::testing
