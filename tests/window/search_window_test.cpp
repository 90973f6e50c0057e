// The search window through the real main window: opening it, typing, the rows and their total,
// going to an entry's month, copying, closing; and Ctrl+C in the main lists.

#include "editing_support.h"

#include "shell/search_window.h"
#include "store/ledger_writes.h"

#include <QShortcut>

namespace sorakado::testing {
namespace {

using shell::SearchWindow;

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        seedFamily(f.file);
        {
            Ledger l = f.file.open();
            cake_ = addEntry(l, "2025/12/24", 1, "ケーキ", yen(3000));
            power_ = addEntry(l, "2026/01/05", 2, "電気ﾀﾞｲ", yen(8000));
        }
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }

    // Ctrl+F on the main window, and the search window up with the keyboard in its text box.
    SearchWindow* open() {
        QTest::keyClick(&w(), Qt::Key_F, Qt::ControlModifier);
        SearchWindow* s = w().searchWindow();
        EXPECT_NE(s, nullptr);
        if (!s)
            return nullptr;
        EXPECT_TRUE(eventually([&] { return s->isVisible() && s->textBox->hasFocus(); }));
        return s;
    }
    // Types into the text box and waits for the list to hold rows entries and the total.
    void search(SearchWindow* s, const QString& text, int rows) {
        s->textBox->setFocus();
        s->textBox->selectAll();
        typeText(text);
        EXPECT_TRUE(eventually([&] { return s->results->rowCount() == rows + 1; }))
            << s->results->rowCount() << " rows for " << text.toStdString();
    }
    QString total(SearchWindow* s) {
        return s->results->rowCells(s->results->rowCount() - 1).join(u' ').simplified();
    }

    WindowFixture f;
    std::int64_t cake_ = 0, power_ = 0;
};

TEST_F(SearchWindowTest, CtrlFOpensOneWindowWhoseListFollowsTheTextTyped) {
    const QList<QAction*> items = w().MeiMenu->actions();
    ASSERT_EQ(items.indexOf(w().MeiFind), items.indexOf(w().KomoAdd) + 1);
    EXPECT_EQ(w().MeiFind->text(), QStringLiteral("明細検索…　Ctrl+F"));

    SearchWindow* s = open();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->windowTitle(), QStringLiteral("明細検索"));
    EXPECT_FALSE(s->isModal());
    ASSERT_TRUE(eventually([&] { return s->results->rowCount() == 5; })); // all four, then the total
    EXPECT_EQ(total(s), QStringLiteral("合計 4件 \\13150"));

    search(s, QStringLiteral("ｹｰｷ"), 1);
    EXPECT_EQ(s->results->rowCells(0),
              QStringList({u"2025/12/24(水)"_qs, u"食費"_qs, u"ケーキ"_qs, u"\\3000"_qs}));
    search(s, QStringLiteral("食"), 3);                     // by the category's name, newest first
    EXPECT_EQ(s->results->rowKey(0), QStringLiteral("@1")); // 米, the newest
    EXPECT_EQ(total(s), QStringLiteral("合計 3件 \\5150"));
    search(s, QStringLiteral("だい"), 1);
    EXPECT_EQ(s->results->rowKey(0), u'@' + QString::number(power_));

    s->textBox->clear();
    s->fromDate->setText(QStringLiteral("2026/1"));
    s->category->setCurrentIndex(s->category->findText(QStringLiteral("食費")));
    ASSERT_TRUE(eventually([&] { return s->results->rowCount() == 2; }));
    EXPECT_EQ(total(s), QStringLiteral("合計 1件 \\2000"));
    s->leastAmount->setText(QStringLiteral("2001"));
    ASSERT_TRUE(eventually([&] { return s->results->rowCount() == 1; }));
    EXPECT_EQ(total(s), QStringLiteral("合計 0件 \\0"));

    // One window at a time: Ctrl+F again brings the same one back.
    QTest::keyClick(s, Qt::Key_Escape);
    EXPECT_TRUE(eventually([&] { return !s->isVisible(); }));
    w().activateWindow();
    ASSERT_TRUE(eventually([&] { return w().isActiveWindow(); }));
    EXPECT_EQ(open(), s);
}

