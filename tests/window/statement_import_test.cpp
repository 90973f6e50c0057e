// 明細の取り込み through the real window: the menu item and a dropped file, the preview with its
// check boxes, category choosers and states, OK writing the checked rows and showing their
// month, the refusals, and a second import of the same file finding everything there.
#include "editing_support.h"

#include "editing/statement_import.h"
#include "editing/statement_preview.h"
#include "store/history.h"

#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>

namespace sorakado::testing {
namespace {

using editing::StatementPreview;

const QString kCard = QStringLiteral(SORAKADO_STATEMENT_FIXTURES "/card_cp932.csv");
const QString kBroken = QStringLiteral(SORAKADO_STATEMENT_FIXTURES "/broken_lines.csv");
const QString kNoAmount = QStringLiteral(SORAKADO_STATEMENT_FIXTURES "/no_amount_column.csv");

class StatementImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        Ledger l = f.file.open();
        addMember(l, "太郎");
        eating_ = addCategory(l, "外食");
        clothes_ = addCategory(l, "衣服");
        daily_ = addCategory(l, "日用品");
        addEntry(l, "2026/10/03", eating_, "ファミリーマート", yen(150));
        addEntry(l, "2026/10/20", clothes_, "ユニクロ 新宿店", yen(2990));
        addEntry(l, "2026/11/02", clothes_, "髙島屋　日本橋店", yen(5400)); // the card's first line
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }
    StatementPreview* preview() { return w().statementImport()->preview(); }
    StatementPreview* open(const QString& file) {
        w().statementImport()->importFile(file);
        StatementPreview* p = preview();
        EXPECT_NE(p, nullptr);
        if (p) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(p));
        }
        return p;
    }
    QStringList row(StatementPreview* p, int r) {
        return {p->isChecked(r) ? QStringLiteral("☑") : QStringLiteral("☐"),
                p->PreviewList->item(r, StatementPreview::kDate)->text(),
                p->categoryChooser(r)->currentText(),
                p->PreviewList->item(r, StatementPreview::kDescription)->text(),
                p->PreviewList->item(r, StatementPreview::kAmount)->text(),
                p->PreviewList->item(r, StatementPreview::kState)->text()};
    }
    void choose(StatementPreview* p, int r, const QString& category) {
        QComboBox* chooser = p->categoryChooser(r);
        chooser->setCurrentIndex(chooser->findText(category));
    }

    WindowFixture f{QDate(2026, 12, 15)};
    std::int64_t eating_ = 0, clothes_ = 0, daily_ = 0;
};

TEST_F(StatementImportTest, TheMenuOffersItAfterTheCategoryEditor) {
    rightClickBelowRows(w().ListView2);
    EXPECT_EQ(shownItems(w().MeiMenu), (QStringList{"MeiAdd", "S2", "KomoAdd", "MeiFind", "MeiTeiki",
                                                    "MeiImport", "S3", "ClipBoard2"}));
    EXPECT_EQ(w().MeiImport->text(), QStringLiteral("明細の取り込み…"));
    w().MeiMenu->hide();
}

TEST_F(StatementImportTest, PreviewGuessesMarksWhatIsThereAndWritesTheCheckedRows) {
    StatementPreview* p = open(kCard);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->windowTitle(), QStringLiteral("明細の取り込み - card_cp932.csv"));
    ASSERT_EQ(p->PreviewList->rowCount(), 5);
    EXPECT_EQ(row(p, 0), (QStringList{"☐", "2026/11/02", "衣服", "髙島屋　日本橋店", "\\5400", "登録済み"}));
    EXPECT_EQ(row(p, 1), (QStringList{"☑", "2026/11/03", "外食", "ﾌｧﾐﾘｰﾏｰﾄ", "\\292", "新規"}));
    EXPECT_EQ(row(p, 2),
              (QStringList{"☐", "2026/11/05", "", "①番館ベーカリー", "\\1080", "品目を選んで下さい"}));
    EXPECT_EQ(row(p, 3), (QStringList{"☐", "2026/11/07", "", "ドラッグⅢ㈱", "\\1200", "品目を選んで下さい"}));
    EXPECT_EQ(row(p, 4), (QStringList{"☑", "2026/11/08", "衣服", "ﾕﾆｸﾛ 札幌店", "\\-500", "新規"}));
    EXPECT_EQ(
        p->SummaryLabel->text(),
        QStringLiteral("支払いの明細 5 件　支払いでない行 5 行（入金・小計・区切りなど）　読めない行 0 行"));
    EXPECT_FALSE(p->ProblemList->isVisible());

    // Choosing a category takes the row in; taking it away lets it wait again.
    choose(p, 2, QStringLiteral("外食"));
    EXPECT_EQ(row(p, 2).first(), QStringLiteral("☑"));
    EXPECT_EQ(row(p, 2).last(), QStringLiteral("新規"));
    choose(p, 3, QStringLiteral("日用品"));
    choose(p, 3, QString());
    EXPECT_EQ(row(p, 3).first(), QStringLiteral("☐"));
    EXPECT_EQ(row(p, 3).last(), QStringLiteral("品目を選んで下さい"));
    // The refund is left out by its check box.
    p->PreviewList->item(4, StatementPreview::kCheck)->setCheckState(Qt::Unchecked);

    QTest::mouseClick(p->OkButton, Qt::LeftButton);
    ASSERT_TRUE(eventually([&] { return preview() == nullptr; }));
    const auto written = entriesIn(f.file, "2026/11");
    ASSERT_EQ(written.size(), 3u); // 髙島屋 was there; ﾌｧﾐﾘｰﾏｰﾄ and ①番館ベーカリー are new
    EXPECT_EQ(written[1].description, "ﾌｧﾐﾘｰﾏｰﾄ");
    EXPECT_EQ(written[1].categoryName, "外食");
    EXPECT_EQ(written[2].description, "①番館ベーカリー");
    // The window shows the month of the latest entry written.
    EXPECT_EQ(w().Combo1->currentText(), QStringLiteral("2026"));
    EXPECT_EQ(w().Combo2->currentText(), QStringLiteral("11"));
    EXPECT_GE(rowWithText(w().ListView2, QStringLiteral("2026/11/05(木)")), 0);
    {
        Ledger l = f.file.open();
        const auto step = history::nextUndo(l);
        ASSERT_TRUE(step);
        EXPECT_EQ(step->label, "明細の取り込み (2件)");
    }

    // The same file again: everything written is there, nothing is checked.
    p = open(kCard);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(row(p, 1).last(), QStringLiteral("登録済み"));
    EXPECT_EQ(row(p, 2), (QStringList{"☐", "2026/11/05", "外食", "①番館ベーカリー", "\\1080", "登録済み"}));
    for (int r : {0, 1, 2})
        EXPECT_FALSE(p->isChecked(r));
    QTest::keyClick(p, Qt::Key_Escape);
    ASSERT_TRUE(eventually([&] { return preview() == nullptr; }));
    EXPECT_EQ(entriesIn(f.file, "2026/11").size(), 3u);
}

