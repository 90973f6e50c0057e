// Undo and redo on real encrypted ledgers: every kind of change comes back exactly (keys, Nulls,
// stored types, per-month sums), other programs' changes are refused rather than overwritten,
// the history is trimmed, survives closing and a kill in the middle of an undo, and a ledger of
// an earlier version gains it on open.

#include "ledger_test_support.h"
#include "support/kill_while_repeating.h"
#include "support/temp_ledger.h"

#include "store/history.h"
#include "store/history_labels.h"
#include "store/ledger_writes.h"
#include "store/testing/history_cases.h"
#include "store/testing/month_sums_cases.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace sorakado::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Result = history::Outcome::Result;

class HistoryTest : public ::testing::Test {
protected:
    // Rows the commands never write themselves: a member and a category named Null, an income
    // with a fraction, an entry without an amount, keys with gaps.
    void SetUp() override {
        Ledger l = temp_.open();
        taro_ = testing::addMember(l, "太郎");
        nobody_ = testing::addMember(l, std::nullopt);
        testing::addIncome(l, taro_, "2006/04", tenThousandths(2000005000));
        testing::addIncome(l, nobody_, "2006/05", std::nullopt);
        food_ = testing::addCategory(l, "食費");
        unnamed_ = testing::addCategory(l, std::nullopt);
        lunch_ = testing::addEntry(l, "2006/12/05", food_, "昼食", yen(1200));
        testing::addEntry(l, "2006/11/30", food_, std::nullopt, std::nullopt);
        testing::addEntry(l, "2006/12/06", unnamed_, "", tenThousandths(15));
    }

    TempLedger temp_;
    std::int64_t taro_ = 0, nobody_ = 0, food_ = 0, unnamed_ = 0, lunch_ = 0;
};

TEST_F(HistoryTest, EveryKindOfChangeUndoesRedoesAndUndoesAgainExactly) {
    const std::vector<std::pair<std::string, std::function<void(Ledger&)>>> changes{
        {"名前登録 (花子)", [](Ledger& l) { writes::addMember(l, "花子"); }},
        {"名前変更 (太郎 → 次郎)", [&](Ledger& l) { writes::renameMember(l, taro_, "次郎"); }},
        {"名前削除 (太郎、収入1件)", [&](Ledger& l) { writes::deleteMember(l, taro_); }},
        {"名前削除 (、収入1件)", [&](Ledger& l) { writes::deleteMember(l, nobody_); }},
        {"収入登録 (2006/06 太郎 \\300)",
         [&](Ledger& l) { writes::setMonthIncome(l, taro_, "2006/06", yen(300)); }},
        {"収入変更 (2006/04 太郎 \\7)",
         [&](Ledger& l) { writes::setMonthIncome(l, taro_, "2006/04", yen(7)); }},
        {"収入削除 (2006/04 太郎 \\200000.5)",
         [&](Ledger& l) { writes::setMonthIncome(l, taro_, "2006/04", Amount()); }},
        {"品目追加 (衣服)", [](Ledger& l) { writes::addCategory(l, "衣服"); }},
        {"品目変更 ( → 雑費)", [&](Ledger& l) { writes::renameCategory(l, unnamed_, "雑費"); }},
        {"品目削除 (食費、明細2件)", [&](Ledger& l) { writes::deleteCategory(l, food_); }},
        {"明細入力 (12/24 食費 \\5000)",
         [&](Ledger& l) {
             writes::addEntry(l, {"2006/12/24", food_, "ケーキ", yen(5000)});
         }},
        {"明細変更 (01/02 \\0.5)",
         [&](Ledger& l) {
             writes::changeEntry(l, lunch_, {"2007/01/02", unnamed_, "", tenThousandths(5000)});
         }},
        {"明細削除 (12/05 食費 \\1200)", [&](Ledger& l) { writes::deleteEntry(l, lunch_); }},
    };
    for (const auto& [label, change] : changes) {
        SCOPED_TRACE(label);
        TempLedger fresh;
        std::filesystem::copy_file(temp_.path(), fresh.path(),
                                   std::filesystem::copy_options::overwrite_existing);
        Ledger l = fresh.open();
        const std::string before = rowsImage(l);
        change(l);
        const std::string after = rowsImage(l);
        ASSERT_NE(before, after);
        ASSERT_TRUE(history::nextUndo(l));
        EXPECT_EQ(history::nextUndo(l)->label, label);
        EXPECT_FALSE(history::nextRedo(l));

        EXPECT_EQ(history::undo(l).result, Result::Done);
        EXPECT_EQ(rowsImage(l), before);
        EXPECT_THAT(l.monthSumDifferences(), IsEmpty());
        EXPECT_FALSE(history::nextUndo(l));
        EXPECT_EQ(history::nextRedo(l)->label, label);

        EXPECT_EQ(history::redo(l).result, Result::Done);
        EXPECT_EQ(rowsImage(l), after);
        EXPECT_THAT(l.monthSumDifferences(), IsEmpty());

        EXPECT_EQ(history::undo(l).result, Result::Done);
        EXPECT_EQ(rowsImage(l), before);
        EXPECT_THAT(l.monthSumDifferences(), IsEmpty());
        EXPECT_EQ(history::undo(l).result, Result::Nothing);
    }
}