TEST_F(SearchWindowTest, EnterOnAResultShowsItsMonthWithTheEntryPicked) {
    SearchWindow* s = open();
    ASSERT_NE(s, nullptr);
    search(s, QStringLiteral("ぱん"), 1);
    QTest::keyClick(s->textBox, Qt::Key_Down);
    ASSERT_TRUE(s->results->hasFocus());
    EXPECT_EQ(s->results->currentRow(), 0);
    QTest::keyClick(s->results, Qt::Key_Return);

    EXPECT_EQ(w().Combo1->currentText(), QStringLiteral("2006"));
    EXPECT_EQ(w().Combo2->currentText(), QStringLiteral("04"));
    const int row = w().ListView2->currentRow();
    ASSERT_GE(row, 0);
    EXPECT_EQ(w().ListView2->rowCells(row).value(2), QStringLiteral("パン"));
    EXPECT_EQ(w().Label8->text(), w().ListView2->rowKey(row).mid(1)); // 明細変更 and 明細削除 act on it
    EXPECT_TRUE(w().inBrowseMode());

    // The list follows the window's changes: the entry deleted there is gone here.
    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("2006/04/05(水)\r\n食費\r\nパン\r\n\\150\r\nを削除しますか？"), true);
    w().Frame5->MeiDel_Click();
    ASSERT_TRUE(eventually([&] { return s->results->rowCount() == 1; }));
    EXPECT_EQ(total(s), QStringLiteral("合計 0件 \\0"));
}

TEST_F(SearchWindowTest, CtrlCAndTheMenuCopyTheResultsAndCtrlCEachMainListAsItsMenuDoes) {
    SearchWindow* s = open();
    ASSERT_NE(s, nullptr);
    search(s, QStringLiteral("食"), 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("前の内容"));
    s->results->setFocus();
    QTest::keyClick(s->results, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), QStringLiteral("日付\t品目\t詳細\t金額\r\n"
                                          "2026/01/10(土)\t食費\t米\t\\2000\r\n"
                                          "2025/12/24(水)\t食費\tケーキ\t\\3000\r\n"
                                          "2006/04/05(水)\t食費\tパン\t\\150\r\n"
                                          "合計 3件\t\t\t\\5150"));
    // The list's pop-up menu copies the same text.
    const QString byKey = clipboard();
    QGuiApplication::clipboard()->setText(QStringLiteral("前の内容"));
    rightClickBelowRows(s->results);
    ASSERT_TRUE(eventually([&] { return s->resultsMenu->isVisible(); }));
    EXPECT_EQ(s->copyItem->text(), QStringLiteral("リスト内容をコピー"));
    choose(s->resultsMenu, s->copyItem);
    EXPECT_EQ(clipboard(), byKey);
    QTest::keyClick(s, Qt::Key_Escape);
    ASSERT_TRUE(eventually([&] { return !s->isVisible(); }));
    w().activateWindow();
    ASSERT_TRUE(eventually([&] { return w().isActiveWindow(); }));

    for (auto [list, menu, item] : {std::tuple{w().ListView1, w().SyuMenu, w().ClipBoard1},
                                    std::tuple{w().ListView2, w().MeiMenu, w().ClipBoard2},
                                    std::tuple{w().ListView3, w().HinMenu, w().ClipBoard3}}) {
        rightClickBelowRows(list);
        choose(menu, item);
        const QString byMenu = clipboard();
        QGuiApplication::clipboard()->setText(QStringLiteral("前の内容"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(clipboard(), byMenu) << list->objectName().toStdString();
    }
}

TEST_F(SearchWindowTest, TheSearchWindowClosesWithTheMainWindow) {
    SearchWindow* s = open();
    ASSERT_NE(s, nullptr);
    QPointer<SearchWindow> alive(s);
    w().close();
    EXPECT_TRUE(alive.isNull() || !alive->isVisible());
}

} // namespace
} // namespace sorakado::testing
