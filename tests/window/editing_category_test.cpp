// Expense categories through the real window: the category panel from the expense list's menu,
// adding, renaming and deleting (with every entry of the category), and the category picker.

#include "editing_support.h"

#include "ui/twips.h"

namespace sorakado::testing {
namespace {

const QString kBlankCategory = QStringLiteral("空白はいけません！！");

class CategoryEditingTest : public ::testing::Test {
protected:
    void open(bool seeded = true) {
        if (seeded)
            seedFamily(f.file); // 食費 (1) with entries in 2026/01 and 2006/04, 光熱費 (2)
        f.load(!seeded);
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }
    editing::CategoryPanel& panel() { return *f.w().Frame4; }

    void openPanel() {
        rightClickBelowRows(w().ListView2);
        choose(w().MeiMenu, w().KomoAdd);
        ASSERT_TRUE(panel().isVisible());
    }
    // Picks the picker's entry with this text from the keyboard, as the user does.
    void pickByKeyboard(const QString& text) {
        const int target = panel().Combo3->findText(text);
        ASSERT_GT(target, 0) << text.toStdString();
        while (panel().Combo3->currentIndex() < target)
            QTest::keyClick(panel().Combo3, Qt::Key_Down);
    }
    QStringList picker() {
        QStringList out;
        for (int i = 0; i < panel().Combo3->count(); ++i)
            out << panel().Combo3->itemText(i) + u'=' + panel().Combo3->itemData(i).toString();
        return out;
    }
    QStringList categoryNames() {
        QStringList out;
        for (const Category& c : categoriesIn(f.file))
            out << QString::fromStdString(c.name.value_or("(null)")) + u'=' + QString::number(c.key);
        return out;
    }

    WindowFixture f;
};

TEST_F(CategoryEditingTest, OpensAtTheAnchorReadyToAddAndAddsWithTwoEnters) {
    open();
    openPanel();
    // At the press, or just so far up that it lies inside the window (a press below the rows).
    EXPECT_EQ(panel().pos(), ui::keepInside(ui::pointTw(w().panelAnchor().x(), w().panelAnchor().y()),
                                            panel().size(), w().size()));
    EXPECT_EQ(panel().Combo3->currentIndex(), 0);
    EXPECT_EQ(panel().Combo3->currentText(), QStringLiteral("追加==>"));
    EXPECT_TRUE(panel().Text3->text().isEmpty());
    EXPECT_FALSE(panel().Command7->isEnabled());
    EXPECT_TRUE(focusIn(panel().Text3)) << focusName().toStdString();
    EXPECT_TRUE(panel().Text3->testAttribute(Qt::WA_InputMethodEnabled));

    typeText(QStringLiteral("外食"));
    pressEnter();
    EXPECT_TRUE(focusIn(panel().Command6)) << focusName().toStdString();
    EXPECT_EQ(categoriesIn(f.file).size(), 2u);
    pressEnter();

    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(categoryNames(), (QStringList{"光熱費=2", "外食=3", "食費=1"}));
    EXPECT_EQ(picker(), (QStringList{"追加==>=0", "光熱費=2", "外食=3", "食費=1"}));
    EXPECT_EQ(panel().Combo3->currentIndex(), 0);
    EXPECT_EQ(w().ListView3->rowCells(rowWithKey(w().ListView3, 3)), (QStringList{"外食", "\\0"}));
}

TEST_F(CategoryEditingTest, PickingACategoryTakesItsNameAndOffersDelete) {
    open();
    openPanel();
    pickByKeyboard(QStringLiteral("食費"));
    EXPECT_EQ(panel().Text3->text(), QStringLiteral("食費"));
    EXPECT_TRUE(panel().Command7->isEnabled());

    QTest::keyClick(panel().Combo3, Qt::Key_Home);
    EXPECT_EQ(panel().Combo3->currentIndex(), 0);
    EXPECT_TRUE(panel().Text3->text().isEmpty());
    EXPECT_FALSE(panel().Command7->isEnabled());
}

TEST_F(CategoryEditingTest, RenameAsksAndANoKeepsEverything) {
    open();
    openPanel();
    pickByKeyboard(QStringLiteral("食費"));
    panel().Text3->setText(QStringLiteral("食'費\""));
    const QString question = QStringLiteral("食費を食'費\"に変更しますがいいですか？");

    f.dialogs.expect(MessageKind::Ask, question, false);
    QTest::mouseClick(panel().Command6, Qt::LeftButton);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().Text3->text(), QStringLiteral("食'費\""));
    EXPECT_EQ(categoryNames(), (QStringList{"光熱費=2", "食費=1"}));

