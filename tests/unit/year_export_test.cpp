// What the export and the year report read from a real encrypted ledger, and how the export's
// files reach the disk: all of them or none.

#include "export/ledger_export.h"
#include "export/output_files.h"
#include "export/year_figures.h"
#include "ledger_test_support.h"
#include "support/temp_ledger.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace sorakado {
namespace {

using namespace sorakado::testing;
namespace fs = std::filesystem;

// Two members and three categories over two years, with rows the window never lists.
class SeededYear : public ::testing::Test {
protected:
    void SetUp() override {
        Ledger l = ledger_.open();
        father_ = addMember(l, "父");
        mother_ = addMember(l, "母");
        food_ = addCategory(l, "食費");
        power_ = addCategory(l, "光熱費");
        gone_ = addCategory(l, "旅行");
        addIncome(l, father_, "2006/01", yen(300000));
        addIncome(l, mother_, "2006/01", Amount::fromTenThousandths(1200005000)); // 120000.5
        addIncome(l, 99, "2006/03", yen(5000));                                   // member gone
        addIncome(l, father_, "2007/01", yen(310000));
        addEntry(l, "2006/01/05", food_, "米", yen(2000));
        addEntry(l, "2006/01/20", power_, "電気", Amount::fromTenThousandths(80002500));
        addEntry(l, "2006/02/01", food_, "0.1", Amount::fromTenThousandths(1000));
        addEntry(l, "2006/02/02", food_, "0.2", Amount::fromTenThousandths(2000));
        addEntry(l, "2006/03/03", gone_, "温泉", yen(999));
        addEntry(l, "2006/4/04", food_, "one-digit month", yen(7)); // in no month of the window
        addEntry(l, "2006/05/05", power_, std::nullopt, std::nullopt);
        addEntry(l, "2007/01/01", food_, "翌年", yen(5));
        deleteCategoryRow(l, gone_);
    }

