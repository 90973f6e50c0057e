// Where the edit panels open: at the point of the right press (or the row of the menu key), and
// moved just so far left and up that the whole panel lies inside the window, from every corner
// of the income and the expense list.

#include "editing_support.h"

#include "ui/twips.h"

#include <QHeaderView>

namespace sorakado::testing {
namespace {

// Enough members and entries that the lists scroll: each corner of a list lies on a row.
void seedFullMonth(const TempLedger& file) {
    Ledger l = file.open();
    const auto food = addCategory(l, "食費");
    addCategory(l, "光熱費");
    for (int i = 0; i < 60; ++i) {
        const auto member = addMember(l, "家族" + std::to_string(i));
        addIncome(l, member, "2026/01", yen(1000 + i));
        addEntry(l, "2026/01/" + std::string(i < 9 ? "0" : "") + std::to_string(i % 28 + 1), food,
                 "品" + std::to_string(i), yen(100 + i));
    }
}

struct Opening {
    const char* what;
    ui::ReportList* list;
    QMenu* menu;
    QAction* item;
    QWidget* panel;
};

TEST(PanelPlacement, EveryPanelOpensAtItsAnchorOrJustInsideTheWindowFromEachCornerOfItsList) {
    WindowFixture f;
    seedFullMonth(f.file);
    f.load();
    ASSERT_TRUE(f.loaded);
    ASSERT_TRUE(showActive(f.w()));
    Form1& w = f.w();

    const std::vector<Opening> openings{
        {"名前追加", w.ListView1, w.SyuMenu, w.NameAdd, w.Frame3},
        {"収入入力", w.ListView1, w.SyuMenu, w.SyuUp, w.Frame2},
        {"明細入力", w.ListView2, w.MeiMenu, w.MeiAdd, w.Frame5},
        {"明細変更", w.ListView2, w.MeiMenu, w.MeiUp, w.Frame5},
        {"品目編集", w.ListView2, w.MeiMenu, w.KomoAdd, w.Frame4},
    };
    int moved = 0;
    for (const Opening& o : openings) {
        // The corners of the rows: past the last column a press picks no row.
        const QRect viewport = o.list->viewport()->rect();
        const QRect area =
            QRect(0, 0, std::min(viewport.width(), o.list->header()->length()), viewport.height())
                .adjusted(3, 3, -3, -3);
        for (QPoint corner : {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
            SCOPED_TRACE(std::string(o.what) + " at " + std::to_string(corner.x()) + "," +
                         std::to_string(corner.y()));
            QTest::mouseClick(o.list->viewport(), Qt::RightButton, {}, corner);
            choose(o.menu, o.item);
            ASSERT_TRUE(o.panel->isVisible());
            const QRect panel = o.panel->geometry();
            EXPECT_TRUE(w.rect().contains(panel))
                << panel.x() << "," << panel.y() << " " << panel.width() << "x" << panel.height();
            // At the anchor where it fits there; else flush with the edge it would cross.
            const QPoint anchor = ui::pointTw(w.panelAnchor().x(), w.panelAnchor().y());
            if (anchor.x() + panel.width() <= w.width())
                EXPECT_EQ(panel.x(), anchor.x());
            else
                EXPECT_EQ(panel.right(), w.rect().right());
            if (anchor.y() + panel.height() <= w.height())
                EXPECT_EQ(panel.y(), anchor.y());
            else
                EXPECT_EQ(panel.bottom(), w.rect().bottom());
            moved += panel.topLeft() != anchor;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            ASSERT_TRUE(eventually([&] { return !o.panel->isVisible(); }));
        }
    }
    EXPECT_GT(moved, 0) << "no corner needed the panel moved: the check above proved nothing";
}

} // namespace
} // namespace sorakado::testing
