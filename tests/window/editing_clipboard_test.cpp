// Copying each list to the clipboard from its menu, through the real window.

#include "editing_support.h"

namespace sorakado::testing {
namespace {

class ClipboardCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        seedFamily(f.file);
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
        QGuiApplication::clipboard()->setText(QStringLiteral("前の内容"));
    }
    Form1& w() { return f.w(); }
    WindowFixture f;
};

TEST_F(ClipboardCopyTest, TheCategoryListIsCopiedWholeWithNoBreakAtTheEnd) {
    clickRow(w().ListView3, 0, Qt::RightButton);
    choose(w().HinMenu, w().ClipBoard3);
    EXPECT_EQ(clipboard(), QStringLiteral("項目名\t項目合計\r\n光熱費\t\\0\r\n食費\t\\2000"));
}

TEST_F(ClipboardCopyTest, TheIncomeListIsCopiedRowByRowAsShown) {
    clickRow(w().ListView1, 0, Qt::RightButton);
    choose(w().SyuMenu, w().ClipBoard1);
    const QStringList lines = clipboard().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + w().ListView1->rowCount());
    EXPECT_EQ(lines[0], QStringLiteral("名前(右ｸﾘｯｸ編集)\t収入"));
    EXPECT_EQ(lines[1], QStringLiteral("太郎\t\\300000"));
    EXPECT_EQ(lines[2], QStringLiteral("---------------\t----------"));
    EXPECT_EQ(lines[3], QStringLiteral("今月合計\t\\300000"));
    EXPECT_EQ(lines[5], QStringLiteral("2026年各月集計\t          "));
    EXPECT_EQ(lines[6], QStringLiteral("1月の合計収入\t\\300000"));
    EXPECT_EQ(lines.last(), QStringLiteral("2026年収入合計\t￥300000"));
}

TEST_F(ClipboardCopyTest, TheExpenseListCopiesTheCellsEachRowHoldsAndNoMore) {
    rightClickBelowRows(w().ListView2);
    choose(w().MeiMenu, w().ClipBoard2);
    const QStringList lines = clipboard().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + w().ListView2->rowCount());
    EXPECT_EQ(lines[0], QStringLiteral("日付\t項目名\t詳細\t金額"));
    EXPECT_EQ(lines[1], QStringLiteral("2026/01/10(土)\t食費\t米\t\\2000"));
    EXPECT_EQ(lines[3], QStringLiteral("今月合計\t\t\t\\2000"));
    EXPECT_EQ(lines[4], QStringLiteral("          \t     ")); // the blank row holds two cells
    EXPECT_EQ(lines[5], QStringLiteral("2026年各月集計\t          "));
    EXPECT_EQ(lines[6], QStringLiteral("1月の合計出費\t \t \t\\2000"));
    EXPECT_EQ(lines.last(), QStringLiteral("2026年出費合計\t \t \t￥2000"));
}

TEST_F(ClipboardCopyTest, TabsAndLineBreaksInsideACellAreCopiedAsTheyAre) {
    {
        Ledger l = f.file.open();
        addEntry(l, "2026/01/11", 2, "a\tb\r\nc", yen(1));
    }
    w().Command1_Click();
    rightClickBelowRows(w().ListView2);
    choose(w().MeiMenu, w().ClipBoard2);
    EXPECT_TRUE(clipboard().contains(QStringLiteral("\r\n2026/01/11(日)\t光熱費\ta\tb\r\nc\t\\1\r\n")));
}

TEST_F(ClipboardCopyTest, AListWithoutRowsGivesItsHeadingsAlone) {
    Ledger l = f.file.open();
    deleteAllRows(l, "品目");
    w().Command1_Click();
    rightClickBelowRows(w().ListView3);
    choose(w().HinMenu, w().ClipBoard3);
    EXPECT_EQ(clipboard(), QStringLiteral("項目名\t項目合計"));
}

} // namespace
} // namespace sorakado::testing
