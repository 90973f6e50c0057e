// Expense entries through the real window: the expense list's menu, the entry panel added and
// changed (from the menu and by a double click) with its Enter chain, the refusals, and deleting.

#include "editing_support.h"

#include "ui/twips.h"

#include <QAbstractItemView>
#include <QDateEdit>

namespace sorakado::testing {
namespace {

const QString kPickACategory = QStringLiteral("品目は必ず選択して！！");
const QString kBlankAmount = QStringLiteral("金額は空白禁止！！");
const QString kDigitsOnly = QStringLiteral("数字のみ入力して下さい！！");
const QString kFourDecimalsAtMost = QStringLiteral("小数点以下は４桁までしか保存できません！！");
const QString kAddCategoriesFirst = QStringLiteral("明細を追加する前に品目を追加して下さい");

class EntryEditingTest : public ::testing::Test {
protected:
    // seedFamily: 食費 (1), 光熱費 (2); entry 1: 2026/01/10 食費 米 2000; shown month 2026/01.
    void open(bool seed = true) {
        if (seed)
            seedFamily(f.file);
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }
    editing::EntryPanel& panel() { return *f.w().Frame5; }

    void menuBelowRows(QAction* item) {
        rightClickBelowRows(w().ListView2);
        choose(w().MeiMenu, item);
    }
    void menuOnEntry(std::int64_t entry, QAction* item) {
        clickRow(w().ListView2, rowWithKey(w().ListView2, entry), Qt::RightButton);
        choose(w().MeiMenu, item);
    }
    QStringList combo4() {
        QStringList out;
        for (int i = 0; i < panel().Combo4->count(); ++i)
            out << panel().Combo4->itemText(i) + u'=' + panel().Combo4->itemData(i).toString();
        return out;
    }
    std::optional<Entry> entry(std::int64_t key, const std::string& month = "2026/01") {
        for (const Entry& e : entriesIn(f.file, month))
            if (e.key == key)
                return e;
        return std::nullopt;
    }
    std::optional<std::int64_t> categoryOf(std::int64_t key) {
        Ledger l = f.file.open();
        return writes::entryCategory(l, key);
    }
    // Opens the add panel with 食費 picked, ready for OK.
    void startAdding() {
        menuBelowRows(w().MeiAdd);
        ASSERT_TRUE(panel().isVisible());
        panel().Combo4->setCurrentIndex(panel().Combo4->findText(QStringLiteral("食費")));
    }