TEST_F(HistoryTest, StepsGoBackNewestFirstAndANewChangeDropsTheRedoSteps) {
    Ledger l = temp_.open();
    const std::string start = rowsImage(l);
    const auto first = writes::addEntry(l, {"2006/12/24", food_, "a", yen(1)});
    const std::string one = rowsImage(l);
    writes::changeEntry(l, first, {"2006/12/25", food_, "b", yen(2)});
    writes::deleteEntry(l, first);

    EXPECT_EQ(history::undo(l).result, Result::Done);
    EXPECT_EQ(history::undo(l).result, Result::Done);
    EXPECT_EQ(rowsImage(l), one);
    EXPECT_EQ(history::undo(l).result, Result::Done);
    EXPECT_EQ(rowsImage(l), start);
    EXPECT_EQ(history::redo(l).result, Result::Done);
    EXPECT_EQ(rowsImage(l), one);

    writes::addMember(l, "花子"); // the two steps still undone are gone for good
    EXPECT_FALSE(history::nextRedo(l));
    EXPECT_EQ(history::redo(l).result, Result::Nothing);
    const auto kept = history::steps(l);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].label, "名前登録 (花子)");
    EXPECT_EQ(kept[1].label, "明細入力 (12/24 食費 \\1)");
    EXPECT_EQ(kept[1].rows, 1);
}

TEST_F(HistoryTest, TheOutcomeNamesTheMonthAndTheRecordThatCameBack) {
    Ledger l = temp_.open();
    writes::deleteEntry(l, lunch_);
    auto out = history::undo(l);
    EXPECT_EQ(out.label, "明細削除 (12/05 食費 \\1200)");
    EXPECT_EQ(out.month, "2006/12");
    EXPECT_EQ(out.entry, lunch_);
    out = history::redo(l);
    EXPECT_EQ(out.month, "2006/12");
    EXPECT_EQ(out.entry, std::nullopt) << "the entry is gone again";
    history::undo(l);

    writes::setMonthIncome(l, taro_, "2006/04", yen(9));
    out = history::undo(l);
    EXPECT_EQ(out.month, "2006/04");
    EXPECT_EQ(out.member, taro_);

    writes::deleteCategory(l, food_); // entries of two months
    out = history::undo(l);
    EXPECT_EQ(out.month, std::nullopt);
    EXPECT_EQ(out.entry, std::nullopt);
}