    f.dialogs.expect(MessageKind::Ask, question, true);
    QTest::mouseClick(panel().Command6, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(categoryNames(), (QStringList{"光熱費=2", "食'費\"=1"}));
    // The month's entry now shows the new name.
    EXPECT_EQ(w().ListView2->rowCells(0).value(1), QStringLiteral("食'費\""));
}

TEST_F(CategoryEditingTest, DeleteAsksThenTakesTheCategoryWithItsEntriesOfEveryMonth) {
    open();
    {
        Ledger l = f.file.open();
        addEntry(l, "2026/01/11", 2, "電気", yen(8000));
    }
    w().Command1_Click();
    openPanel();
    pickByKeyboard(QStringLiteral("食費"));

    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("食費を削除しますか？\r\nこの品目の明細 2件も削除されます。"), false);
    QTest::mouseClick(panel().Command7, Qt::LeftButton);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(categoriesIn(f.file).size(), 2u);

    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("食費を削除しますか？\r\nこの品目の明細 2件も削除されます。"), true);
    QTest::mouseClick(panel().Command7, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(categoryNames(), (QStringList{"光熱費=2"}));
    EXPECT_TRUE(entriesIn(f.file, "2006/04").empty());
    ASSERT_EQ(entriesIn(f.file, "2026/01").size(), 1u);
    EXPECT_EQ(entriesIn(f.file, "2026/01")[0].description, "電気");
    EXPECT_EQ(picker(), (QStringList{"追加==>=0", "光熱費=2"}));
    EXPECT_EQ(w().Label22->text(), QStringLiteral("\\8000"));
}

// The design's question stays; a second line counts the entries of every month that go with
// the category, and only when there are any.
TEST_F(CategoryEditingTest, TheDeleteQuestionCountsTheEntriesOfEveryMonthThatGoWithIt) {
    open();
    {
        Ledger l = f.file.open();
        addCategory(l, "雑費");
        for (int i = 0; i < 11; ++i)
            addEntry(l, "2025/0" + std::to_string(i % 9 + 1) + "/01", 2, "電気", yen(i + 1));
    }
    w().Command1_Click();
    openPanel();
    pickByKeyboard(QStringLiteral("光熱費"));
    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("光熱費を削除しますか？\r\nこの品目の明細 11件も削除されます。"), false);
    QTest::mouseClick(panel().Command7, Qt::LeftButton);
    pickByKeyboard(QStringLiteral("雑費"));
    f.dialogs.expect(MessageKind::Ask, QStringLiteral("雑費を削除しますか？"), true);
    QTest::mouseClick(panel().Command7, Qt::LeftButton);
    EXPECT_EQ(categoryNames(), (QStringList{"光熱費=2", "食費=1"}));
}

TEST_F(CategoryEditingTest, ACategoryDeleteThatFailsHalfwayKeepsTheCategoryAndItsEntries) {
    open();
    failDeletesFrom(w(), "DATA");
    openPanel();
    pickByKeyboard(QStringLiteral("食費"));
    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("食費を削除しますか？\r\nこの品目の明細 2件も削除されます。"));
    f.dialogs.expectContaining(MessageKind::Error, QStringLiteral("disk I/O error"));
    QTest::mouseClick(panel().Command7, Qt::LeftButton);

    EXPECT_EQ(categoryNames(), (QStringList{"光熱費=2", "食費=1"}));
    EXPECT_EQ(entriesIn(f.file, "2026/01").size(), 1u);
    EXPECT_EQ(entriesIn(f.file, "2006/04").size(), 1u);
    EXPECT_TRUE(panel().isVisible()); // still usable
    EXPECT_EQ(picker(), (QStringList{"追加==>=0", "光熱費=2", "食費=1"}));
}