TEST_F(StatementImportTest, OneUndoTakesTheWholeImportBackAndShowsItsMonth) {
    StatementPreview* p = open(kCard);
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->OkButton, Qt::LeftButton); // ﾌｧﾐﾘｰﾏｰﾄ and the ﾕﾆｸﾛ refund are checked
    ASSERT_TRUE(eventually([&] { return preview() == nullptr; }));
    ASSERT_EQ(entriesIn(f.file, "2026/11").size(), 3u);

    // Seen from another month, the undo goes back to the import's month and leaves it as it was.
    w().Combo1->setEditText(QStringLiteral("2026"));
    w().Combo2->setEditText(QStringLiteral("10"));
    w().Command1_Click();
    ASSERT_TRUE(showActive(w())); // the preview had the keyboard
    w().ListView2->setFocus();
    ASSERT_TRUE(focusIn(w().ListView2));
    QTest::keyClick(w().ListView2, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(entriesIn(f.file, "2026/11").size(), 1u);
    EXPECT_EQ(w().Combo2->currentText(), QStringLiteral("11"));
    EXPECT_EQ(rowWithText(w().ListView2, QStringLiteral("2026/11/03(火)")), -1);
    EXPECT_EQ(w().Label22->text(), QStringLiteral("\\5400"));
    {
        Ledger l = f.file.open();
        const auto redo = history::nextRedo(l);
        ASSERT_TRUE(redo);
        EXPECT_EQ(redo->label, "明細の取り込み (2件)");
    }

    QTest::keyClick(w().ListView2, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(entriesIn(f.file, "2026/11").size(), 3u);
    EXPECT_GE(rowWithText(w().ListView2, QStringLiteral("2026/11/03(火)")), 0);
    EXPECT_GE(rowWithText(w().ListView2, QStringLiteral("2026/11/08(日)")), 0);
    EXPECT_EQ(w().Label22->text(), QStringLiteral("\\5192")); // 5400 + 292 - 500
    Ledger l = f.file.open();
    EXPECT_TRUE(l.monthSumDifferences().empty());
}

TEST_F(StatementImportTest, ACheckedRowWithoutACategoryIsRefused) {
    StatementPreview* p = open(kCard);
    ASSERT_NE(p, nullptr);
    p->PreviewList->item(3, StatementPreview::kCheck)->setCheckState(Qt::Checked);
    f.dialogs.expect(MessageKind::Warn, QStringLiteral("品目を選んで下さい"));
    QTest::mouseClick(p->OkButton, Qt::LeftButton);
    EXPECT_EQ(preview(), p);
    EXPECT_TRUE(eventually([&] { return QApplication::focusWidget() == p->categoryChooser(3); }));
    EXPECT_EQ(entriesIn(f.file, "2026/11").size(), 1u);
    p->reject();
}

TEST_F(StatementImportTest, UnreadableLinesAreListedAndUnreadableFilesRefused) {
    StatementPreview* p = open(kBroken);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->PreviewList->rowCount(), 2);
    EXPECT_TRUE(p->ProblemList->isVisible());
    EXPECT_EQ(p->ProblemList->toPlainText(), QStringLiteral("2行目: 引用符（\"）が閉じていません\n"
                                                            "4行目: 存在しない日付です: 2026/02/30\n"
                                                            "5行目: 金額が読めません: 三百\n"
                                                            "6行目: 存在しない日付です: R1.04.30"));
    p->reject();
    ASSERT_TRUE(eventually([&] { return preview() == nullptr; }));

    f.dialogs.expect(
        MessageKind::Warn,
        QStringLiteral("「no_amount_column.csv」 は取り込めません。\r\n金額の列が見つかりません"));
    w().statementImport()->importFile(kNoAmount);
    EXPECT_EQ(preview(), nullptr);
}

TEST_F(StatementImportTest, AFileDroppedOnTheWindowIsPreviewed) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(kCard)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w(), &drop);
    ASSERT_NE(preview(), nullptr);
    EXPECT_EQ(preview()->PreviewList->rowCount(), 5);
    preview()->reject();
}

} // namespace
} // namespace sorakado::testing
