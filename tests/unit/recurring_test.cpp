// Repeating entries on real encrypted ledgers: what a posting writes and how it never writes a
// date twice (repeated opens, a clock turned back, a kill in the middle, an older copy put back,
// two programs at once), incomes the family entered left alone, undo, the upgrade of a version 3
// ledger, deleting categories and members, and what check reports.

#include "ledger_test_support.h"
#include "support/kill_while_repeating.h"
#include "support/temp_ledger.h"

#include "store/history.h"
#include "store/ledger_backup.h"
#include "store/ledger_check.h"
#include "store/ledger_restore.h"
#include "store/ledger_writes.h"
#include "store/recurring.h"
#include "store/testing/month_sums_cases.h"
#include "store/testing/recurring_cases.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <thread>

namespace sorakado::testing {
namespace {

using recurring::Day;
using recurring::YearMonth;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

Day day(const char* text) {
    return *recurring::parseDay(text);
}

YearMonth month(const char* text) {
    return *recurring::parseMonth(text);
}

// Every entry as "date description amount", in date order.
std::vector<std::string> entries(Ledger& l) {
    std::vector<std::string> out;
    for (const auto& e : l.entryRecords(""))
        out.push_back(e.date.value_or("-") + " " + e.description.value_or("-") + " " +
                      (e.amount ? e.amount->text() : "-"));
    return out;
}

// How many entries each date and description has.
std::map<std::string, int> entryCounts(Ledger& l) {
    std::map<std::string, int> out;
    for (const auto& e : l.entryRecords(""))
        ++out[e.date.value_or("-") + " " + e.description.value_or("-")];
    return out;
}

class RecurringTest : public ::testing::Test {
protected:
    recurring::Values expense(int dayOfMonth, const char* from, const char* description = "家賃") {
        recurring::Values v;
        v.categoryKey = housing_;
        v.description = description;
        v.amount = yen(80000);
        v.day = dayOfMonth;
        v.from = month(from);
        return v;
    }

    TempLedger temp_;
    Ledger ledger_ = temp_.open();
    std::int64_t housing_ = writes::addCategory(ledger_, "住居費");
    std::int64_t hanako_ = writes::addMember(ledger_, "花子");
};

TEST_F(RecurringTest, EachDueDateIsWrittenOnceAcrossOpensAndNeverAheadOfToday) {
    recurring::add(ledger_, expense(31, "2023/12"));
    const auto posted = recurring::postDue(ledger_, day("2024/03/15"));
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0].date, "2023/12/31");
    EXPECT_EQ(posted[2].date, "2024/02/29");
    EXPECT_EQ(posted[2].categoryName, "住居費");
    EXPECT_EQ(history::nextUndo(ledger_)->label, "定期明細の記入 (3件)");

    for (int open = 0; open < 3; ++open) {
        Ledger again = temp_.open();
        EXPECT_THAT(recurring::postDue(again, day("2024/03/15")), IsEmpty());
    }
    EXPECT_THAT(entries(ledger_),
                ElementsAre("2023/12/31 家賃 80000", "2024/01/31 家賃 80000", "2024/02/29 家賃 80000"));
    EXPECT_EQ(recurring::list(ledger_).front().next(), "2024/03/31");
    // The posted entries are ordinary ones: a deleted one does not come back.
    writes::deleteEntry(ledger_, *posted[1].entryKey);
    EXPECT_EQ(recurring::postDue(ledger_, day("2024/03/31")).size(), 1u);
    EXPECT_THAT(entries(ledger_),
                ElementsAre("2023/12/31 家賃 80000", "2024/02/29 家賃 80000", "2024/03/31 家賃 80000"));
    EXPECT_THAT(ledger_.monthSumDifferences(), IsEmpty());
}

TEST_F(RecurringTest, AClockTurnedBackWritesNothingAndLaterOnlyWhatIsNew) {
    recurring::add(ledger_, expense(recurring::kLastDay, "2024/11"));
    EXPECT_EQ(recurring::postDue(ledger_, day("2025/01/31")).size(), 3u);
    EXPECT_THAT(recurring::postDue(ledger_, day("2024/06/01")), IsEmpty());
    EXPECT_THAT(recurring::postDue(ledger_, day("2024/12/31")), IsEmpty());
    const auto later = recurring::postDue(ledger_, day("2025/03/01"));
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later.front().date, "2025/02/28");
    EXPECT_EQ(entries(ledger_).size(), 4u);
}

TEST_F(RecurringTest, APostingIsOneStepUndoneAndRedoneWithItsRecord) {
    recurring::add(ledger_, expense(10, "2024/01"));
    recurring::postDue(ledger_, day("2024/03/10"));
    ASSERT_EQ(history::undo(ledger_).result, history::Outcome::Result::Done);
    EXPECT_THAT(entries(ledger_), IsEmpty());
    // Undone, the record of what was written goes with the entries.
    EXPECT_EQ(recurring::list(ledger_).front().posted, std::nullopt);
    ASSERT_EQ(history::redo(ledger_).result, history::Outcome::Result::Done);
    EXPECT_EQ(entries(ledger_).size(), 3u);
    EXPECT_EQ(recurring::list(ledger_).front().posted, "2024/03/10");
    EXPECT_THAT(recurring::postDue(ledger_, day("2024/03/10")), IsEmpty());
}

