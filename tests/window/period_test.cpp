// The refresh button through the real window: the six checks of the typed year and month, the
// selectors normalised after a pass, Enter walking the selectors, and a rebuild whose read fails.

#include "window_support.h"

#include <QAbstractItemView>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <ostream>

namespace sorakado::testing {
namespace {

// The window over a seeded ledger in period selection mode, shown and active.
class PeriodTest : public ::testing::Test {
protected:
    void SetUp() override {
        seedFamily(f.file);
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
        f.w().Command11_Click();
        before = contentsOf(f.w());
    }

    void type(const char* year, const char* month) {
        f.w().Combo1->setEditText(QString::fromUtf8(year));
        f.w().Combo2->setEditText(QString::fromUtf8(month));
    }

    WindowFixture f;
    WindowContents before;
};

enum class Focus { Stays, Year, Month };

struct Refusal {
    const char* year;
    const char* month;
    const char* message;
    Focus focus;
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << '"' << r.year << "\" \"" << r.month << '"';
}

class PeriodRefused : public PeriodTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PeriodRefused, ShowsTheMessageMovesTheFocusAndChangesNothingElse) {
    const Refusal& r = GetParam();
    Form1& w = f.w();
    w.Command1->setFocus(); // as when the user pressed the button from the keyboard
    type(r.year, r.month);
    w.Frame2->showAt(QPoint(6000, 4500));
    f.dialogs.expect(MessageKind::Warn, QString::fromUtf8(r.message));
    w.Command1_Click();

    QWidget* focused = r.focus == Focus::Year    ? static_cast<QWidget*>(w.Combo1)
                       : r.focus == Focus::Month ? static_cast<QWidget*>(w.Combo2)
                                                 : static_cast<QWidget*>(w.Command1);
    EXPECT_TRUE(focusIn(focused)) << "focus on " << focusName().toStdString();
    if (auto* selector = qobject_cast<QComboBox*>(focused)) {
        // The selector that receives the focus opens its list, as it does whenever it gains it.
        EXPECT_TRUE(QTest::qWaitFor([&] { return selector->view()->isVisible(); }, 2000));
        selector->hidePopup();
    }
    EXPECT_EQ(contentsOf(w), before);
    EXPECT_EQ(w.Combo1->currentText().toStdString(), r.year) << "a refused text is left as typed";
    EXPECT_EQ(w.Combo2->currentText().toStdString(), r.month);
    EXPECT_TRUE(w.Frame2->isVisible()) << "an open panel stays open";
    EXPECT_FALSE(w.inBrowseMode());
    EXPECT_TRUE(w.Frame1->isEnabled());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Checks, PeriodRefused,
    ::testing::Values(Refusal{"", "04", "年が数字ではありません！！", Focus::Stays},
                      Refusal{"abc", "xyz", "年が数字ではありません！！", Focus::Stays},
                      Refusal{"2005.5", "04", "年が数字ではありません！！", Focus::Stays},
                      Refusal{"2006", "", "月が数字ではありません！！", Focus::Month},
                      Refusal{"2006", "4.5", "月が数字ではありません！！", Focus::Month},
                      Refusal{"3001", "04", "そんなに生きるの？！", Focus::Year},
                      Refusal{"3001", "13", "そんなに生きるの？！", Focus::Year},
                      Refusal{"1899", "04", "そんなに前に生まれてる訳ないじゃん！！", Focus::Year},
                      Refusal{"2006", "13", "１２月を超えてます！！", Focus::Month},
                      Refusal{"2006", "0", "１月以下はありません！！", Focus::Month}));
// clang-format on

struct Accepted {
    const char* year;
    const char* month;
    const char* shownYear;
    const char* shownMonth;
    const char* caption;
    const char* firstIncome; // the member's income cell for that month
};

void PrintTo(const Accepted& a, std::ostream* os) {
    *os << '"' << a.year << "\" \"" << a.month << '"';
}

class PeriodAccepted : public PeriodTest, public ::testing::WithParamInterface<Accepted> {};

TEST_P(PeriodAccepted, RebuildsTheMonthAndShowsTheNormalisedPeriod) {
    const Accepted& a = GetParam();
    Form1& w = f.w();
    type(a.year, a.month);
    w.Frame2->showAt(QPoint(6000, 4500));
    w.Command1_Click();
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(w.Combo1->currentText().toStdString(), a.shownYear);
    EXPECT_EQ(w.Combo2->currentText().toStdString(), a.shownMonth);
    EXPECT_EQ(w.Label1->text().toStdString(), a.caption);
    ASSERT_GT(w.ListView1->rowCount(), 0);
    EXPECT_EQ(w.ListView1->rowCells(0).value(1).toStdString(), a.firstIncome);
    EXPECT_FALSE(anyPanelOpen(w));
    EXPECT_TRUE(w.inBrowseMode());
    EXPECT_TRUE(focusIn(w.Command11)) << focusName().toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Periods, PeriodAccepted,
    ::testing::Values(Accepted{"2006", "04", "2006", "04", "2006年4月の収入表示", "\\1234"},
                      // "4" and "04" are the same month: the income stored under 2006/04 shows
                      Accepted{"2006", "4", "2006", "04", "2006年4月の収入表示", "\\1234"},
                      Accepted{" ２００６ ", "４", "2006", "04", "2006年4月の収入表示", "\\1234"},
                      Accepted{"1900", "1", "1900", "01", "1900年1月の収入表示", "\\0"},
                      Accepted{"3000", "12", "3000", "12", "3000年12月の収入表示", "\\0"}));
// clang-format on

TEST_F(PeriodTest, EnterWalksYearMonthAndTheRefreshButtonWithoutTouchingTheTexts) {
    Form1& w = f.w();
    type("2006", "04");
    const int years = w.Combo1->count();
    ASSERT_TRUE(focusIn(w.Combo1)) << focusName().toStdString();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(focusIn(w.Combo2)) << focusName().toStdString();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_TRUE(focusIn(w.Command1)) << focusName().toStdString();
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("2006"));
    EXPECT_EQ(w.Combo2->currentText(), QStringLiteral("04"));
    EXPECT_EQ(w.Combo1->count(), years) << "Enter adds no item";
    EXPECT_EQ(w.Combo2->count(), 12);
    EXPECT_EQ(contentsOf(w), before) << "nothing is rebuilt before the button";

