// sorakado-ledger recurring list, add and remove, and check with repeating entries, run as the
// user runs them on a real encrypted ledger beside a copy of the tool.

#include "ledger_test_support.h"
#include "support/tool_beside_ledger.h"

#include "store/history.h"
#include "store/ledger.h"
#include "store/ledger_writes.h"
#include "store/program_lock.h"
#include "store/recurring.h"
#include "store/testing/recurring_cases.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class RecurringTool : public ToolBesideLedger {
protected:
    void SetUp() override {
        ToolBesideLedger::SetUp();
        auto l = Ledger::open(ledger());
        writes::addCategory(l, "住居費");
        writes::addMember(l, "花子");
    }
    std::vector<recurring::Stored> rows() {
        Ledger l = Ledger::open(ledger());
        return recurring::list(l);
    }
};

TEST_F(RecurringTool, AddsListsAndRemovesExpensesAndIncomes) {
    ToolResult added = run({"recurring", "add", "--category", "住居費", "--amount", "80000", "--description",
                            "家賃", "--last-day", "--from", "2024/01", "--until", "2025/12"});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_THAT(added.out, HasSubstr("定期ID 1"));
    EXPECT_THAT(added.out, HasSubstr("2024/01/31"));
    ToolResult yearly = run({"recurring", "add", "--category", "住居費", "--amount", "12000.5", "--day", "29",
                             "--yearly", "2", "--from", "2024/01", ledger().string()});
    ASSERT_EQ(yearly.status, 0) << yearly.err;
    ToolResult income =
        run({"recurring", "add", "--member", "花子", "--amount", "300000", "--from", "2024/04"});
    ASSERT_EQ(income.status, 0) << income.err;

    const auto stored = rows();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].day, recurring::kLastDay);
    EXPECT_EQ(stored[0].until, "2025/12");
    EXPECT_EQ(stored[1].amount, Amount::fromTenThousandths(120005000));
    EXPECT_EQ(stored[1].yearlyMonth, 2);
    EXPECT_EQ(stored[2].memberName, "花子");

    ToolResult listed = run({"recurring", "list"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("1\t住居費\t家賃\t80000\t毎月 末日\t2024/01\t2025/12\t2024/01/31\n"));
    EXPECT_THAT(listed.out, HasSubstr("毎年 2月29日"));
    EXPECT_THAT(listed.out, HasSubstr("3\t花子\t\t300000\t毎月 (収入)\t2024/04\t\t2024/04\n"));

    ToolResult removed = run({"recurring", "remove", "2"});
    ASSERT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(rows().size(), 2u);
    // Each change is a step the window can undo.
    Ledger l = Ledger::open(ledger());
    EXPECT_THAT(history::nextUndo(l)->label, HasSubstr("定期明細削除"));
}

TEST_F(RecurringTool, RefusesWhatCannotBeAddedAndChangesNothing) {
    const std::vector<std::vector<std::string>> usage{
        {"recurring"},
        {"recurring", "modify"},
        {"recurring", "add", "--category", "住居費", "--amount", "1", "--from", "2024/01"}, // no day
        {"recurring", "add", "--category", "住居費", "--amount", "1", "--day", "5", "--last-day", "--from",
         "2024/01"},
        {"recurring", "add", "--category", "住居費", "--amount", "1", "--day", "32", "--from", "2024/01"},
        {"recurring", "add", "--category", "住居費", "--amount", "1", "--day", "5", "--yearly", "13",
         "--from", "2024/01"},
        {"recurring", "add", "--category", "住居費", "--amount", "1,000", "--day", "5", "--from", "2024/01"},
        {"recurring", "add", "--category", "住居費", "--amount", "1", "--day", "5", "--from", "2024/1"},
        {"recurring", "add", "--member", "花子", "--amount", "1", "--day", "5", "--from", "2024/01"},
        {"recurring", "add", "--member", "花子", "--category", "住居費", "--amount", "1", "--from",
         "2024/01"},
        {"recurring", "remove", "x"},
    };
    for (const auto& args : usage) {
        ToolResult r = run(args);
        EXPECT_EQ(r.status, 2) << args.back() << r.err;
        EXPECT_THAT(r.err, HasSubstr("sorakado-ledger: "));
    }
    const std::vector<std::vector<std::string>> refused{
        {"recurring", "add", "--category", "食費", "--amount", "1", "--day", "5", "--from", "2024/01"},
        {"recurring", "add", "--member", "太郎", "--amount", "1", "--from", "2024/01"},
        {"recurring", "add", "--category", "住居費", "--amount", "1", "--day", "5", "--from", "2024/05",
         "--until", "2024/04"},
        {"recurring", "remove", "9"},
    };
    for (const auto& args : refused) {
        ToolResult r = run(args);
        EXPECT_EQ(r.status, 1) << args.back() << r.out;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_THAT(rows(), IsEmpty());
    EXPECT_EQ(run({"recurring", "list"}).out, "定期明細はありません。\n");

    // Nothing is added while the program has the ledger open.
    const auto program = ProgramLock::tryTakeFor(ledger());
    ASSERT_TRUE(program);
    ToolResult busy = run({"recurring", "add", "--member", "花子", "--amount", "1", "--from", "2024/01"});
    EXPECT_EQ(busy.status, 1);
    EXPECT_THAT(busy.err, HasSubstr("Sorakado がこの台帳を開いているため"));
}

TEST_F(RecurringTool, CheckReportsRepeatingEntriesThatCanNeverPostWithStatus3) {
    EXPECT_EQ(run({"check"}).status, 0);
    {
        Ledger l = Ledger::open(ledger());
        addRecurringStoredAs(l, "777, NULL, '消えた', 100, 5, NULL, '2024/01', NULL, NULL");
    }
    ToolResult checked = run({"check"});
    EXPECT_EQ(checked.status, 3) << checked.err;
    EXPECT_THAT(checked.out, HasSubstr("記入できない定期明細があります（1 行）"));
    EXPECT_THAT(checked.out, HasSubstr("定期ID 1 (毎月 5日, 品目ID 777, 100): その品目はもうありません"));
}

} // namespace
} // namespace sorakado::testing
