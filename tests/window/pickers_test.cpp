// The period pickers read whole: every year and month in their open lists, and in their boxes,
// at the fonts the window was laid out in.

#include "window_support.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>

#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

// The pixels a line edit needs to show text without scrolling it: the text, the two pixels Qt
// keeps on each side of it, its own text margins and the cursor after the last character.
int lineEditNeeds(const QLineEdit* edit, const QString& text) {
    const QMargins m = edit->textMargins();
    return edit->fontMetrics().horizontalAdvance(text) + 4 + m.left() + m.right() +
           edit->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, edit);
}

struct PickersTest : ::testing::Test {
    void SetUp() override {
        seedFamily(f.file);
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
        QTest::mouseClick(f.w().Command11, Qt::LeftButton); // period selection: Combo1's list drops open
    }

    // Every item of the open list of picker shows its whole text.
    void expectOpenListShowsEveryItemWhole(ui::DropDown* picker) {
        SCOPED_TRACE(picker->objectName().toStdString());
        QAbstractItemView* list = picker->view();
        if (!list->isVisible())
            picker->showPopup();
        ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }, 5000));
        const QFontMetrics metrics(list->font());
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        const int shownWidth = list->viewport()->width();
        for (int i = 0; i < picker->count(); ++i) {
            const QModelIndex index = list->model()->index(i, picker->modelColumn());
            list->scrollTo(index); // the list opens at the shown year, scrolled part way down
            const QRect cell = list->visualRect(index).intersected(QRect(0, 0, shownWidth, INT_MAX));
            const QString text = picker->itemText(i);
            EXPECT_GE(cell.width(), metrics.horizontalAdvance(text) + 2 * margin)
                << text.toStdString() << " in a list " << shownWidth << " pixels wide";
        }
        picker->hidePopup();
    }

    WindowFixture f;
};

TEST_F(PickersTest, TheOpenYearAndMonthListsShowEveryItemWhole) {
    ASSERT_EQ(f.w().Combo1->count(), 27); // 2000 to 2026
    expectOpenListShowsEveryItemWhole(f.w().Combo1);
    expectOpenListShowsEveryItemWhole(f.w().Combo2);
    // The lists open where the boxes are, only wider.
    f.w().Combo2->showPopup();
    QWidget* popup = f.w().Combo2->view()->window();
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 5000));
    EXPECT_EQ(popup->x(), f.w().Combo2->mapToGlobal(QPoint(0, 0)).x());
    EXPECT_GE(popup->width(), f.w().Combo2->width());
    f.w().Combo2->hidePopup();
}

TEST_F(PickersTest, TheBoxesShowEveryYearAndMonthWholeWithoutScrolling) {
    for (ui::DropDown* picker : {f.w().Combo1, f.w().Combo2}) {
        SCOPED_TRACE(picker->objectName().toStdString());
        picker->hidePopup();
        QLineEdit* edit = picker->lineEdit();
        ASSERT_NE(edit, nullptr);
        for (int i = 0; i < picker->count(); ++i) {
            const QString text = picker->itemText(i);
            EXPECT_GE(edit->width(), lineEditNeeds(edit, text)) << text.toStdString();
        }
        // The box's edge stays where it was laid out; only the arrow button gave up width.
        EXPECT_LE(picker->mapTo(&f.w(), edit->geometry().topRight()).x(),
                  picker->mapTo(&f.w(), QPoint(picker->width() - 1, 0)).x());
    }
}

} // namespace
} // namespace sorakado::testing
