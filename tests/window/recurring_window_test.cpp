// Repeating entries through the real window: what the opening writes and the message after the
// window appears, its undo, the 定期明細 window's add, change, delete and refusals with the keys
// a user uses, and the category panel's question when repeating entries go with a category.
#include "editing_support.h"

#include "editing/category_panel.h"
#include "editing/recurring_message.h"
#include "editing/recurring_panel.h"
#include "store/history.h"
#include "store/recurring.h"

namespace sorakado::testing {
namespace {

using editing::RecurringPanel;

recurring::YearMonth month(const char* text) {
    return *recurring::parseMonth(text);
}

// The ledger as a second program sees it: every entry, "date description amount".
QStringList allEntries(const TempLedger& file) {
    Ledger l = file.open();
    QStringList out;
    for (const auto& e : l.entryRecords(""))
        out << QString::fromStdString(e.date.value_or("") + " " + e.description.value_or("") + " " +
                                      (e.amount ? e.amount->text() : ""));
    return out;
}

std::vector<recurring::Stored> repeating(const TempLedger& file) {
    Ledger l = file.open();
    return recurring::list(l);
}

class RecurringWindowTest : public ::testing::Test {
protected:
    void seed(const char* from, int day) {
        Ledger l = f.file.open();
        taro_ = addMember(l, "太郎");
        food_ = addCategory(l, "食費");
        housing_ = addCategory(l, "住居費");
        recurring::Values rent;
        rent.categoryKey = housing_;
        rent.description = "家賃";
        rent.amount = yen(80000);
        rent.day = day;
        rent.from = month(from);
        recurring::add(l, rent);
    }
    Form1& w() { return f.w(); }
    RecurringPanel& panel() { return *w().recurringPanel(); }
    void openPanel() {
        rightClickBelowRows(w().ListView2);
        choose(w().MeiMenu, w().MeiTeiki);
        ASSERT_TRUE(eventually([&] { return panel().isVisible(); }));
        // choose() hands the keyboard back to the main window, as a desktop does for a menu
        // alone; a window opened from the menu takes it, as a desktop gives it a new window.
        ASSERT_TRUE(eventually([&] {
            if (QApplication::activeWindow() != &panel())
                panel().activateWindow();
            return QApplication::activeWindow() == &panel();
        }));
    }
    void pick(ui::DropDown* d, const QString& text) {
        const int at = d->findText(text);
        ASSERT_GE(at, 0) << text.toStdString();
        d->setCurrentIndex(at);
    }

    WindowFixture f{QDate(2026, 1, 15)};
    std::int64_t taro_ = 0, food_ = 0, housing_ = 0;
};

TEST_F(RecurringWindowTest, TheOpeningWritesWhatIsDueAndSaysSoOnceTheWindowIsUp) {
    seed("2025/10", 25);
    bool windowUp = false;
    f.dialogs.expect(MessageKind::Inform,
                     QStringLiteral("定期明細を記入しました（3件）。\r\n2025/10/25　住居費　家賃　\\80000\r\n"
                                    "2025/11/25　住居費　家賃　\\80000\r\n2025/12/25　住居費　家賃　\\80000"),
                     true, [&] { windowUp = f.w().isVisible(); });
    f.load();
    ASSERT_TRUE(f.loaded);
    EXPECT_FALSE(f.dialogs.allShown()) << "the message waits for the window";
    ASSERT_TRUE(showActive(f.w()));
    ASSERT_TRUE(eventually([&] { return f.dialogs.allShown(); }));
    EXPECT_TRUE(windowUp);
    EXPECT_EQ(allEntries(f.file),
              (QStringList{"2025/10/25 家賃 80000", "2025/11/25 家賃 80000", "2025/12/25 家賃 80000"}));

    // One undo takes the whole posting back.
    rightClickBelowRows(w().ListView2);
    ASSERT_TRUE(eventually([&] { return w().MeiMenu->isVisible(); }));
    EXPECT_EQ(w().MeiUndo->text(), QStringLiteral("元に戻す - 定期明細の記入 (3件)　Ctrl+Z"));
    choose(w().MeiMenu, w().MeiUndo);
    EXPECT_TRUE(allEntries(f.file).isEmpty());

    // A second opening the same day finds nothing left to write once redone.
    w().redoStep();
    f.window.reset();
    f.load();
    ASSERT_TRUE(showActive(f.w()));
    QTest::qWait(50);
    EXPECT_EQ(allEntries(f.file).size(), 3);
}

TEST_F(RecurringWindowTest, NothingDueMeansNoMessage) {
    seed("2026/02", 1);
    f.load();
    ASSERT_TRUE(showActive(f.w()));
    QTest::qWait(50);
    EXPECT_TRUE(allEntries(f.file).isEmpty());
}

TEST_F(RecurringWindowTest, TheMessageNamesTenAndCountsTheRest) {
    std::vector<recurring::Posted> posted;
    for (int m = 1; m <= 12; ++m)
        posted.push_back({"2025/" + std::string(m < 10 ? "0" : "") + std::to_string(m),
                          std::nullopt,
                          std::nullopt,
                          "花子",
                          {},
                          yen(300000)});
    const QStringList lines = editing::postedMessage(posted).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], QStringLiteral("定期明細を記入しました（12件）。"));
    EXPECT_EQ(lines[1], QStringLiteral("2025/01　花子の収入　\\300000"));
    EXPECT_EQ(lines[11], QStringLiteral("ほか 2件"));
}