    WindowFixture f;
};

// With no category picked, the first Down in the category list lands on the first category,
// wherever the pointer left the list's highlight when it dropped open.
TEST_F(EntryEditingTest, TheFirstDownInTheCategoryListGoesToTheFirstCategory) {
    open();
    for (int hovered : {-1, 0, 1}) {
        SCOPED_TRACE("pointer over row " + std::to_string(hovered));
        menuBelowRows(w().MeiAdd);
        ASSERT_TRUE(panel().isVisible());
        pressEnter(); // date → category, whose list drops open
        QAbstractItemView* list = panel().Combo4->view();
        ASSERT_TRUE(eventually([&] { return list->isVisible(); }));
        if (hovered >= 0) {
            QTest::mouseMove(list->viewport(), list->visualRect(list->model()->index(hovered, 0)).center());
            ASSERT_TRUE(eventually([&] { return list->currentIndex().row() == hovered; }));
        }
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(list->currentIndex().row(), 0);
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_EQ(panel().Combo4->currentText(), QStringLiteral("光熱費"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        ASSERT_FALSE(panel().isVisible());
    }
}

TEST_F(EntryEditingTest, AddingNeedsACategoryFirst) {
    {
        Ledger l = f.file.open();
        addMember(l, "太郎");
    }
    open(false);
    f.dialogs.expect(MessageKind::Warn, kAddCategoriesFirst);
    menuBelowRows(w().MeiAdd);
    EXPECT_FALSE(panel().isVisible());
}

TEST_F(EntryEditingTest, ANewEntryIsEnteredWithTheKeyboardAlone) {
    open();
    rightClickBelowRows(w().ListView2);
    EXPECT_EQ(shownItems(w().MeiMenu), (QStringList{"MeiAdd", "S2", "KomoAdd", "MeiFind", "MeiTeiki",
                                                    "MeiImport", "S3", "ClipBoard2"}));
    choose(w().MeiMenu, w().MeiAdd);

    ASSERT_TRUE(panel().isVisible());
    // At the press, or just so far up that it lies inside the window (a press below the rows).
    EXPECT_EQ(panel().pos(), ui::keepInside(ui::pointTw(w().panelAnchor().x(), w().panelAnchor().y()),
                                            panel().size(), w().size()));
    EXPECT_EQ(panel().Label10_1->text(), QStringLiteral("明 細 追 加"));
    EXPECT_EQ(panel().DTPicker1->date(), QDate(2026, 1, 15));
    EXPECT_EQ(combo4(), (QStringList{"光熱費=2", "食費=1"}));
    EXPECT_EQ(panel().Combo4->currentIndex(), -1);
    EXPECT_TRUE(panel().Text4->text().isEmpty());
    EXPECT_EQ(panel().Text5->text(), QStringLiteral("0"));
    EXPECT_TRUE(focusIn(panel().DTPicker1)) << focusName().toStdString();

    pressEnter(); // date → category, whose list drops open
    EXPECT_TRUE(focusIn(panel().Combo4)) << focusName().toStdString();
    EXPECT_TRUE(eventually([&] { return panel().Combo4->view()->isVisible(); }));
    QTest::keyClick(panel().Combo4->view(), Qt::Key_Down);
    QTest::keyClick(panel().Combo4->view(), Qt::Key_Down);
    QTest::keyClick(panel().Combo4->view(), Qt::Key_Return); // picks and moves on
    EXPECT_TRUE(eventually([&] { return !panel().Combo4->view()->isVisible(); }));
    QCoreApplication::processEvents(); // the list stays closed once a category is picked
    EXPECT_FALSE(panel().Combo4->view()->isVisible());
    EXPECT_EQ(panel().Combo4->currentText(), QStringLiteral("食費"));
    EXPECT_TRUE(focusIn(panel().Text4)) << focusName().toStdString();
    EXPECT_TRUE(panel().Text4->testAttribute(Qt::WA_InputMethodEnabled));
    typeText(QStringLiteral("ランチ"));
    pressEnter(); // description → amount, selected
    EXPECT_TRUE(focusIn(panel().Text5)) << focusName().toStdString();
    EXPECT_FALSE(panel().Text5->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(eventually([&] { return panel().Text5->selectedText() == QStringLiteral("0"); }));
    typeText(QStringLiteral("1,500"));
    pressEnter(); // amount → OK
    EXPECT_TRUE(focusIn(panel().Command9)) << focusName().toStdString();
    EXPECT_EQ(entriesIn(f.file, "2026/01").size(), 1u); // nothing saved yet
    pressEnter();

    EXPECT_FALSE(panel().isVisible());
    const auto entries = entriesIn(f.file, "2026/01");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].date, "2026/01/15");
    EXPECT_EQ(entries[1].categoryName, "食費");
    EXPECT_EQ(entries[1].description, "ランチ");
    EXPECT_EQ(entries[1].amount, yen(1500));
    EXPECT_EQ(w().ListView2->rowCells(rowWithKey(w().ListView2, entries[1].key)),
              (QStringList{"2026/01/15(木)", "食費", "ランチ", "\\1500"}));
    EXPECT_EQ(w().Label22->text(), QStringLiteral("\\3500"));
}

TEST_F(EntryEditingTest, ACategoryIsPickedFromTheOpenListWithTheMouse) {
    open();
    menuBelowRows(w().MeiAdd);
    pressEnter(); // date → category, whose list drops open
    QAbstractItemView* list = panel().Combo4->view();
    ASSERT_TRUE(eventually([&] { return list->isVisible(); }));
    const QModelIndex fuel = list->model()->index(0, 0);
    QTest::mouseMove(list->viewport(), list->visualRect(fuel).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(fuel).center());
    EXPECT_TRUE(eventually([&] { return !list->isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(panel().Combo4->currentText(), QStringLiteral("光熱費"));
}

TEST_F(EntryEditingTest, RefusalsComeInOrderKeepEverythingTypedAndWriteNothing) {
    open();
    menuBelowRows(w().MeiAdd);
    panel().Text4->setText(QStringLiteral("書きかけ"));
    panel().Text5->setText(QStringLiteral("100"));

    f.dialogs.expect(MessageKind::Warn, kPickACategory);
    QTest::mouseClick(panel().Command9, Qt::LeftButton);
    EXPECT_TRUE(focusIn(panel().Combo4)) << focusName().toStdString();
    EXPECT_TRUE(eventually([&] { return panel().Combo4->view()->isVisible(); })); // its list drops open
    panel().Combo4->hidePopup();
    panel().Combo4->setCurrentIndex(0);

    const std::vector<std::pair<QString, QString>> amounts{
        {QString(), kBlankAmount},
        {QStringLiteral("12abc"), kDigitsOnly},
        {QStringLiteral("1 000"), kDigitsOnly},
        {QStringLiteral("0.00001"), kFourDecimalsAtMost},
        {QStringLiteral("1.23456"), kFourDecimalsAtMost},
        {QStringLiteral("-10000000000000000"), kDigitsOnly},
    };
    for (const auto& [text, message] : amounts) {
        panel().Text5->setText(text);
        f.dialogs.expect(MessageKind::Warn, message);
        QTest::mouseClick(panel().Command9, Qt::LeftButton);
        EXPECT_TRUE(panel().isVisible());
        EXPECT_TRUE(focusIn(panel().Text5)) << focusName().toStdString();
        EXPECT_EQ(panel().Text5->selectedText(), text);
        EXPECT_EQ(panel().Text4->text(), QStringLiteral("書きかけ"));
    }
    EXPECT_EQ(entriesIn(f.file, "2026/01").size(), 1u);

    panel().Text5->setText(QStringLiteral("０．５")); // full-width, half a yen
    QTest::mouseClick(panel().Command9, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(entriesIn(f.file, "2026/01").back().amount, Amount::fromTenThousandths(5000));
}

TEST_F(EntryEditingTest, AnEmptyDescriptionAndAwkwardOnesAreStoredAndListedExactly) {
    open();
    QStringList descriptions = awkwardTexts();
    descriptions << QString();
    for (const QString& text : descriptions) {
        startAdding();
        panel().Text4->setText(text);
        QTest::mouseClick(panel().Command9, Qt::LeftButton);
        ASSERT_FALSE(panel().isVisible()) << text.toStdString();
        const Entry added = entriesIn(f.file, "2026/01").back();
        EXPECT_EQ(added.description, text.toStdString());
        const int row = rowWithKey(w().ListView2, added.key);
        ASSERT_GE(row, 0);
        EXPECT_EQ(w().ListView2->rowCells(row).value(2), text);

        // Changed without touching anything, the description comes back as it was.
        doubleClickRow(w().ListView2, row);
        ASSERT_TRUE(panel().isVisible());
        QTest::mouseClick(panel().Command9, Qt::LeftButton);
        EXPECT_EQ(entry(added.key)->description, text.toStdString());
    }
}

TEST_F(EntryEditingTest, ChangeFromTheMenuShowsTheEntryAndWritesItUnderItsKey) {
    open();
    clickRow(w().ListView2, rowWithKey(w().ListView2, 1), Qt::RightButton);
    EXPECT_EQ(shownItems(w().MeiMenu), (QStringList{"MeiAdd", "MeiUp", "MeiDel", "S2", "KomoAdd", "MeiFind",
                                                    "MeiTeiki", "MeiImport", "S3", "ClipBoard2"}));
    choose(w().MeiMenu, w().MeiUp);

    ASSERT_TRUE(panel().isVisible());
    // At the press, or just so far up that it lies inside the window (a press below the rows).
    EXPECT_EQ(panel().pos(), ui::keepInside(ui::pointTw(w().panelAnchor().x(), w().panelAnchor().y()),
                                            panel().size(), w().size()));
    EXPECT_EQ(panel().Label10_1->text(), QStringLiteral("明 細 変 更"));
    EXPECT_EQ(panel().DTPicker1->date(), QDate(2026, 1, 10));
    EXPECT_EQ(panel().Combo4->currentText(), QStringLiteral("食費"));
    EXPECT_EQ(panel().Text4->text(), QStringLiteral("米"));
    EXPECT_EQ(panel().Text5->text(), QStringLiteral("2000"));
    EXPECT_TRUE(focusIn(panel().DTPicker1)) << focusName().toStdString();

    panel().Combo4->setCurrentIndex(panel().Combo4->findText(QStringLiteral("光熱費")));
    panel().Text4->setText(QStringLiteral("電気"));
    panel().Text5->setText(QStringLiteral("8,000"));
    QTest::mouseClick(panel().Command9, Qt::LeftButton);

    EXPECT_FALSE(panel().isVisible());
    ASSERT_EQ(entriesIn(f.file, "2026/01").size(), 1u);
    const Entry changed = *entry(1);
    EXPECT_EQ(changed.date, "2026/01/10");
    EXPECT_EQ(changed.categoryName, "光熱費");
    EXPECT_EQ(changed.description, "電気");
    EXPECT_EQ(changed.amount, yen(8000));
    EXPECT_EQ(entriesIn(f.file, "2006/04").size(), 1u); // the other entry untouched

    // A date outside the month moves the entry there.
    menuOnEntry(1, w().MeiUp);
    panel().DTPicker1->setDate(QDate(2025, 12, 31));
    QTest::mouseClick(panel().Command9, Qt::LeftButton);
    EXPECT_FALSE(entry(1).has_value());
    EXPECT_TRUE(entry(1, "2025/12").has_value());
    EXPECT_EQ(rowWithKey(w().ListView2, 1), -1);
}

TEST_F(EntryEditingTest, TheEntrysOwnCategoryIsPickedWhenTwoShareItsName) {
    open();
    {
        Ledger l = f.file.open();
        addCategory(l, "食費"); // key 3, after key 1 in the picker
    }
    w().Command1_Click();
    doubleClickRow(w().ListView2, rowWithKey(w().ListView2, 1));
    ASSERT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().Combo4->currentData().toLongLong(), 1);
    QTest::mouseClick(panel().Command9, Qt::LeftButton); // unchanged

    EXPECT_EQ(categoryOf(1), 1);
    const Entry kept = *entry(1);
    EXPECT_EQ(kept.date, "2026/01/10");
    EXPECT_EQ(kept.description, "米");
    EXPECT_EQ(kept.amount, yen(2000));
}

TEST_F(EntryEditingTest, DoubleClickOpensTheChangePanelOverTheListOnAnEntryRowOnly) {
    open();
    doubleClickRow(w().ListView2, rowWithText(w().ListView2, QStringLiteral("今月合計")));
    EXPECT_FALSE(panel().isVisible());
    doubleClickRow(w().ListView2, rowWithKey(w().ListView2, 1));
    ASSERT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().pos(), w().ListView2->pos());
    EXPECT_EQ(panel().Label10_1->text(), QStringLiteral("明 細 変 更"));
}

TEST_F(EntryEditingTest, DeleteAsksWithTheRowsFourCellsThenRemovesTheEntry) {
    open();
    const QString question = QStringLiteral("2026/01/10(土)\r\n食費\r\n米\r\n\\2000\r\nを削除しますか？");
    f.dialogs.expect(MessageKind::Ask, question, false);
    menuOnEntry(1, w().MeiDel);
    EXPECT_TRUE(entry(1).has_value());

    f.dialogs.expect(MessageKind::Ask, question, true);
    menuOnEntry(1, w().MeiDel);
    EXPECT_FALSE(entry(1).has_value());
    EXPECT_EQ(entriesIn(f.file, "2006/04").size(), 1u);
    EXPECT_EQ(rowWithKey(w().ListView2, 1), -1);
    EXPECT_TRUE(w().Label8->text().isEmpty());

    // Nothing names the deleted entry: change and delete are not offered.
    rightClickBelowRows(w().ListView2);
    EXPECT_FALSE(w().MeiUp->isVisible());
    EXPECT_FALSE(w().MeiDel->isVisible());
    w().MeiMenu->hide();
    EXPECT_EQ(w().Label22->text(), QStringLiteral("\\0"));
}

TEST_F(EntryEditingTest, EntryCommandsAreOfferedOnlyOnAnEntryRow) {
    open();
    for (const QString& text : {QStringLiteral("--------------"), QStringLiteral("今月合計"),
                                QStringLiteral("2026年各月集計"), QStringLiteral("1月の合計出費")}) {
        clickRow(w().ListView2, rowWithText(w().ListView2, text), Qt::RightButton);
        EXPECT_EQ(shownItems(w().MeiMenu), (QStringList{"MeiAdd", "S2", "KomoAdd", "MeiFind", "MeiTeiki",
                                                        "MeiImport", "S3", "ClipBoard2"}))
            << text.toStdString();
        w().MeiMenu->hide();
    }
}

TEST_F(EntryEditingTest, TheOpenPanelWritesTheEntryItShowsWhateverTheListSelects) {
    open();
    std::int64_t second = 0;
    {
        Ledger l = f.file.open();
        second = addEntry(l, "2026/01/20", 2, "ガス", yen(3000));
    }
    w().Command1_Click();
    doubleClickRow(w().ListView2, rowWithKey(w().ListView2, 1));
    panel().Text4->setText(QStringLiteral("玄米"));
    QTest::keyClick(w().ListView2, Qt::Key_Down); // the list's selection moves on
    EXPECT_EQ(w().Label8->text(), QString::number(second));
    QTest::mouseClick(panel().Command9, Qt::LeftButton);

    EXPECT_EQ(entry(1)->description, "玄米");
    EXPECT_EQ(entry(second)->description, "ガス");
    EXPECT_EQ(entry(second)->amount, yen(3000));
}

TEST_F(EntryEditingTest, KeysLongerThanNineDigitsNameTheirOwnEntry) {
    seedFamily(f.file);
    {
        Ledger l = f.file.open();
        addEntryWithKey(l, 987654321, "2026/01/02", 1, "短い", yen(1));
        addEntryWithKey(l, 98765432101, "2026/01/03", 1, "長い", yen(2));
    }
    open(false);
    menuOnEntry(98765432101, w().MeiUp);
    panel().Text4->setText(QStringLiteral("変更後"));
    QTest::mouseClick(panel().Command9, Qt::LeftButton);
    EXPECT_EQ(entry(98765432101)->description, "変更後");
    EXPECT_EQ(entry(987654321)->description, "短い");

    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("2026/01/03(土)\r\n食費\r\n変更後\r\n\\2\r\nを削除しますか？"));
    menuOnEntry(98765432101, w().MeiDel);
    EXPECT_FALSE(entry(98765432101).has_value());
    EXPECT_TRUE(entry(987654321).has_value());
}

TEST_F(EntryEditingTest, ADatabaseErrorIsShownAndTheEntryStaysAsItWas) {
    open();
    doubleClickRow(w().ListView2, rowWithKey(w().ListView2, 1));
    panel().Text5->setText(QStringLiteral("9"));
    OtherProgram other(f.file.path());
    other.beginExclusive();
    f.dialogs.expectContaining(MessageKind::Error, QStringLiteral("台帳の"));
    QTest::mouseClick(panel().Command9, Qt::LeftButton);
    other.rollback();

    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(entry(1)->amount, yen(2000));
    QTest::mouseClick(panel().Command9, Qt::LeftButton); // the program carries on
    EXPECT_EQ(entry(1)->amount, yen(9));
}

} // namespace
} // namespace sorakado::testing