TEST_F(RecurringTest, IncomesAreWrittenOnlyWhereTheMemberHasNoneForTheMonth) {
    writes::setMonthIncome(ledger_, hanako_, "2024/02", yen(123));
    recurring::Values salary;
    salary.memberKey = hanako_;
    salary.amount = yen(300000);
    salary.from = month("2024/01");
    salary.until = month("2024/04");
    recurring::add(ledger_, salary);

    const auto posted = recurring::postDue(ledger_, day("2024/03/01"));
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].date, "2024/01");
    EXPECT_EQ(posted[0].memberName, "花子");
    EXPECT_EQ(posted[1].date, "2024/03");
    EXPECT_EQ(ledger_.monthIncomes("2024/02").front().amount, yen(123));
    EXPECT_EQ(ledger_.monthIncomes("2024/03").front().amount, yen(300000));
    // Removed by the family afterwards, a month's income is not written again.
    writes::setMonthIncome(ledger_, hanako_, "2024/03", yen(0));
    EXPECT_EQ(recurring::postDue(ledger_, day("2024/12/01")).size(), 1u); // 2024/04, the last month
    EXPECT_THAT(ledger_.monthIncomes("2024/03"), IsEmpty());
    EXPECT_THAT(ledger_.monthIncomes("2024/05"), IsEmpty());
}

TEST_F(RecurringTest, AnOlderCopyPutBackWritesWhatItLacksOnce) {
    recurring::add(ledger_, expense(5, "2024/01"));
    recurring::postDue(ledger_, day("2024/02/05"));
    const auto copy = temp_.folder() / "older.mdb";
    backup::copyLedger(temp_.path(), copy);
    recurring::postDue(ledger_, day("2024/04/05"));
    ledger_ = Ledger::open(copy); // lets go of the ledger before it is replaced
    restore::restoreLedger(copy, temp_.path(), std::chrono::system_clock::now());

    Ledger restored = temp_.open();
    EXPECT_EQ(recurring::postDue(restored, day("2024/04/05")).size(), 2u);
    for (const auto& [what, count] : entryCounts(restored))
        EXPECT_EQ(count, 1) << what;
    EXPECT_EQ(entryCounts(restored).size(), 4u);
}

TEST_F(RecurringTest, TwoProgramsPostingAtOnceWriteEachDateOnce) {
    for (int d = 1; d <= 20; ++d)
        recurring::add(ledger_, expense(d, "2020/01", ("定期" + std::to_string(d)).c_str()));
    Ledger other = temp_.open();
    std::thread second([&] {
        try {
            recurring::postDue(other, day("2024/12/31"));
        } catch (const LedgerError&) {
            // the other program held the file all the while: this one writes at its next open
        }
    });
    try {
        recurring::postDue(ledger_, day("2024/12/31"));
    } catch (const LedgerError&) {
    }
    second.join();
    recurring::postDue(ledger_, day("2024/12/31"));
    const auto counts = entryCounts(ledger_);
    EXPECT_EQ(counts.size(), 20u * 60u);
    for (const auto& [what, count] : counts)
        ASSERT_EQ(count, 1) << what;
}

// The child posts a great many dates and undoes them, over and over, until it is killed
// somewhere in the middle of one.
TEST_F(RecurringTest, AKillDuringAPostingLeavesItWhollyWrittenOrNotAtAll) {
    for (int d = 1; d <= 20; ++d)
        recurring::add(ledger_, expense(d, "1990/01", ("定期" + std::to_string(d)).c_str()));
    std::optional<Ledger> inChild;
    killWhileRepeating([&] {
        if (!inChild)
            inChild.emplace(temp_.open());
        recurring::postDue(*inChild, day("2024/12/31"));
        history::undo(*inChild);
    });

    Ledger l = temp_.open();
    const std::size_t left = l.entryRecords("").size();
    EXPECT_TRUE(left == 0 || left == 20u * 420u) << left;
    EXPECT_EQ(recurring::list(l).front().posted.has_value(), left != 0) << "the record goes with the entries";
    recurring::postDue(l, day("2024/12/31"));
    const auto counts = entryCounts(l);
    EXPECT_EQ(counts.size(), 20u * 420u);
    for (const auto& [what, count] : counts)
        ASSERT_EQ(count, 1) << what;
    EXPECT_THAT(l.monthSumDifferences(), IsEmpty());
}