TEST_F(RecurringWindowTest, ThePanelRefusesWithTheFocusOnTheFieldAndAddsWithEnter) {
    seed("2026/02", 1);
    f.load();
    ASSERT_TRUE(showActive(f.w()));
    openPanel();
    EXPECT_EQ(panel().windowTitle(), QStringLiteral("定期明細"));
    ASSERT_EQ(panel().list->rowCount(), 1);
    EXPECT_EQ(panel().list->rowCells(0),
              (QStringList{"住居費", "家賃", "\\80000", "毎月 1日", "2026/02", "", "2026/02/01"}));
    EXPECT_TRUE(focusIn(panel().kind));

    // No category picked.
    f.dialogs.expect(MessageKind::Warn, QStringLiteral("品目は必ず選択して！！"));
    QTest::mouseClick(panel().addButton, Qt::LeftButton);
    EXPECT_TRUE(focusIn(panel().target));

    pick(panel().target, QStringLiteral("食費"));
    f.dialogs.expect(MessageKind::Warn, QStringLiteral("金額は空白禁止！！"));
    QTest::mouseClick(panel().addButton, Qt::LeftButton);
    EXPECT_TRUE(focusIn(panel().amount));
    typeText(QStringLiteral("1x"));
    f.dialogs.expect(MessageKind::Warn, QStringLiteral("数字のみ入力して下さい！！"));
    QTest::mouseClick(panel().addButton, Qt::LeftButton);
    EXPECT_TRUE(focusIn(panel().amount));

    // Enter walks on from the amount; the month of a monthly entry is passed by.
    panel().amount->setText(QStringLiteral("3,000"));
    panel().amount->setFocus();
    pressEnter();
    EXPECT_TRUE(focusIn(panel().every));
    pressEnter();
    EXPECT_TRUE(focusIn(panel().day));
    pick(panel().day, QStringLiteral("末日"));
    pressEnter();
    EXPECT_TRUE(focusIn(panel().from));
    panel().from->setText(QStringLiteral("2025/13"));
    pressEnter();
    EXPECT_TRUE(focusIn(panel().until));
    f.dialogs.expect(MessageKind::Warn, QStringLiteral("最初の月は 2006/04 のように入力して下さい"));
    pressEnter(); // on to 追加, which Enter presses
    pressEnter();
    EXPECT_TRUE(focusIn(panel().from));
    panel().from->setText(QStringLiteral("2025/12"));
    panel().until->setText(QStringLiteral("2025/11"));
    f.dialogs.expect(MessageKind::Warn, QStringLiteral("最後の月が最初の月より前です。"));
    QTest::mouseClick(panel().addButton, Qt::LeftButton);
    EXPECT_TRUE(focusIn(panel().until));
    EXPECT_EQ(repeating(f.file).size(), 1u);

    // Saved, what is due of it is written at once and told.
    panel().until->clear();
    f.dialogs.expect(MessageKind::Inform,
                     QStringLiteral("定期明細を記入しました（1件）。\r\n2025/12/31　食費　\\3000"));
    QTest::mouseClick(panel().addButton, Qt::LeftButton);
    ASSERT_EQ(panel().list->rowCount(), 2);
    EXPECT_EQ(panel().list->rowCells(1),
              (QStringList{"食費", "", "\\3000", "毎月 末日", "2025/12", "", "2026/01/31"}));
    EXPECT_EQ(allEntries(f.file), (QStringList{"2025/12/31  3000"}));

    // Esc closes it.
    QTest::keyClick(&panel(), Qt::Key_Escape);
    EXPECT_FALSE(panel().isVisible());
}