    // A further Enter presses the refresh button.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(w.inBrowseMode());
    EXPECT_EQ(w.Label1->text().toStdString(), "2006年4月の収入表示");
}

// The list that opens as a selector gains the focus has no current row: Enter with it open
// keeps the year and month shown rather than taking its first item ("2000", "01").
TEST(PeriodKeyboard, EnterWithTheListsOpenKeepsTheShownYearAndMonth) {
    WindowFixture f(QDate(2026, 12, 15));
    seedFamily(f.file);
    f.load();
    Form1& w = f.w();
    ASSERT_TRUE(showActive(w));
    QTest::mouseClick(w.Command11, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Combo1->view()->isVisible(); }, 2000));
    // Keys go where the platform sends them: to the open list while there is one.
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(focusIn(w.Combo2)) << focusName().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Combo2->view()->isVisible(); }, 2000));
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(focusIn(w.Command1)) << focusName().toStdString();
    EXPECT_EQ(w.Combo1->currentText().toStdString(), "2026");
    EXPECT_EQ(w.Combo2->currentText().toStdString(), "12");
}

// Typed digits reach the period check as typed: no inline completion turns a typed "1" into
// "10" or "20" into "2000". And each list opens at the year or month the box shows.
TEST(PeriodKeyboard, TypedYearsAndMonthsAreTakenAsTypedAndTheListsOpenAtTheShownPeriod) {
    WindowFixture f(QDate(2026, 6, 15));
    seedFamily(f.file);
    f.load();
    Form1& w = f.w();
    ASSERT_TRUE(showActive(w));
    const auto openAt = [](ui::DropDown* picker) {
        QAbstractItemView* list = picker->view();
        EXPECT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }, 2000))
            << picker->objectName().toStdString();
        const QModelIndex current = list->currentIndex();
        EXPECT_TRUE(list->viewport()->rect().intersects(list->visualRect(current))) << "scrolled into sight";
        return current.isValid() ? current.data().toString().toStdString() : std::string("(none)");
    };
    const auto typeKeys = [&](const char* keys) {
        for (const char* k = keys; *k; ++k)
            QTest::keyClick(w.windowHandle(), *k);
    };

    QTest::mouseClick(w.Command11, Qt::LeftButton);
    EXPECT_EQ(openAt(w.Combo1), "2026");
    w.Combo1->lineEdit()->selectAll();
    typeKeys("20"); // keys go to the open list, which hands typing to the box
    EXPECT_EQ(w.Combo1->lineEdit()->text().toStdString(), "20");
    typeKeys("06");
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    ASSERT_TRUE(focusIn(w.Combo2)) << focusName().toStdString();
    EXPECT_EQ(openAt(w.Combo2), "06");
    w.Combo2->lineEdit()->selectAll();
    typeKeys("1");
    EXPECT_EQ(w.Combo2->lineEdit()->text().toStdString(), "1");
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    ASSERT_TRUE(w.inBrowseMode());
    EXPECT_EQ(w.Label1->text().toStdString(), "2006年1月の収入表示");
    EXPECT_EQ(w.Combo2->currentText().toStdString(), "01");

    // Back in selection mode the month list opens at January, the month now shown.
    QTest::mouseClick(w.Command11, Qt::LeftButton);
    EXPECT_EQ(openAt(w.Combo1), "2006");
    QTest::keyClick(w.windowHandle(), Qt::Key_Return);
    EXPECT_EQ(openAt(w.Combo2), "01");
}

