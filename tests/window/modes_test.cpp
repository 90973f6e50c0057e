// Browse mode and period selection mode, the clicks that close the edit panels, and the panel
// anchor set by a right press in the income and expense lists.

#include "window_support.h"

#include "ui/twips.h"

#include <QMenu>

#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

// The window loaded over a seeded ledger, shown and active.
class ModesTest : public ::testing::Test {
protected:
    void SetUp() override {
        seedFamily(f.file);
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }

    void expectBrowseMode() {
        Form1& w = f.w();
        EXPECT_FALSE(w.Frame1->isEnabled());
        EXPECT_TRUE(w.Command11->isVisible());
        for (auto* list : {w.ListView1, w.ListView2, w.ListView3})
            EXPECT_TRUE(list->isEnabled()) << list->objectName().toStdString();
        EXPECT_TRUE(w.inBrowseMode());
    }

    void expectPeriodSelectionMode() {
        Form1& w = f.w();
        EXPECT_TRUE(w.Frame1->isEnabled());
        EXPECT_FALSE(w.Command11->isVisible());
        for (auto* list : {w.ListView1, w.ListView2, w.ListView3})
            EXPECT_FALSE(list->isEnabled()) << list->objectName().toStdString();
        EXPECT_FALSE(w.inBrowseMode());
    }

    void hideMenus() {
        for (QMenu* m : {f.w().SyuMenu, f.w().MeiMenu, f.w().HinMenu})
            m->hide();
    }

    WindowFixture f;
};

TEST_F(ModesTest, StartsInBrowseModeWithTheFocusOnThePictureButton) {
    expectBrowseMode();
    EXPECT_FALSE(anyPanelOpen(f.w()));
    EXPECT_TRUE(focusIn(f.w().Command11)) << focusName().toStdString();
}

TEST_F(ModesTest, PictureButtonSwitchesToPeriodSelectionClosingPanelsAndKeepingTheirTexts) {
    Form1& w = f.w();
    w.Frame5->showAt(QPoint(6000, 4500));
    w.Frame5->Text4->setText(QStringLiteral("書きかけ"));
    QTest::mouseClick(w.Command11, Qt::LeftButton);
    expectPeriodSelectionMode();
    EXPECT_FALSE(anyPanelOpen(w));
    EXPECT_TRUE(focusIn(w.Combo1)) << focusName().toStdString();
    EXPECT_EQ(w.Frame5->Text4->text(), QStringLiteral("書きかけ"));
}

TEST_F(ModesTest, SuccessfulRebuildReturnsToBrowseModeWithFocusOnThePictureButton) {
    Form1& w = f.w();
    w.Command11_Click();
    w.Command1_Click();
    expectBrowseMode();
    EXPECT_TRUE(focusIn(w.Command11)) << focusName().toStdString();
}

TEST_F(ModesTest, TabInBrowseModeWalksThePictureButtonAndTheThreeLists) {
    Form1& w = f.w();
    w.Command11->setFocus();
    QStringList visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusName();
    }
    EXPECT_EQ(visited.join(u' ').toStdString(), "ListView1 ListView2 ListView3 Command11");
}

struct ClosingClick {
    const char* name;         // empty: the window itself
    std::optional<QPoint> at; // inside the control; its centre when not given
    bool closes;
};

// Clicks in period selection mode, so that Frame1 itself can be reached, each with Frame2 open
// over the expense list.
void runClicks(Form1& w, const std::vector<ClosingClick>& clicks) {
    w.Command11_Click();
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.name);
        QWidget* target = *c.name ? w.findChild<QWidget*>(QString::fromLatin1(c.name)) : &w;
        ASSERT_NE(target, nullptr);
        const QPoint at = c.at.value_or(target->rect().center());
        ASSERT_EQ(w.childAt(target->mapTo(&w, at)), target == &w ? nullptr : target)
            << "would land elsewhere";
        w.Frame2->showAt(QPoint(6000, 4500));
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
        EXPECT_EQ(w.Frame2->isVisible(), !c.closes);
    }
}