TEST_F(HistoryTest, ChangesMadeSinceByAnotherProgramRefuseTheUndoAndChangeNothing) {
    struct Case {
        std::string what;
        std::function<void(Ledger&)> change;
        std::function<void(const std::filesystem::path&)> meanwhile;
        bool redo = false;
    };
    const std::vector<Case> cases{
        {"the entry's amount changed",
         [&](Ledger& l) {
             writes::changeEntry(l, lunch_, {"2006/12/05", food_, "x", yen(1)});
         },
         [&](const auto& p) { anotherProgramSetsEntryAmount(p, lunch_, 99); }},
        {"the entry's category is gone", [&](Ledger& l) { writes::deleteEntry(l, lunch_); },
         [&](const auto& p) { anotherProgramDeletesCategory(p, food_); }},
        {"the member's key is taken", [&](Ledger& l) { writes::deleteMember(l, taro_); },
         [&](const auto& p) { anotherProgramAddsMemberWithKey(p, taro_); }},
        {"the added category has entries", [&](Ledger& l) { writes::addCategory(l, "新"); },
         [&](const auto& p) { anotherProgramAddsEntry(p, food_ + 2); }},
        {"the entry to delete again was changed",
         [&](Ledger& l) {
             writes::deleteEntry(l, lunch_);
             history::undo(l);
         },
         [&](const auto& p) { anotherProgramSetsEntryAmount(p, lunch_, 5); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempLedger fresh;
        std::filesystem::copy_file(temp_.path(), fresh.path(),
                                   std::filesystem::copy_options::overwrite_existing);
        Ledger l = fresh.open();
        c.change(l);
        const auto pending = c.redo ? history::nextRedo(l) : history::nextUndo(l);
        c.meanwhile(fresh.path());
        const std::string now = rowsImage(l);

        const auto out = c.redo ? history::redo(l) : history::undo(l);
        EXPECT_EQ(out.result, Result::Conflict);
        EXPECT_EQ(rowsImage(l), now);
        EXPECT_THAT(l.monthSumDifferences(), IsEmpty());
        const auto still = c.redo ? history::nextRedo(l) : history::nextUndo(l);
        ASSERT_TRUE(still);
        EXPECT_EQ(still->id, pending->id);
    }
    EXPECT_THAT(history::kUndoConflict, HasSubstr("元に戻せません"));
}

TEST_F(HistoryTest, OnlyTheProgramsOwnChangesAreSteps) {
    Ledger l = temp_.open();
    EXPECT_FALSE(history::nextUndo(l)) << "seeding rows is not a step";
    writes::addMember(l, "花子");
    anotherProgramAddsEntry(temp_.path(), food_);
    anotherProgramWrites(temp_.path());
    l.recountMonthSums();
    EXPECT_EQ(history::steps(l).size(), 1u);
    EXPECT_THROW(writes::deleteEntry(l, 9999), LedgerError);
    EXPECT_EQ(history::steps(l).size(), 1u) << "a refused change is no step";

    history::recordStep(l, "二つの変更", [&] {
        writes::addMember(l, "一");
        writes::addCategory(l, "二");
    });
    EXPECT_EQ(history::nextUndo(l)->label, "二つの変更");
    EXPECT_EQ(history::nextUndo(l)->rows, 2);
    const auto members = l.members().size();
    EXPECT_EQ(history::undo(l).result, Result::Done);
    EXPECT_EQ(l.members().size(), members - 1);
}

TEST_F(HistoryTest, AStepThatTouchesARecordMoreThanOnceGoesBackToItsFirstState) {
    Ledger l = temp_.open();
    const std::string before = rowsImage(l);
    history::recordStep(l, "続けて", [&] {
        writes::changeEntry(l, lunch_, {"2006/12/07", food_, "一", yen(1)});
        writes::changeEntry(l, lunch_, {"2006/12/08", unnamed_, "二", yen(2)});
        const auto passing = writes::addEntry(l, {"2006/12/09", food_, "三", yen(3)});
        writes::deleteEntry(l, passing);
        writes::deleteMember(l, taro_);
    });
    const std::string after = rowsImage(l);
    EXPECT_EQ(history::undo(l).result, Result::Done);
    EXPECT_EQ(rowsImage(l), before);
    EXPECT_EQ(history::redo(l).result, Result::Done);
    EXPECT_EQ(rowsImage(l), after);
    EXPECT_THAT(l.monthSumDifferences(), IsEmpty());
}

TEST_F(HistoryTest, TheHistoryKeepsTwoHundredStepsOrNinetyDaysAndSurvivesClosing) {
    {
        Ledger l = temp_.open();
        for (int i = 0; i < 250; ++i)
            writes::addMember(l, "m" + std::to_string(i));
        ageSteps(l, 89);
        writes::addMember(l, "new");
        EXPECT_EQ(history::steps(l).size(), 251u) << "all of the last 90 days stay";
        ageSteps(l, 2);
        writes::addMember(l, "newer");
        EXPECT_EQ(history::steps(l).size(), 200u);
        EXPECT_EQ(historyRowCount(l), 200);
    }
    Ledger reopened = temp_.open();
    EXPECT_EQ(history::nextUndo(reopened)->label, "名前登録 (newer)");
    EXPECT_EQ(history::undo(reopened).result, Result::Done);
    EXPECT_EQ(reopened.members().back().name, "new");
}

TEST_F(HistoryTest, AnEarlierLedgerGainsTheHistoryAndALaterOneIsRefusedUntouched) {
    {
        Ledger l = temp_.open();
        makeVersionBeforeHistory(l);
    }
    {
        Ledger l = temp_.open();
        EXPECT_EQ(schemaVersion(l), 4);
        writes::deleteEntry(l, lunch_);
        EXPECT_EQ(history::undo(l).result, Result::Done);
        setSchemaVersion(l, 5);
    }
    const std::string bytes = fileBytes(temp_.path());
    try {
        temp_.open();
        ADD_FAILURE() << "a ledger of a later version opened";
    } catch (const LedgerError& e) {
        EXPECT_THAT(e.description(), HasSubstr("新しい版の Sorakado"));
    }
    EXPECT_EQ(fileBytes(temp_.path()), bytes);
}

// The child undoes and redoes a large step until it is killed, somewhere in the middle of one.
TEST_F(HistoryTest, AKillDuringAnUndoLeavesTheStepWhollyDoneOrWhollyUndone) {
    std::string whole, none;
    {
        Ledger l = temp_.open();
        l.inTransaction([&] {
            for (int i = 0; i < 20000; ++i)
                testing::addEntry(l, "2007/03/01", food_, "x", yen(i));
        });
        whole = rowsImage(l);
        writes::deleteCategory(l, food_);
        none = rowsImage(l);
    }
    std::optional<Ledger> inChild;
    killWhileRepeating([&] {
        if (!inChild)
            inChild.emplace(temp_.open());
        history::undo(*inChild);
        history::redo(*inChild);
    });

    Ledger l = temp_.open();
    const std::string left = rowsImage(l);
    EXPECT_TRUE(left == whole || left == none);
    EXPECT_THAT(l.monthSumDifferences(), IsEmpty());
    EXPECT_EQ(history::nextUndo(l).has_value(), left == none) << "the step's mark goes with its rows";
    const auto out = left == none ? history::undo(l) : history::redo(l);
    EXPECT_EQ(out.result, Result::Done);
    EXPECT_EQ(rowsImage(l), left == none ? whole : none);
}

TEST(HistoryLabels, NameTheChangeAndItsRecord) {
    namespace labels = history::labels;
    EXPECT_EQ(labels::entry(labels::kEntryDeleted, "2006/12/05", "食費", yen(1200)),
              "明細削除 (12/05 食費 \\1200)");
    EXPECT_EQ(labels::entry(labels::kEntryAdded, "12/5", std::nullopt, std::nullopt), "明細入力 (12/5)");
    EXPECT_EQ(labels::categoryDeleted("食費", 50000), "品目削除 (食費、明細50000件)");
    EXPECT_EQ(labels::categoryDeleted("食費", 0), "品目削除 (食費)");
    EXPECT_EQ(labels::memberDeleted("花子", 3), "名前削除 (花子、収入3件)");
    EXPECT_EQ(labels::income(labels::kIncomeChanged, "2006/04", "花子", tenThousandths(15)),
              "収入変更 (2006/04 花子 \\0.0015)");
    EXPECT_EQ(labels::shortName("一二三四五六七八九十一二三四五六"), "一二三四五六七八九十一二三四五六");
    EXPECT_EQ(labels::shortName("一二三四五六七八九十一二三四五六七"), "一二三四五六七八九十一二三四五六…");
}

} // namespace
} // namespace sorakado::testing
