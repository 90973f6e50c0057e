// Where the keyboard goes after a panel's OK or cancel and after a delete: back to the list the
// panel came from, on the record just written (on no row once it is deleted), and the list that
// has the keyboard shows it.

#include "editing_support.h"

#include <QDateEdit>

namespace sorakado::testing {
namespace {

class PanelFocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        seedFamily(f.file); // 太郎 (1); 食費 (1), 光熱費 (2); entry 1 in 2026/01
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }

    // The list's own pixel at its viewport's left edge, halfway down: where its frame is drawn.
    static QRgb edgePixel(ui::ReportList* list) {
        const QImage image = list->viewport()->grab().toImage();
        return image.pixel(0, image.height() / 2);
    }

    void expectOn(ui::ReportList* list, int row) {
        EXPECT_TRUE(eventually([&] { return list->hasFocus(); })) << "focus on " << focusName().toStdString();
        EXPECT_EQ(list->currentRow(), row);
    }

    WindowFixture f;
};

TEST_F(PanelFocusTest, TheEntryPanelHandsTheKeyboardBackToTheExpenseListOnTheEntryItWrote) {
    rightClickBelowRows(w().ListView2);
    choose(w().MeiMenu, w().MeiAdd);
    auto* panel = w().Frame5;
    panel->Combo4->setCurrentIndex(panel->Combo4->findText(QStringLiteral("光熱費")));
    panel->Text5->setText(QStringLiteral("777"));
    QTest::mouseClick(panel->Command9, Qt::LeftButton);
    ASSERT_FALSE(panel->isVisible());
    const auto entries = entriesIn(f.file, "2026/01");
    ASSERT_EQ(entries.size(), 2u);
    const std::int64_t added = std::max(entries[0].key, entries[1].key);
    expectOn(w().ListView2, rowWithKey(w().ListView2, added));
    EXPECT_EQ(w().Label8->text(), QString::number(added)) << "the menu would act on it";

    // Changed from the menu and cancelled with Escape: back on the same entry.
    clickRow(w().ListView2, rowWithKey(w().ListView2, 1), Qt::RightButton);
    choose(w().MeiMenu, w().MeiUp);
    ASSERT_TRUE(panel->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_FALSE(panel->isVisible());
    expectOn(w().ListView2, rowWithKey(w().ListView2, 1));

    // Changed and written: on the entry, wherever the new date puts it.
    clickRow(w().ListView2, rowWithKey(w().ListView2, 1), Qt::RightButton);
    choose(w().MeiMenu, w().MeiUp);
    panel->DTPicker1->setDate(QDate(2026, 1, 28));
    QTest::mouseClick(panel->Command9, Qt::LeftButton);
    expectOn(w().ListView2, rowWithKey(w().ListView2, 1));

    // Deleted: the list keeps the keyboard, on no row, so no key acts on another record.
    f.dialogs.expectContaining(MessageKind::Ask, QStringLiteral("を削除しますか？"));
    clickRow(w().ListView2, rowWithKey(w().ListView2, added), Qt::RightButton);
    choose(w().MeiMenu, w().MeiDel);
    expectOn(w().ListView2, -1);
    EXPECT_TRUE(w().Label8->text().isEmpty());
    EXPECT_TRUE(w().Label7->text().isEmpty()) << "no member was picked on the way";
}

TEST_F(PanelFocusTest, TheMemberAndIncomePanelsAndTheCategoryPanelHandItBackToTheirList) {
    clickRow(w().ListView1, rowWithKey(w().ListView1, 1), Qt::RightButton);
    choose(w().SyuMenu, w().SyuUp);
    w().Frame2->Text1->setText(QStringLiteral("5000"));
    QTest::mouseClick(w().Frame2->Command2, Qt::LeftButton);
    expectOn(w().ListView1, rowWithKey(w().ListView1, 1));

    rightClickBelowRows(w().ListView1);
    choose(w().SyuMenu, w().NameAdd);
    w().Frame3->Text2->setText(QStringLiteral("花子"));
    QTest::mouseClick(w().Frame3->Command4, Qt::LeftButton);
    expectOn(w().ListView1, rowWithText(w().ListView1, QStringLiteral("花子")));

    f.dialogs.expect(MessageKind::Ask, QStringLiteral("花子 削除しますか？"));
    clickRow(w().ListView1, rowWithText(w().ListView1, QStringLiteral("花子")), Qt::RightButton);
    choose(w().SyuMenu, w().NameDel);
    expectOn(w().ListView1, -1);

    // The category panel is opened from the expense list's menu and goes back there.
    rightClickBelowRows(w().ListView2);
    choose(w().MeiMenu, w().KomoAdd);
    w().Frame4->Text3->setText(QStringLiteral("雑費"));
    QTest::mouseClick(w().Frame4->Command6, Qt::LeftButton);
    expectOn(w().ListView2, -1);
}

TEST_F(PanelFocusTest, TheListWithTheKeyboardIsFramedInTheHighlightColourAndTheOthersAreNot) {
    const QRgb highlight = w().palette().color(QPalette::Active, QPalette::Highlight).rgb();
    w().ListView2->setFocus();
    ASSERT_TRUE(eventually([&] { return w().ListView2->hasFocus(); }));
    ASSERT_EQ(w().ListView2->currentRow(), -1) << "framed with no row picked too";
    EXPECT_EQ(edgePixel(w().ListView2), highlight);
    EXPECT_NE(edgePixel(w().ListView1), highlight);
    EXPECT_NE(edgePixel(w().ListView3), highlight);

    w().ListView1->setFocus();
    ASSERT_TRUE(eventually([&] { return w().ListView1->hasFocus(); }));
    EXPECT_EQ(edgePixel(w().ListView1), highlight);
    EXPECT_NE(edgePixel(w().ListView2), highlight);
}

} // namespace
} // namespace sorakado::testing
