// A member's income for the month through the real window: the income panel from the menu and
// from a double click, the amount as typed read as the number it means, and the refusals.

#include "editing_support.h"

#include "ui/twips.h"

namespace sorakado::testing {
namespace {

const QString kBlankAmount = QStringLiteral("金額は空白禁止！！");
const QString kDigitsOnly = QStringLiteral("数字のみ入力して下さい！！");
const QString kFourDecimalsAtMost = QStringLiteral("小数点以下は４桁までしか保存できません！！");

class IncomeEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        seedFamily(f.file); // 太郎: 300000 in 2026/01, shown month 2026/01
        {
            Ledger l = f.file.open();
            hanako_ = addMember(l, "花子"); // no income this month
        }
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }
    editing::IncomePanel& panel() { return *f.w().Frame2; }

    void openFromMenu(std::int64_t member) {
        clickRow(w().ListView1, rowWithKey(w().ListView1, member), Qt::RightButton);
        choose(w().SyuMenu, w().SyuUp);
        ASSERT_TRUE(panel().isVisible());
    }

    std::optional<Amount> incomeOf(std::int64_t member, const std::string& month = "2026/01") {
        for (const Income& i : incomesIn(f.file, month))
            if (i.memberKey == member)
                return i.amount;
        return std::nullopt;
    }
    bool hasIncome(std::int64_t member, const std::string& month = "2026/01") {
        for (const Income& i : incomesIn(f.file, month))
            if (i.memberKey == member)
                return true;
        return false;
    }
    QString listedIncome(std::int64_t member) {
        return w().ListView1->rowCells(rowWithKey(w().ListView1, member)).value(1);
    }

    WindowFixture f;
    std::int64_t taro_ = 1;
    std::int64_t hanako_ = 0;
};

TEST_F(IncomeEditingTest, ChangeFromTheMenuIsTypedOverTheSelectedAmountAndSavedWithTwoEnters) {
    openFromMenu(taro_);
    EXPECT_EQ(panel().pos(), ui::pointTw(w().panelAnchor().x(), w().panelAnchor().y()));
    EXPECT_EQ(panel().Label6->text(), QStringLiteral("太郎の収入を入力"));
    EXPECT_EQ(panel().Label6->font().pointSize(), 12);
    EXPECT_EQ(panel().Text1->text(), QStringLiteral("300000"));
    EXPECT_TRUE(focusIn(panel().Text1));
    EXPECT_TRUE(eventually([&] { return panel().Text1->selectedText() == QStringLiteral("300000"); }));
    EXPECT_FALSE(panel().Text1->testAttribute(Qt::WA_InputMethodEnabled));

    typeText(QStringLiteral("250,000"));
    pressEnter();
    EXPECT_TRUE(focusIn(panel().Command2)) << focusName().toStdString();
    EXPECT_EQ(incomeOf(taro_), yen(300000)); // nothing saved yet
    pressEnter();

    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(incomeOf(taro_), yen(250000));
    EXPECT_EQ(listedIncome(taro_), QStringLiteral("\\250000"));
    EXPECT_EQ(w().Label20->text(), QStringLiteral("\\250000"));
}

TEST_F(IncomeEditingTest, AZeroIsStoredForAMemberWithoutIncomeAndRemovesAnExistingOne) {
    openFromMenu(hanako_);
    EXPECT_EQ(panel().Text1->text(), QStringLiteral("0")); // from "\0"
    QTest::mouseClick(panel().Command2, Qt::LeftButton);
    ASSERT_TRUE(hasIncome(hanako_));
    EXPECT_EQ(incomeOf(hanako_), yen(0));

    openFromMenu(hanako_);
    panel().Text1->setText(QStringLiteral("1200"));
    QTest::mouseClick(panel().Command2, Qt::LeftButton);
    EXPECT_EQ(incomeOf(hanako_), yen(1200));

    openFromMenu(hanako_);
    panel().Text1->setText(QStringLiteral("0.0"));
    QTest::mouseClick(panel().Command2, Qt::LeftButton);
    EXPECT_FALSE(hasIncome(hanako_));
    EXPECT_EQ(listedIncome(hanako_), QStringLiteral("\\0"));
    EXPECT_EQ(incomeOf(taro_), yen(300000)); // the other member untouched
    EXPECT_EQ(incomeOf(taro_, "2006/04"), yen(1234));
}

TEST_F(IncomeEditingTest, AmountsAreStoredAsTheNumberTheTextMeans) {
    const std::vector<std::pair<QString, Amount>> cases{
        {QStringLiteral("1,000"), yen(1000)},
        {QStringLiteral(" 2500 "), yen(2500)},
        {QStringLiteral("１２３"), yen(123)},
        {QStringLiteral("\\4000"), yen(4000)},
        {QStringLiteral("-300"), yen(-300)},
        {QStringLiteral("12.5"), Amount::fromTenThousandths(125000)},
        {QStringLiteral("0.0001"), Amount::fromTenThousandths(1)},
        {QStringLiteral("1000000000000000"), yen(1000000000000000)},
    };
    for (const auto& [text, amount] : cases) {
        openFromMenu(taro_);
        panel().Text1->setText(text);
        QTest::mouseClick(panel().Command2, Qt::LeftButton);
        EXPECT_FALSE(panel().isVisible()) << text.toStdString();
        EXPECT_EQ(incomeOf(taro_), amount) << text.toStdString();
        EXPECT_EQ(listedIncome(taro_), QStringLiteral("\\") + QString::fromStdString(amount.text()));
    }
}

