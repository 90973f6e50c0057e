// Which row the income and expense lists act on: only a row the user picked, never one that
// became current by itself when the keyboard focus came back to a list rebuilt without a
// selection; the menus with their separators; and the Menu key, which opens a list's menu for
// the picked row where a right press on it would.

#include "editing_support.h"

#include "ui/twips.h"

#include <QScreen>

namespace sorakado::testing {
namespace {

const QStringList kEntryMenuUnpicked{"MeiAdd",   "S2",        "KomoAdd", "MeiFind",
                                     "MeiTeiki", "MeiImport", "S3",      "ClipBoard2"};
const QStringList kEntryMenuPicked{"MeiAdd",  "MeiUp",    "MeiDel",    "S2", "KomoAdd",
                                   "MeiFind", "MeiTeiki", "MeiImport", "S3", "ClipBoard2"};
const QStringList kIncomeMenuUnpicked{"NameAdd", "S0", "S1", "ClipBoard1"};
const QStringList kIncomeMenuPicked{"NameAdd", "NameUp", "NameDel", "S0", "SyuUp", "S1", "ClipBoard1"};

class ListPickingTest : public ::testing::Test {
protected:
    void SetUp() override {
        seedFamily(f.file);
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }

    // Period selection and 更新: every list is rebuilt, and one whose last picked row was not a
    // record row is left with nothing selected.
    void rebuildFromThePeriodSelectors() {
        QTest::mouseClick(w().Command11, Qt::LeftButton);
        QTest::mouseClick(w().Command1, Qt::LeftButton);
        ASSERT_TRUE(w().inBrowseMode());
    }

    // Escape closes the menu; the keyboard goes back to the window, as a desktop hands it back.
    void dismiss(QMenu* menu) {
        ASSERT_TRUE(eventually([&] { return menu->isVisible(); }));
        QTest::keyClick(menu, Qt::Key_Escape);
        ASSERT_TRUE(eventually([&] { return !menu->isVisible(); }));
        w().activateWindow();
        ASSERT_TRUE(eventually([&] { return QGuiApplication::focusWindow() == w().windowHandle(); }));
        QCoreApplication::processEvents();
    }

    void doubleClickBelowRows(ui::ReportList* list) {
        const QPoint at(20, list->viewport()->height() - 5);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    WindowFixture f;
};

TEST_F(ListPickingTest, ARebuiltExpenseListOffersChangeAndDeleteOnlyForAnEntryTheUserPicks) {
    ui::ReportList* list = w().ListView2;
    clickRow(list, rowWithText(list, QStringLiteral("1月の合計出費")));
    rebuildFromThePeriodSelectors();
    ASSERT_EQ(list->currentRow(), -1);

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        rightClickBelowRows(list);
        EXPECT_EQ(shownItems(w().MeiMenu), kEntryMenuUnpicked);
        dismiss(w().MeiMenu);
        EXPECT_EQ(list->currentRow(), -1);
        EXPECT_TRUE(w().Label8->text().isEmpty());
    }
    // Deleting or changing from code paths that bypass the menu finds no entry either.
    w().Frame5->MeiDel_Click();
    w().Frame5->MeiUp_Click();
    EXPECT_FALSE(w().Frame5->isVisible());
    doubleClickBelowRows(list);
    EXPECT_FALSE(w().Frame5->isVisible());

    // Tab onto the list picks nothing; the arrow key is the user picking the first row.
    w().Command11->setFocus();
    QTest::keyClick(w().Command11, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->currentRow(), -1);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(w().Label8->text(), QStringLiteral("1"));
    rightClickBelowRows(list);
    EXPECT_EQ(shownItems(w().MeiMenu), kEntryMenuPicked);
    w().MeiMenu->hide();
    EXPECT_EQ(entriesIn(f.file, "2026/01").size(), 1u);
}

TEST_F(ListPickingTest, ARebuiltIncomeListOffersNameAndIncomeCommandsOnlyForAMemberTheUserPicks) {
    // The income list is full of rows, so the keyboard takes the place of a press below them.
    ui::ReportList* list = w().ListView1;
    clickRow(list, rowWithText(list, QStringLiteral("今月合計")));
    rebuildFromThePeriodSelectors();
    ASSERT_EQ(list->currentRow(), -1);
    QTest::keyClick(w().Command11, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), list);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        QTest::keyClick(list, Qt::Key_Menu);
        EXPECT_EQ(shownItems(w().SyuMenu), kIncomeMenuUnpicked);
        dismiss(w().SyuMenu);
        EXPECT_EQ(list->currentRow(), -1);
        EXPECT_TRUE(w().Label7->text().isEmpty());
    }
    w().Frame3->NameDel_Click();
    EXPECT_EQ(membersIn(f.file).size(), 1u);
}

TEST_F(ListPickingTest, AnEntryWhoseSelectionTheUserTookAwayIsNotActedOn) {
    ui::ReportList* list = w().ListView2;
    const int row = rowWithKey(list, 1);
    clickRow(list, row);
    ASSERT_EQ(list->currentRow(), row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(list, row));
    EXPECT_EQ(list->currentRow(), -1);
    QTest::keyClick(list, Qt::Key_Menu);
    EXPECT_EQ(shownItems(w().MeiMenu), kEntryMenuUnpicked);
    w().MeiMenu->hide();
}