TEST_F(RecurringTest, ChangesAreStepsAndKeepWhatWasWritten) {
    const auto key = recurring::add(ledger_, expense(15, "2024/01"));
    EXPECT_EQ(history::nextUndo(ledger_)->label, "定期明細追加 (住居費 \\80000)");
    recurring::postDue(ledger_, day("2024/02/20"));
    auto changed = expense(25, "2023/06");
    changed.amount = yen(90000);
    recurring::change(ledger_, key, changed);
    EXPECT_EQ(history::nextUndo(ledger_)->label, "定期明細変更 (住居費 \\90000)");
    // Neither the earlier first month nor the later day writes January or February again.
    const auto posted = recurring::postDue(ledger_, day("2024/03/25"));
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted.front().date, "2024/03/25");
    EXPECT_EQ(posted.front().amount, yen(90000));

    history::undo(ledger_); // the posting
    history::undo(ledger_); // the change
    EXPECT_EQ(recurring::find(ledger_, key)->day, 15);
    recurring::remove(ledger_, key);
    EXPECT_THAT(recurring::list(ledger_), IsEmpty());
    history::undo(ledger_);
    EXPECT_EQ(recurring::list(ledger_).size(), 1u);
    EXPECT_THROW(recurring::remove(ledger_, key + 100), LedgerError);
}

TEST_F(RecurringTest, ValuesThatCannotPostAreRefused) {
    auto v = expense(10, "2024/05");
    v.until = month("2024/04");
    EXPECT_THROW(recurring::add(ledger_, v), LedgerError);
    v = expense(10, "2024/05");
    v.categoryKey = housing_ + 100;
    EXPECT_THROW(recurring::add(ledger_, v), LedgerError);
    v = expense(10, "2024/05");
    v.memberKey = hanako_; // both kinds at once
    EXPECT_THROW(recurring::add(ledger_, v), LedgerError);
    EXPECT_THAT(recurring::list(ledger_), IsEmpty());
    EXPECT_FALSE(history::nextUndo(ledger_)->label.starts_with("定期"));
}

TEST_F(RecurringTest, ACategoryOrMemberDeletedTakesItsRepeatingEntriesInTheSameStep) {
    recurring::add(ledger_, expense(10, "2024/01"));
    recurring::Values salary;
    salary.memberKey = hanako_;
    salary.amount = yen(300000);
    salary.from = month("2024/01");
    recurring::add(ledger_, salary);
    EXPECT_EQ(recurring::categoryCount(ledger_, housing_), 1);

    writes::deleteCategory(ledger_, housing_);
    writes::deleteMember(ledger_, hanako_);
    EXPECT_THAT(recurring::list(ledger_), IsEmpty());
    EXPECT_THAT(recurring::postDue(ledger_, day("2024/03/10")), IsEmpty());
    history::undo(ledger_);
    history::undo(ledger_);
    EXPECT_EQ(recurring::list(ledger_).size(), 2u);
}

TEST_F(RecurringTest, ALedgerOfVersion3GainsTheTableAndKeepsItsHistory) {
    writes::addCategory(ledger_, "食費");
    makeVersionBeforeRecurring(ledger_);
    ledger_ = temp_.open();
    EXPECT_EQ(schemaVersion(ledger_), 4);
    EXPECT_EQ(historyRowColumns(ledger_), 5 + 2 * 9); // nine values a row before and after
    EXPECT_EQ(history::undo(ledger_).result, history::Outcome::Result::Done);
    EXPECT_EQ(ledger_.categories().size(), 1u);
    recurring::add(ledger_, expense(10, "2024/01"));
    EXPECT_EQ(recurring::postDue(ledger_, day("2024/01/10")).size(), 1u);
}

TEST_F(RecurringTest, CheckReportsRowsThatCanNeverPost) {
    recurring::add(ledger_, expense(10, "2024/01"));
    addRecurringStoredAs(ledger_, "999, NULL, '消えた品目', 100, 1, NULL, '2024/01', NULL, NULL");
    addRecurringStoredAs(ledger_, std::to_string(housing_) +
                                      ", NULL, '日がない', 100, 40, NULL, '2024/01', NULL, NULL");
    addRecurringStoredAs(ledger_, std::to_string(housing_) +
                                      ", NULL, '記入済が壊れた', 100, 1, NULL, '2024/01', NULL, 'x'");
    addRecurringStoredAs(ledger_, "NULL, " + std::to_string(hanako_) +
                                      ", NULL, 5, NULL, NULL, '2024/01', '2023/12', NULL");

    const auto report = check::checkLedger(temp_.path());
    ASSERT_EQ(report.badRecurring.size(), 4u);
    EXPECT_EQ(report.badRecurring[0].reason, "その品目はもうありません");
    EXPECT_EQ(report.badRecurring[3].reason, "最後の月が最初の月より前です");
    // Only the sound one posts; the broken record is not taken for "nothing written yet".
    EXPECT_EQ(recurring::postDue(ledger_, day("2024/02/10")).size(), 2u);
}

} // namespace
} // namespace sorakado::testing
