// Undo and redo through the real window: the keys, the history's menu items (shown only with a
// step, named after it), the month and record shown after an undo, the keys left to text boxes
// and panels, a refused undo, and an undo after the window was closed and opened again.

#include "editing_support.h"

#include "shell/history_menu.h"
#include "store/history.h"
#include "store/testing/history_cases.h"

namespace sorakado::testing {
namespace {

const QStringList kMeiMenuOnEntry{"MeiAdd",  "MeiUp",    "MeiDel",    "S2", "KomoAdd",
                                  "MeiFind", "MeiTeiki", "MeiImport", "S3", "ClipBoard2"};
const QStringList kHinMenu{"ClipBoard3"};

class HistoryWindowTest : public ::testing::Test {
protected:
    // seedFamily: 太郎 (1), 食費 (1), entry 1 on 2026/01/10 食費 米 2000, entry 2 on 2006/04/05.
    void open() {
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key(k), modifiers);
    }
    void showMonth(const QString& year, const QString& month) {
        w().Combo1->setEditText(year);
        w().Combo2->setEditText(month);
        w().Command1_Click();
    }
    QStringList menuOn(ui::ReportList* list, QMenu* menu) {
        rightClickBelowRows(list);
        const QStringList shown = shownItems(menu);
        menu->hide();
        return shown;
    }

    WindowFixture f;
};

TEST_F(HistoryWindowTest, MenusAreAsDesignedUntilTheHistoryHasAStepThenNameIt) {
    seedFamily(f.file);
    open();
    EXPECT_EQ(menuOn(w().ListView1, w().SyuMenu), QStringList({"NameAdd", "S0", "S1", "ClipBoard1"}));
    EXPECT_EQ(menuOn(w().ListView2, w().MeiMenu), QStringList({"MeiAdd", "S2", "KomoAdd", "MeiFind",
                                                               "MeiTeiki", "MeiImport", "S3", "ClipBoard2"}));
    EXPECT_EQ(menuOn(w().ListView3, w().HinMenu), kHinMenu);

    writes::deleteEntry(*w().ledger(), 1);
    w().Command1_Click();
    EXPECT_EQ(menuOn(w().ListView3, w().HinMenu), QStringList({"ClipBoard3", "S6", "HinUndo"}));
    EXPECT_EQ(w().HinUndo->text(), QStringLiteral("元に戻す - 明細削除 (01/10 食費 \\2000)　Ctrl+Z"));
    EXPECT_EQ(menuOn(w().ListView1, w().SyuMenu),
              QStringList({"NameAdd", "S0", "S1", "ClipBoard1", "S4", "SyuUndo"}));

    // Chosen from the menu it undoes and picks the entry back; then only the redo item is left.
    rightClickBelowRows(w().ListView2);
    choose(w().MeiMenu, w().MeiUndo);
    EXPECT_EQ(entriesIn(f.file, "2026/01").size(), 1u);
    EXPECT_EQ(w().Label8->text(), QStringLiteral("1"));
    EXPECT_EQ(menuOn(w().ListView2, w().MeiMenu), kMeiMenuOnEntry + QStringList({"S5", "MeiRedo"}));
    EXPECT_EQ(w().MeiRedo->text(), QStringLiteral("やり直し - 明細削除 (01/10 食費 \\2000)　Ctrl+Y"));
    EXPECT_EQ(shell::undoCaption("品目削除 (食費、明細2件)"),
              QStringLiteral("元に戻す - 品目削除 (食費、明細2件)　Ctrl+Z"));
}

TEST_F(HistoryWindowTest, TheKeysUndoAndRedoShowTheStepsMonthAndPickTheRecord) {
    seedFamily(f.file);
    open();
    writes::deleteEntry(*w().ledger(), 2); // April 2006
    writes::setMonthIncome(*w().ledger(), 1, "2026/01", yen(5));
    w().Command1_Click();
    ASSERT_TRUE(focusIn(w().Command11));

    key(Qt::Key_Z);
    EXPECT_EQ(incomesIn(f.file, "2026/01").at(0).amount, yen(300000));
    EXPECT_EQ(w().ListView1->currentRow(), rowWithKey(w().ListView1, 1));
    EXPECT_TRUE(w().inBrowseMode());

    w().ListView2->setFocus();
    key(Qt::Key_Z);
    EXPECT_EQ(w().Combo1->currentText(), QStringLiteral("2006"));
    EXPECT_EQ(w().Combo2->currentText(), QStringLiteral("04"));
    ASSERT_GE(rowWithKey(w().ListView2, 2), 0);
    EXPECT_EQ(w().ListView2->currentRow(), rowWithKey(w().ListView2, 2));
    EXPECT_EQ(w().Label8->text(), QStringLiteral("2"));
    key(Qt::Key_Z); // nothing left: nothing happens, nothing is said
    EXPECT_EQ(entriesIn(f.file, "2006/04").size(), 1u);

    showMonth(QStringLiteral("2026"), QStringLiteral("01"));
    key(Qt::Key_Y);
    EXPECT_EQ(w().Combo2->currentText(), QStringLiteral("04"));
    EXPECT_EQ(rowWithKey(w().ListView2, 2), -1);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(incomesIn(f.file, "2026/01").at(0).amount, yen(5));
    EXPECT_EQ(w().Combo1->currentText(), QStringLiteral("2026"));
}

TEST_F(HistoryWindowTest, TextBoxesAndPanelsKeepTheKeysAndAStaleStepIsRefused) {
    seedFamily(f.file);
    open();
    writes::changeEntry(*w().ledger(), 1, {"2026/01/10", 1, "米", yen(2500)});
    w().Command1_Click();

    // Period selection: the year box has the keyboard.
    QTest::mouseClick(w().Command11, Qt::LeftButton);
    ASSERT_TRUE(focusIn(w().Combo1));
    key(Qt::Key_Z);
    w().Command1_Click();
    // An edit panel open from the menu.
    rightClickBelowRows(w().ListView2);
    choose(w().MeiMenu, w().MeiAdd);
    ASSERT_TRUE(w().Frame5->isVisible());
    key(Qt::Key_Z);
    EXPECT_EQ(entriesIn(f.file, "2026/01").at(0).amount, yen(2500));
    w().Command1_Click();

    anotherProgramSetsEntryAmount(f.file.path(), 1, 7);
    f.dialogs.expect(MessageKind::Warn, QString::fromUtf8(history::kUndoConflict));
    w().ListView2->setFocus();
    key(Qt::Key_Z);
    EXPECT_EQ(entriesIn(f.file, "2026/01").at(0).amount, yen(7));
    Ledger l = f.file.open();
    EXPECT_TRUE(history::nextUndo(l).has_value()) << "the refused step stays";
}

TEST_F(HistoryWindowTest, AChangeIsUndoneAfterTheWindowIsClosedAndOpenedAgain) {
    seedFamily(f.file);
    open();
    writes::deleteCategory(*w().ledger(), 1);
    w().close();
    f.window.reset();

    open();
    EXPECT_EQ(rowWithKey(w().ListView2, 1), -1);
    w().ListView2->setFocus();
    key(Qt::Key_Z);
    EXPECT_EQ(entriesIn(f.file, "2026/01").size(), 1u);
    EXPECT_EQ(entriesIn(f.file, "2006/04").size(), 1u);
    EXPECT_GE(rowWithKey(w().ListView2, 1), 0);
    Ledger l = f.file.open();
    EXPECT_TRUE(l.monthSumDifferences().empty());
}

} // namespace
} // namespace sorakado::testing