TEST_F(ListPickingTest, TheIncomeMenuDrawsBothSeparatorLinesWithNobodyPicked) {
    rightClickBelowRows(w().ListView1);
    QMenu* menu = w().SyuMenu;
    ASSERT_TRUE(eventually([&] { return menu->isVisible(); }));
    QAction* s0 = nullptr;
    QAction* s1 = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->objectName() == QStringLiteral("S0"))
            s0 = a;
        if (a->objectName() == QStringLiteral("S1"))
            s1 = a;
    }
    ASSERT_TRUE(s0 && s1);
    const QRect add = menu->actionGeometry(w().NameAdd), line0 = menu->actionGeometry(s0),
                line1 = menu->actionGeometry(s1), copy = menu->actionGeometry(w().ClipBoard1);
    EXPECT_FALSE(line0.isEmpty());
    EXPECT_FALSE(line1.isEmpty());
    EXPECT_LT(add.bottom(), line0.top());
    EXPECT_LT(line0.bottom(), line1.top());
    EXPECT_LT(line1.bottom(), copy.top());
    menu->hide();
}

// The Menu key and Shift+F10 pop up the list's menu where a right press on the picked row pops
// it up, and set the panel anchor as that press does.
TEST_F(ListPickingTest, TheMenuKeysOpenTheListsMenuForThePickedRowWhereARightPressWould) {
    struct Case {
        ui::ReportList* list;
        QMenu* menu;
        int row;
        QKeyCombination key;
        QStringList items;
        QPoint anchorOffset; // twips added to the press position, or none for ListView3
        bool setsAnchor;
    };
    const std::vector<Case> cases{
        {w().ListView2, w().MeiMenu, rowWithKey(w().ListView2, 1), QKeyCombination(Qt::Key_Menu),
         kEntryMenuPicked, QPoint(3960, 1605), true},
        {w().ListView1, w().SyuMenu, rowWithKey(w().ListView1, 1), Qt::ShiftModifier | Qt::Key_F10,
         kIncomeMenuPicked, QPoint(0, 1605), true},
        {w().ListView3, w().HinMenu, 0, QKeyCombination(Qt::Key_Menu), QStringList{"ClipBoard3"}, QPoint(),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list->objectName().toStdString());
        // Where a right press on the row puts the menu and the anchor.
        clickRow(c.list, c.row, Qt::RightButton);
        ASSERT_TRUE(eventually([&] { return c.menu->isVisible(); }));
        const QPoint pressAnchor = w().panelAnchor();
        c.menu->hide();

        w().Frame5->showAt(QPoint(6000, 4500)); // an open panel closes as with a press
        c.list->setFocus();
        QTest::keyClick(c.list, c.key.key(), c.key.keyboardModifiers());
        ASSERT_TRUE(eventually([&] { return c.menu->isVisible(); }));
        EXPECT_FALSE(w().Frame5->isVisible());
        EXPECT_EQ(shownItems(c.menu), c.items);
        const QPoint rowPoint = c.list->menuPointTwips(c.row);
        const QPoint globalRow = c.list->mapToGlobal(ui::pointTw(rowPoint.x(), rowPoint.y()));
        if (c.list->screen()->geometry().contains(QRect(globalRow, c.menu->size()))) {
            EXPECT_EQ(c.menu->pos(), globalRow); // where it fits, not pushed back onto the screen
        }
        EXPECT_TRUE(c.list->rowRect(c.row).contains(c.list->viewport()->mapFromGlobal(globalRow)));
        if (c.setsAnchor)
            EXPECT_EQ(w().panelAnchor(), rowPoint + c.anchorOffset);
        else
            EXPECT_EQ(w().panelAnchor(), pressAnchor);
        c.menu->hide();
    }

    // A panel opened from the keyboard's menu lands beside the row, as from a right press.
    ui::ReportList* list = w().ListView2;
    clickRow(list, rowWithKey(list, 1));
    QTest::keyClick(list, Qt::Key_Menu);
    choose(w().MeiMenu, w().MeiUp);
    ASSERT_TRUE(w().Frame5->isVisible());
    const QPoint rowPoint = list->menuPointTwips(rowWithKey(list, 1));
    EXPECT_EQ(w().Frame5->pos(), ui::pointTw(rowPoint.x() + 3960, rowPoint.y() + 1605));
}

TEST_F(ListPickingTest, TheMenuKeyWithNoRowPickedOffersOnlyWhatNeedsNoRow) {
    rebuildFromThePeriodSelectors(); // nothing picked in a freshly loaded window either
    ui::ReportList* list = w().ListView2;
    list->setFocus();
    ASSERT_EQ(list->currentRow(), -1);
    QTest::keyClick(list, Qt::Key_Menu);
    ASSERT_TRUE(eventually([&] { return w().MeiMenu->isVisible(); }));
    EXPECT_EQ(shownItems(w().MeiMenu), kEntryMenuUnpicked);
    w().MeiMenu->hide();
}

} // namespace
} // namespace sorakado::testing