TEST_F(IncomeEditingTest, RefusedAmountsLeaveThePanelOpenWithTheTextAndWriteNothing) {
    const std::vector<std::pair<QString, QString>> cases{
        {QString(), kBlankAmount},
        {QStringLiteral(" "), kDigitsOnly},
        {QStringLiteral("abc"), kDigitsOnly},
        {QStringLiteral("1e3"), kDigitsOnly},
        {QStringLiteral("12円"), kDigitsOnly},
        {QStringLiteral("1,00"), kDigitsOnly},
        {QStringLiteral("1.23456"), kFourDecimalsAtMost}, // more than the ledger keeps
        {QStringLiteral("１．００００１"), kFourDecimalsAtMost},
        {QStringLiteral("10000000000000000"), kDigitsOnly},       // beyond 10^15 yen
        {QStringLiteral("1'; DELETE FROM 収入;--"), kDigitsOnly}, // layering: user text
    };
    openFromMenu(taro_);
    for (const auto& [text, message] : cases) {
        panel().Text1->setText(text);
        f.dialogs.expect(MessageKind::Warn, message);
        QTest::mouseClick(panel().Command2, Qt::LeftButton);
        EXPECT_TRUE(panel().isVisible()) << text.toStdString();
        EXPECT_EQ(panel().Text1->text(), text);
        EXPECT_TRUE(focusIn(panel().Text1)) << focusName().toStdString();
    }
    EXPECT_EQ(incomeOf(taro_), yen(300000));
    EXPECT_EQ(incomesIn(f.file, "2026/01").size(), 1u);
}

TEST_F(IncomeEditingTest, DoubleClickOpensOverTheListOnAMemberRowOnly) {
    doubleClickRow(w().ListView1, rowWithText(w().ListView1, QStringLiteral("今月合計")));
    EXPECT_FALSE(panel().isVisible());

    doubleClickRow(w().ListView1, rowWithKey(w().ListView1, hanako_));
    ASSERT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().pos(), w().ListView1->pos());
    EXPECT_EQ(panel().Label6->text(), QStringLiteral("花子の収入を入力"));
    EXPECT_TRUE(focusIn(panel().Text1));
}

TEST_F(IncomeEditingTest, TheCaptionShrinksWithALongName) {
    const std::vector<std::pair<QString, int>> cases{
        {QStringLiteral("一二三四五六"), 12},        // 12 characters
        {QStringLiteral("一二三四五六七"), 11},      // 13
        {QStringLiteral("一二三四五六七八"), 10},    // 14
        {QStringLiteral("一二三四五六七八九"), 9},   // 15
        {QStringLiteral("一二三四五六七八九十"), 8}, // 16
    };
    for (const auto& [name, points] : cases) {
        Ledger l = f.file.open();
        writes::renameMember(l, hanako_, name.toStdString());
        w().Command1_Click();
        doubleClickRow(w().ListView1, rowWithKey(w().ListView1, hanako_));
        EXPECT_EQ(panel().Label6->text(), name + QStringLiteral("の収入を入力"));
        EXPECT_EQ(panel().Label6->font().pointSize(), points) << name.toStdString();
    }
}

TEST_F(IncomeEditingTest, TheIncomeGoesToTheMonthOnShow) {
    w().Command11_Click();
    w().Combo1->setEditText(QStringLiteral("2006"));
    w().Combo2->setEditText(QStringLiteral("4"));
    w().Command1_Click(); // the selectors now read 2006 and 04
    openFromMenu(taro_);
    EXPECT_EQ(panel().Text1->text(), QStringLiteral("1234"));
    panel().Text1->setText(QStringLiteral("4321"));
    QTest::mouseClick(panel().Command2, Qt::LeftButton);
    EXPECT_EQ(incomeOf(taro_, "2006/04"), yen(4321));
    EXPECT_EQ(incomeOf(taro_, "2026/01"), yen(300000));
}

TEST_F(IncomeEditingTest, ADeletedMemberCannotReceiveAnIncome) {
    clickRow(w().ListView1, rowWithKey(w().ListView1, hanako_));
    f.dialogs.expect(MessageKind::Ask, QStringLiteral("花子 削除しますか？"));
    clickRow(w().ListView1, rowWithKey(w().ListView1, hanako_), Qt::RightButton);
    choose(w().SyuMenu, w().NameDel);

    // The list no longer holds the member and nothing is selected: no menu item and no double
    // click reaches the income panel.
    rightClickBelowRows(w().ListView1);
    EXPECT_FALSE(w().SyuUp->isVisible());
    w().SyuMenu->hide();
    doubleClickRow(w().ListView1, rowWithText(w().ListView1, QStringLiteral("今月合計")));
    EXPECT_FALSE(panel().isVisible());
    EXPECT_FALSE(hasIncome(hanako_));
}

TEST_F(IncomeEditingTest, ADatabaseErrorIsShownAndNothingIsWritten) {
    openFromMenu(taro_);
    panel().Text1->setText(QStringLiteral("1"));
    OtherProgram other(f.file.path());
    other.beginExclusive();
    f.dialogs.expectContaining(MessageKind::Error, QStringLiteral("台帳の"));
    QTest::mouseClick(panel().Command2, Qt::LeftButton);
    other.rollback();

    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(incomeOf(taro_), yen(300000));
}

} // namespace
} // namespace sorakado::testing
