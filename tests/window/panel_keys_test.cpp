// Keys in the edit panels beyond Enter: Escape leaves a panel as its cancel button does, the OK
// button reached by the Enter chain shows its focus; and the whole text of a cut-off list
// cell as its tooltip.

#include "editing_support.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QHelpEvent>
#include <QInputMethodQueryEvent>
#include <QToolTip>

namespace sorakado::testing {
namespace {

class PanelKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        seedFamily(f.file);
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }

    WindowFixture f;
};

TEST_F(PanelKeysTest, EscapeInAnyInputOfAnOpenPanelClosesItAsItsCancelButtonDoes) {
    struct Case {
        const char* name;
        ui::ReportList* list;
        QMenu* menu;
        QAction* item;
        QWidget* panel;
        std::vector<QWidget*> inputs;
    };
    editing::EntryPanel* entry = w().Frame5;
    const std::vector<Case> cases{
        {"member", w().ListView1, w().SyuMenu, w().NameAdd, w().Frame3,
         std::vector<QWidget*>{w().Frame3->Text2, w().Frame3->Command4, w().Frame3->Command5}},
        {"income", w().ListView1, w().SyuMenu, w().SyuUp, w().Frame2,
         std::vector<QWidget*>{w().Frame2->Text1, w().Frame2->Command2}},
        {"category", w().ListView2, w().MeiMenu, w().KomoAdd, w().Frame4,
         std::vector<QWidget*>{w().Frame4->Combo3, w().Frame4->Text3, w().Frame4->Command6}},
        {"entry", w().ListView2, w().MeiMenu, w().MeiAdd, entry,
         std::vector<QWidget*>{entry->DTPicker1, entry->Combo4, entry->Text4, entry->Text5, entry->Command9}},
    };
    const auto before = contentsOf(w());
    for (const Case& c : cases) {
        for (QWidget* input : c.inputs) {
            SCOPED_TRACE(std::string(c.name) + " " + input->objectName().toStdString());
            clickRow(c.list, 0, Qt::RightButton); // the first row: a member, an entry
            choose(c.menu, c.item);
            ASSERT_TRUE(c.panel->isVisible());
            input->setFocus();
            auto* combo = qobject_cast<QComboBox*>(input);
            if (combo)
                combo->hidePopup();
            QWidget* target = QApplication::focusWidget();
            ASSERT_TRUE(target != nullptr && (target == input || input->isAncestorOf(target)));
            QTest::keyClick(target, Qt::Key_Escape);
            EXPECT_FALSE(c.panel->isVisible());
        }
    }
    EXPECT_EQ(contentsOf(w()), before);

    // With the category list dropped open, Escape closes the list first, then the panel.
    clickRow(w().ListView2, 0, Qt::RightButton);
    choose(w().MeiMenu, w().MeiAdd);
    pressEnter(); // date → category, whose list drops open
    ASSERT_TRUE(eventually([&] { return entry->Combo4->view()->isVisible(); }));
    QTest::keyClick(entry->Combo4->view(), Qt::Key_Escape);
    EXPECT_TRUE(eventually([&] { return !entry->Combo4->view()->isVisible(); }));
    EXPECT_TRUE(entry->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(entry->isVisible());
}

TEST_F(PanelKeysTest, TheOkButtonReachedByEnterShowsItsFocus) {
    clickRow(w().ListView1, rowWithKey(w().ListView1, 1), Qt::RightButton);
    choose(w().SyuMenu, w().NameUp);
    editing::MemberPanel* panel = w().Frame3;
    ASSERT_TRUE(focusIn(panel->Text2));
    const QImage unfocused = panel->Command4->grab().toImage();
    pressEnter();
    ASSERT_TRUE(focusIn(panel->Command4)) << focusName().toStdString();
    const QImage focused = panel->Command4->grab().toImage();
    EXPECT_NE(focused, unfocused) << "the focused OK button looks like any other";
    panel->hide();
}

// What an input method (IBus with Mozc, say) is told when it asks whether the focused control
// takes composed text, as Qt's input contexts ask before passing it any key.
bool inputMethodAccepted() {
    QObject* focus = QGuiApplication::focusObject();
    if (!focus)
        return false;
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(focus, &query);
    return query.value(Qt::ImEnabled).toBool();
}

TEST_F(PanelKeysTest, AmountBoxesTakeDirectInputOnlyNameAndDescriptionBoxesTakeComposition) {
    const std::vector<std::pair<QWidget*, bool>> boxes{
        {w().Frame3->Text2, true},      {w().Frame4->Text3, true},  {w().Frame5->Text4, true},
        {w().Frame5->DTPicker1, false}, {w().Frame5->Text5, false}, {w().Frame2->Text1, false}};
    // In the order a user meets them, so an amount box follows a box that was composing.
    for (const auto& [box, composes] : boxes) {
        SCOPED_TRACE(box->objectName().toStdString());
        auto* panel = static_cast<editing::EditPanel*>(box->parentWidget());
        panel->showAt(QPoint(600, 2000));
        box->setFocus();
        ASSERT_EQ(QGuiApplication::focusObject(), box);
        EXPECT_EQ(inputMethodAccepted(), composes);
        panel->hide();
    }
}

// The tooltip a cell shows when the pointer rests on it; empty when none.
QString tooltipAt(ui::ReportList* list, int row, int column) {
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000))
        return QStringLiteral("(the last tooltip stayed)");
    const QRect cell = list->visualRect(list->model()->index(row, column));
    const QPoint at = cell.center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST_F(PanelKeysTest, ACellWhoseTextIsCutOffShowsItWholeAsItsTooltip) {
    const QString longText = QStringLiteral("町内会の秋祭りの寄付とお供え物と子ども会の会費");
    {
        Ledger l = f.file.open();
        addEntry(l, "2026/01/11", 1, longText.toStdString(), yen(1234567));
    }
    w().Command1_Click();
    ui::ReportList* list = w().ListView2;
    const int row = rowWithText(list, QStringLiteral("2026/01/11(日)"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(tooltipAt(list, row, 2), longText);
    EXPECT_TRUE(tooltipAt(list, row, 1).isEmpty()) << "食費 fits its column";
    EXPECT_TRUE(tooltipAt(list, row, 3).isEmpty()) << "the amount fits its column";

    // Narrowed by the user, a column's cut-off amounts show whole too.
    list->header()->resizeSection(3, 30);
    EXPECT_EQ(tooltipAt(list, row, 3), QStringLiteral("\\1234567"));
    QToolTip::hideText();
}

} // namespace
} // namespace sorakado::testing