TEST_F(ModesTest, ClicksOnSelectorFrameStatusPanelAndHeadingsCloseThePanels) {
    runClicks(f.w(), {{"Frame1", QPoint(120, 60), true},
                      {"Label2", {}, true},
                      {"Label3", {}, true},
                      {"Frame6", QPoint(240, 30), true},
                      {"Label1", QPoint(20, 10), true},
                      {"Label4", QPoint(20, 10), true},
                      {"Label5", QPoint(20, 10), true},
                      {"Label16", {}, false},
                      {"Label17", {}, false},
                      {"Label18", {}, false},
                      {"Label27", {}, false},
                      {"Image1", {}, false},
                      {"", QPoint(254, 30), false}});
}

// Fault: a click on a label inside Frame6 propagates to Frame6 (QLabel ignores the press), so
// Only the status panel's own area closes the panels, not the figures in it.
TEST_F(ModesTest, ClicksOnTheStatusFiguresLeaveThePanelsOpen) {
    runClicks(
        f.w(),
        {{"Label19", {}, false}, {"Label20", {}, false}, {"Label23", {}, false}, {"Label25", {}, false}});
}

TEST_F(ModesTest, PickingAMonthWithTheArrowKeyClosesPanelsWithoutARebuild) {
    Form1& w = f.w();
    w.Command11_Click();
    const WindowContents before = contentsOf(w);
    w.Combo2->setFocus();
    w.Frame2->showAt(QPoint(6000, 4500));
    const int index = w.Combo2->currentIndex();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_FALSE(anyPanelOpen(w));
    EXPECT_EQ(w.Combo2->currentIndex(), index + 1);
    EXPECT_EQ(w.Combo2->currentText(), w.Combo2->itemText(index + 1));
    EXPECT_EQ(contentsOf(w), before);
    expectPeriodSelectionMode();
}

struct ListPress {
    const char* name;
    ui::ReportList* Form1::*list;
    QMenu* Form1::*menu;
    bool movesAnchor;
    QPoint offsetTwips; // added to the press position (twips of the list) to give the anchor
};

// One list after the other, so the category list's press follows the expense list's.
TEST_F(ModesTest, PressInAListClosesPanelsAndARightPressSetsTheAnchorAndPopsUpItsMenu) {
    Form1& w = f.w();
    const std::vector<ListPress> presses{
        {"ListView1", &Form1::ListView1, &Form1::SyuMenu, true, {0, 1605}},
        {"ListView2", &Form1::ListView2, &Form1::MeiMenu, true, {3960, 1605}},
        {"ListView3", &Form1::ListView3, &Form1::HinMenu, false, {}}};
    for (const auto& p : presses) {
        SCOPED_TRACE(p.name);
        ui::ReportList* list = w.*p.list;
        const QPoint inViewport(37, 52);
        const QPoint inList = list->viewport()->mapTo(list, inViewport);

        // Any button closes the panels; the left button shows no menu and leaves the anchor.
        w.Frame4->showAt(QPoint(ui::twips(list->x() + 60), 9000));
        const QPoint before = w.panelAnchor();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, inViewport);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, inViewport);
        EXPECT_FALSE(anyPanelOpen(w));
        EXPECT_FALSE((w.*p.menu)->isVisible());
        EXPECT_EQ(w.panelAnchor(), before);

        w.Frame4->showAt(QPoint(ui::twips(list->x() + 60), 9000));
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, inViewport);
        EXPECT_FALSE(anyPanelOpen(w));
        EXPECT_TRUE((w.*p.menu)->isVisible());
        if (p.movesAnchor)
            EXPECT_EQ(w.panelAnchor(), QPoint(ui::twips(inList.x()), ui::twips(inList.y())) + p.offsetTwips);
        else
            EXPECT_EQ(w.panelAnchor(), before);
        hideMenus();
        QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, inViewport);
    }
}

TEST_F(ModesTest, ListsTakeNoPressInPeriodSelectionMode) {
    Form1& w = f.w();
    w.Command11_Click();
    const QPoint before = w.panelAnchor();
    QTest::mousePress(w.ListView1->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_FALSE(w.SyuMenu->isVisible());
    EXPECT_EQ(w.panelAnchor(), before);
    hideMenus();
}

} // namespace
} // namespace sorakado::testing