TEST_F(PeriodTest, FailedReadIsReportedAndLeavesTheWindowAsItWas) {
    Form1& w = f.w();
    dropTable(*w.ledger(), "DATA");
    type("2006", "04");
    f.dialogs.expectContaining(MessageKind::Error, QStringLiteral("DATA"));
    w.Command1_Click();
    EXPECT_EQ(contentsOf(w), before) << "all or nothing";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy pointer is restored";
    EXPECT_FALSE(w.inBrowseMode()) << "the mode is not switched";

    // The program keeps running: the next refresh is reported again, nothing more.
    f.dialogs.expectContaining(MessageKind::Error, QStringLiteral("DATA"));
    w.Command1_Click();
    EXPECT_EQ(contentsOf(w), before);
}

TEST_F(PeriodTest, MemberlessLedgerEmptiesIncomeAndExpenseListsAndKeepsTheRest) {
    Form1& w = f.w();
    deleteAllRows(*w.ledger(), "名前");
    f.dialogs.expect(MessageKind::Warn, kRegisterAMember, true, [&] {
        // The message comes once the window is back in browse mode.
        EXPECT_TRUE(w.inBrowseMode());
    });
    type("2006", "04");
    w.Command1_Click();
    EXPECT_EQ(w.ListView1->rowCount(), 0);
    EXPECT_EQ(w.ListView2->rowCount(), 0);
    EXPECT_EQ(w.Label1->text().toStdString(), "2006年4月の収入表示");
    EXPECT_EQ(rowsOf(w.ListView3), before.categories);
    EXPECT_EQ(contentsOf(w).picker, before.picker);
    EXPECT_EQ(w.Label20->text(), before.incomeTotal);
    EXPECT_EQ(w.Label25->text(), before.verdict);
    EXPECT_FALSE(anyPanelOpen(w));
    EXPECT_TRUE(w.inBrowseMode());
    EXPECT_TRUE(focusIn(w.Command11)) << focusName().toStdString();
}

// Destroying a shown window closes it, and the focus leaving the year selector makes it report
// the typed year as a choice. That must reach no handler of the half-destroyed window (the
// sanitizer build checks the calls); the spy shows the report really comes.
TEST_F(PeriodTest, DestroyingTheWindowWithATypedSelectorFocusedRunsNoHandlerOfIt) {
    Form1& w = f.w();
    ASSERT_TRUE(QTest::qWaitFor([&] { return focusIn(w.Combo1); }, 2000)) << focusName().toStdString();
    w.Frame2->showAt(QPoint(6000, 4500));
    type("2006", "04"); // a year the list holds, other than the chosen one
    QSignalSpy chosen(w.Combo1, &QComboBox::activated);
    f.window.reset();
    EXPECT_EQ(chosen.count(), 1);
}

} // namespace
} // namespace sorakado::testing