    TempLedger ledger_;
    std::int64_t father_ = 0, mother_ = 0, food_ = 0, power_ = 0, gone_ = 0;
};

TEST_F(SeededYear, AYearsTablesHoldItsRowsWhateverTheWindowListsAndTheWindowsMonthFigures) {
    Ledger l = ledger_.open();
    auto t = exporting::readLedgerTables(l, 2006);
    ASSERT_EQ(t.entries.size(), 7u);
    EXPECT_EQ(t.entries[4].date, "2006/03/03");
    EXPECT_EQ(t.entries[4].categoryKey, gone_);
    EXPECT_EQ(t.entries[4].categoryName, std::nullopt);
    EXPECT_EQ(t.entries[4].amount, yen(999));
    EXPECT_EQ(t.entries[5].date, "2006/05/05"); // "2006/4/04" sorts after every "2006/0…"
    EXPECT_EQ(t.entries[5].amount, std::nullopt);
    EXPECT_EQ(t.entries[6].date, "2006/4/04");
    ASSERT_EQ(t.incomes.size(), 3u);
    EXPECT_EQ(t.incomes[2].memberKey, 99);
    EXPECT_EQ(t.incomes[2].memberName, std::nullopt);
    EXPECT_EQ(t.members.size(), 2u);
    EXPECT_EQ(t.categories.size(), 2u);

    ASSERT_EQ(t.summary.size(), 12u);
    EXPECT_EQ(t.summary[0].monthKey, "2006/01");
    EXPECT_EQ(t.summary[0].income, Amount::fromTenThousandths(4200005000));
    EXPECT_EQ(t.summary[0].spending, Amount::fromTenThousandths(100002500));
    EXPECT_EQ(t.summary[1].spending, Amount::fromTenThousandths(3000)); // 0.1 + 0.2, exactly 0.3
    EXPECT_EQ(t.summary[2].income, yen(5000));                          // as the window's year sums count
    EXPECT_EQ(t.summary[2].spending, yen(999));
    EXPECT_EQ(t.summary[3].spending, Amount());
    EXPECT_EQ(l.yearExpenseSums("2006")[2], t.summary[2].spending);
}

TEST_F(SeededYear, TheWholeLedgerSummarisesEveryYearItsRowsName) {
    Ledger l = ledger_.open();
    auto t = exporting::readLedgerTables(l, std::nullopt);
    EXPECT_EQ(t.entries.size(), 8u);
    EXPECT_EQ(t.incomes.size(), 4u);
    ASSERT_EQ(t.summary.size(), 24u);
    EXPECT_EQ(t.summary[12].monthKey, "2007/01");
    EXPECT_EQ(t.summary[12].income, yen(310000));
    EXPECT_EQ(t.summary[12].spending, yen(5));
}

TEST_F(SeededYear, YearFiguresAddUpToTheMonthsWithDeletedCategoriesTogether) {
    Ledger l = ledger_.open();
    auto f = yearly::readYearFigures(l, 2006);
    EXPECT_EQ(f.incomeTotal(), Amount::fromTenThousandths(4250005000));
    EXPECT_EQ(f.spendingTotal(), Amount::fromTenThousandths(109995500)); // 2000 + 8000.25 + 0.3 + 999
    ASSERT_EQ(f.categories.size(), 3u);
    EXPECT_EQ(f.categories[0].name, "光熱費");
    EXPECT_EQ(f.categories[0].amount, Amount::fromTenThousandths(80002500));
    EXPECT_EQ(f.categories[1].name, "食費");
    EXPECT_EQ(f.categories[1].amount, Amount::fromTenThousandths(20003000)); // not the one-digit month
    EXPECT_EQ(f.categories[2].key, std::nullopt);
    EXPECT_EQ(f.categories[2].amount, yen(999));
    Amount sum;
    for (const auto& c : f.categories)
        sum += c.amount;
    EXPECT_EQ(sum, f.spendingTotal());
    EXPECT_EQ(f.difference(0), Amount::fromTenThousandths(4100002500));
    EXPECT_TRUE(yearly::readYearFigures(l, 1999).empty());
}

TEST(SortBiggestFirstTest, OrdersByAmountThenNameWithDeletedCategoriesLastAmongEquals) {
    std::vector<yearly::CategorySpending> c{{std::nullopt, std::nullopt, yen(10)},
                                            {2, "b", yen(10)},
                                            {1, "a", yen(10)},
                                            {3, "z", yen(50)},
                                            {4, std::nullopt, yen(-5)}};
    yearly::sortBiggestFirst(c);
    EXPECT_EQ(c[0].key, 3);
    EXPECT_EQ(c[1].key, 1);
    EXPECT_EQ(c[2].key, 2);
    EXPECT_EQ(c[3].key, std::nullopt);
    EXPECT_EQ(c[4].key, 4);
}

class OutputFilesTest : public ::testing::Test {
protected:
    fs::path folder() const { return fs::path(dir_.path().toStdString()); }
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    QTemporaryDir dir_;
    const std::vector<exporting::OutputFile> files_{{"a.csv", "new a"}, {"b.csv", "new b"}};
};

TEST_F(OutputFilesTest, WritesEveryFileWholeAndLeavesNoTemporaryFile) {
    exporting::writeAllOrNothing(folder(), files_, false);
    EXPECT_EQ(listing(), (std::vector<std::string>{"a.csv", "b.csv"}));
    EXPECT_EQ(fileBytes(folder() / "b.csv"), "new b");
    EXPECT_EQ(fs::status(folder() / "a.csv").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(OutputFilesTest, OneNameTakenRefusesTheWholeBatchUnlessOverwriting) {
    writeFile(folder() / "b.csv", "old b");
    try {
        exporting::writeAllOrNothing(folder(), files_, false);
        FAIL() << "an existing file was overwritten";
    } catch (const exporting::OutputError& e) {
        EXPECT_EQ(
            std::string(e.what()),
            "「" + (folder() / "b.csv").string() +
                "」はすでにあります。上書きするときは --force を付けてください。何も書き出していません。");
    }
    EXPECT_EQ(listing(), (std::vector<std::string>{"b.csv"}));
    EXPECT_EQ(fileBytes(folder() / "b.csv"), "old b");

    exporting::writeAllOrNothing(folder(), files_, true);
    EXPECT_EQ(fileBytes(folder() / "b.csv"), "new b");
    EXPECT_EQ(listing(), (std::vector<std::string>{"a.csv", "b.csv"}));
}

TEST_F(OutputFilesTest, AFolderThatIsMissingOrAFileIsRefusedInJapanese) {
    EXPECT_THROW(
        {
            try {
                exporting::writeAllOrNothing(folder() / "missing", files_, false);
            } catch (const exporting::OutputError& e) {
                EXPECT_NE(std::string(e.what()).find("がありません。何も書き出していません。"),
                          std::string::npos);
                throw;
            }
        },
        exporting::OutputError);
    writeFile(folder() / "file", "x");
    EXPECT_THROW(exporting::writeAllOrNothing(folder() / "file", files_, true), exporting::OutputError);
    EXPECT_EQ(listing(), (std::vector<std::string>{"file"}));
}

} // namespace
} // namespace sorakado