TEST_F(CategoryEditingTest, AnEmptyNameIsRefusedButBlanksAndAwkwardNamesAreStoredAsTyped) {
    open();
    openPanel();
    f.dialogs.expect(MessageKind::Warn, kBlankCategory);
    QTest::mouseClick(panel().Command6, Qt::LeftButton);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(categoriesIn(f.file).size(), 2u);

    for (const QString& name : awkwardTexts()) {
        openPanel();
        panel().Text3->setText(name);
        QTest::mouseClick(panel().Command6, Qt::LeftButton);
        ASSERT_FALSE(panel().isVisible()) << name.toStdString();
        bool stored = false;
        for (const Category& c : categoriesIn(f.file))
            stored = stored || c.name == name.toStdString();
        EXPECT_TRUE(stored) << name.toStdString();
        EXPECT_GE(rowWithText(w().ListView3, name), 0) << name.toStdString();
        EXPECT_GE(panel().Combo3->findText(name), 1) << name.toStdString();
    }
    EXPECT_EQ(categoriesIn(f.file).size(), 2u + awkwardTexts().size());
}

TEST_F(CategoryEditingTest, TwoCategoriesOfOneNameKeepTheirOwnKeys) {
    open();
    openPanel();
    typeText(QStringLiteral("食費"));
    pressEnter();
    pressEnter();
    EXPECT_EQ(picker(), (QStringList{"追加==>=0", "光熱費=2", "食費=1", "食費=3"}));

    openPanel();
    while (panel().Combo3->currentIndex() < 3)
        QTest::keyClick(panel().Combo3, Qt::Key_Down);
    panel().Text3->setText(QStringLiteral("外食"));
    f.dialogs.expect(MessageKind::Ask, QStringLiteral("食費を外食に変更しますがいいですか？"));
    QTest::mouseClick(panel().Command6, Qt::LeftButton);
    EXPECT_EQ(categoryNames(), (QStringList{"光熱費=2", "外食=3", "食費=1"}));
}

TEST_F(CategoryEditingTest, ACategoryAddedWithNobodyRegisteredIsOfferedAtOnce) {
    open(false);
    openPanel();
    typeText(QStringLiteral("食費"));
    f.dialogs.expect(MessageKind::Warn, kRegisterAMember); // the rebuild still finds nobody
    QTest::mouseClick(panel().Command6, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(picker(), (QStringList{"追加==>=0", "食費=1"}));
}

TEST_F(CategoryEditingTest, CancelKeepsWhatWasTypedUntilTheNextOpening) {
    open();
    openPanel();
    pickByKeyboard(QStringLiteral("光熱費"));
    panel().Text3->setText(QStringLiteral("書きかけ"));
    QTest::mouseClick(panel().Command8, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(panel().Text3->text(), QStringLiteral("書きかけ"));
    EXPECT_EQ(panel().Combo3->currentText(), QStringLiteral("光熱費"));

    openPanel();
    EXPECT_EQ(panel().Combo3->currentIndex(), 0);
    EXPECT_TRUE(panel().Text3->text().isEmpty());
    EXPECT_FALSE(panel().Command7->isEnabled());
    EXPECT_EQ(categoriesIn(f.file).size(), 2u);
}

TEST_F(CategoryEditingTest, TheCategoryListsMenuOnlyCopiesAndLeavesTheAnchor) {
    open();
    clickRow(w().ListView1, 0, Qt::RightButton);
    w().SyuMenu->hide();
    const QPoint anchor = w().panelAnchor();
    clickRow(w().ListView3, 0, Qt::RightButton);
    EXPECT_TRUE(eventually([&] { return w().HinMenu->isVisible(); }));
    EXPECT_EQ(shownItems(w().HinMenu), QStringList{"ClipBoard3"});
    EXPECT_EQ(w().panelAnchor(), anchor);
    w().HinMenu->hide();
}

} // namespace
} // namespace sorakado::testing