TEST_F(RecurringWindowTest, APickedRowIsChangedAndDeletedAndAnIncomeAdded) {
    seed("2026/02", 1);
    f.load();
    ASSERT_TRUE(showActive(f.w()));
    openPanel();
    EXPECT_FALSE(panel().changeButton->isEnabled());
    clickRow(panel().list, 0);
    EXPECT_TRUE(panel().changeButton->isEnabled());
    EXPECT_EQ(panel().target->currentText(), QStringLiteral("住居費"));
    EXPECT_EQ(panel().amount->text(), QStringLiteral("80000"));
    panel().amount->setText(QStringLiteral("85000"));
    pick(panel().every, QStringLiteral("毎年"));
    EXPECT_TRUE(panel().month->isEnabled());
    pick(panel().month, QStringLiteral("3月"));
    QTest::mouseClick(panel().changeButton, Qt::LeftButton);
    ASSERT_EQ(panel().list->rowCount(), 1);
    EXPECT_EQ(panel().list->rowCells(0),
              (QStringList{"住居費", "家賃", "\\85000", "毎年 3月1日", "2026/02", "", "2026/03/01"}));

    // A member's monthly income: no description, no day.
    pick(panel().kind, QStringLiteral("収入"));
    EXPECT_FALSE(panel().description->isEnabled());
    EXPECT_FALSE(panel().day->isEnabled());
    pick(panel().target, QStringLiteral("太郎"));
    panel().amount->setText(QStringLiteral("300000"));
    panel().from->setText(QStringLiteral("2026/01"));
    f.dialogs.expect(MessageKind::Inform,
                     QStringLiteral("定期明細を記入しました（1件）。\r\n2026/01　太郎の収入　\\300000"));
    QTest::mouseClick(panel().addButton, Qt::LeftButton);
    ASSERT_EQ(panel().list->rowCount(), 2);
    EXPECT_EQ(panel().list->rowCells(1).value(0), QStringLiteral("太郎の収入"));
    EXPECT_EQ(w().Label20->text(), QStringLiteral("\\300000")) << "the month on show is rebuilt";

    clickRow(panel().list, 0);
    f.dialogs.expect(MessageKind::Ask, QStringLiteral("住居費 家賃 の定期明細を削除しますか？"), false);
    QTest::mouseClick(panel().deleteButton, Qt::LeftButton);
    EXPECT_EQ(repeating(f.file).size(), 2u);
    f.dialogs.expect(MessageKind::Ask, QStringLiteral("住居費 家賃 の定期明細を削除しますか？"), true);
    QTest::mouseClick(panel().deleteButton, Qt::LeftButton);
    ASSERT_EQ(repeating(f.file).size(), 1u);
    EXPECT_TRUE(repeating(f.file).front().income());
}

TEST_F(RecurringWindowTest, ACategoryDeletedSaysItsRepeatingEntriesGoWithIt) {
    seed("2026/02", 1);
    f.load();
    ASSERT_TRUE(showActive(f.w()));
    rightClickBelowRows(w().ListView2);
    choose(w().MeiMenu, w().KomoAdd);
    auto& categories = *w().Frame4;
    categories.Combo3->setCurrentIndex(categories.Combo3->findText(QStringLiteral("住居費")));
    categories.Combo3_Click();
    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("住居費を削除しますか？\r\nこの品目の定期明細 1件も削除されます。"),
                     true);
    QTest::mouseClick(categories.Command7, Qt::LeftButton);
    EXPECT_TRUE(repeating(f.file).empty());
    // One step: the undo brings the category and its repeating entry back together.
    w().undoStep();
    EXPECT_EQ(repeating(f.file).size(), 1u);
}

} // namespace
} // namespace sorakado::testing
