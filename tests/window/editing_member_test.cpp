// Family members through the real window: the income list's menu, the name panel, renaming and
// deleting, and the selected member key kept in step with the row the user sees selected.

#include "editing_support.h"

#include "ui/twips.h"

#include <map>

namespace sorakado::testing {
namespace {

const QString kBlankName = QStringLiteral("名前は空白禁止！！");

class MemberEditingTest : public ::testing::Test {
protected:
    void open(bool seeded = true) {
        if (seeded)
            seedFamily(f.file);
        f.load(!seeded);
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    Form1& w() { return f.w(); }
    editing::MemberPanel& panel() { return *f.w().Frame3; }

    // Right press on a row (or below the rows) and the menu's item chosen.
    void menuOn(int row, QAction* item) {
        if (row < 0)
            rightClickBelowRows(w().ListView1);
        else
            clickRow(w().ListView1, row, Qt::RightButton);
        choose(w().SyuMenu, item);
    }

    std::int64_t addSecondMember() {
        Ledger l = f.file.open();
        auto hanako = addMember(l, "花子");
        addIncome(l, hanako, "2026/01", yen(5000));
        addIncome(l, hanako, "2025/12", yen(7000));
        return hanako;
    }

    WindowFixture f;
};

TEST_F(MemberEditingTest, FirstMemberIsRegisteredFromAnEmptyListWithTheKeyboard) {
    open(false);
    rightClickBelowRows(w().ListView1);
    EXPECT_EQ(shownItems(w().SyuMenu), (QStringList{"NameAdd", "S0", "S1", "ClipBoard1"}));
    const QPoint anchor = w().panelAnchor();
    choose(w().SyuMenu, w().NameAdd);

    ASSERT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().pos(), ui::pointTw(anchor.x(), anchor.y()));
    EXPECT_EQ(panel().Label9->text(), QStringLiteral("名前入力"));
    EXPECT_TRUE(panel().Text2->text().isEmpty());
    EXPECT_TRUE(focusIn(panel().Text2)) << focusName().toStdString();
    EXPECT_TRUE(panel().Text2->testAttribute(Qt::WA_InputMethodEnabled));

    typeText(QStringLiteral("太郎"));
    pressEnter(); // only moves on to OK
    EXPECT_TRUE(focusIn(panel().Command4)) << focusName().toStdString();
    EXPECT_TRUE(membersIn(f.file).empty());
    pressEnter();

    EXPECT_FALSE(panel().isVisible());
    ASSERT_EQ(membersIn(f.file).size(), 1u);
    EXPECT_EQ(membersIn(f.file)[0].name, "太郎");
    ASSERT_GE(w().ListView1->rowCount(), 1);
    EXPECT_EQ(w().ListView1->rowCells(0), (QStringList{"太郎", "\\0"}));
}

TEST_F(MemberEditingTest, EmptyNameIsRefusedWithThePanelLeftOpenButBlanksAreANameAsTyped) {
    open();
    const auto before = membersIn(f.file);
    menuOn(-1, w().NameAdd);
    f.dialogs.expect(MessageKind::Warn, kBlankName);
    QTest::mouseClick(panel().Command4, Qt::LeftButton);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_TRUE(focusIn(panel().Text2)) << focusName().toStdString();
    EXPECT_EQ(membersIn(f.file).size(), before.size());

    typeText(QStringLiteral("  "));
    QTest::mouseClick(panel().Command4, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());
    ASSERT_EQ(membersIn(f.file).size(), before.size() + 1);
    EXPECT_EQ(membersIn(f.file).back().name, "  ");
}

TEST_F(MemberEditingTest, AwkwardNamesAreStoredAndListedExactlyAsTyped) {
    open();
    for (const QString& name : awkwardTexts()) {
        menuOn(-1, w().NameAdd);
        panel().Text2->setText(name); // as pasted
        QTest::mouseClick(panel().Command4, Qt::LeftButton);
        ASSERT_FALSE(panel().isVisible()) << name.toStdString();
        EXPECT_EQ(membersIn(f.file).back().name, name.toStdString());
        const int row = rowWithKey(w().ListView1, membersIn(f.file).back().key);
        ASSERT_GE(row, 0);
        EXPECT_EQ(w().ListView1->rowCells(row).value(0), name);
    }
    EXPECT_EQ(membersIn(f.file).size(), 1u + awkwardTexts().size());
}

TEST_F(MemberEditingTest, RenameAsksFirstAndNoLeavesThePanelOpenWithItsText) {
    open();
    addSecondMember();
    w().Command1_Click();
    const int row = rowWithText(w().ListView1, QStringLiteral("花子"));
    menuOn(row, w().NameUp);

    ASSERT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().Label9->text(), QStringLiteral("名前変更"));
    EXPECT_EQ(panel().Text2->text(), QStringLiteral("花子"));
    EXPECT_TRUE(focusIn(panel().Text2));

    panel().Text2->setText(QStringLiteral("はな'子"));
    const QString question = QStringLiteral("名前 花子をはな'子に変更しますがいいですか？");
    f.dialogs.expect(MessageKind::Ask, question, false);
    QTest::mouseClick(panel().Command4, Qt::LeftButton);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().Text2->text(), QStringLiteral("はな'子"));
    EXPECT_EQ(membersIn(f.file)[1].name, "花子");

    f.dialogs.expect(MessageKind::Ask, question, true);
    QTest::mouseClick(panel().Command4, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(membersIn(f.file)[1].name, "はな'子");
    EXPECT_EQ(membersIn(f.file)[0].name, "太郎");
    // The renamed member stays selected through the rebuild.
    EXPECT_EQ(w().ListView1->rowCells(w().ListView1->currentRow()).value(0), QStringLiteral("はな'子"));
}

TEST_F(MemberEditingTest, RenamingToTheSameTextStillAsks) {
    open();
    menuOn(0, w().NameUp);
    f.dialogs.expect(MessageKind::Ask, QStringLiteral("名前 太郎を太郎に変更しますがいいですか？"));
    pressEnter();
    pressEnter();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(membersIn(f.file)[0].name, "太郎");
}

TEST_F(MemberEditingTest, DeleteAsksThenTakesTheMemberWithItsIncomesOfEveryMonth) {
    open();
    const auto hanako = addSecondMember();
    w().Command1_Click();
    const int row = rowWithKey(w().ListView1, hanako);

    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("花子 削除しますか？\r\nこの名前の収入 2件も削除されます。"), false);
    menuOn(row, w().NameDel);
    EXPECT_EQ(membersIn(f.file).size(), 2u);

    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("花子 削除しますか？\r\nこの名前の収入 2件も削除されます。"), true);
    menuOn(row, w().NameDel);
    ASSERT_EQ(membersIn(f.file).size(), 1u);
    EXPECT_EQ(membersIn(f.file)[0].name, "太郎");
    EXPECT_TRUE(incomesIn(f.file, "2025/12").empty());
    EXPECT_EQ(rowWithKey(w().ListView1, hanako), -1);

    // Nothing names the deleted member any more: no row is selected and the menu offers no
    // member command until a member row is chosen again; the delete can be undone.
    EXPECT_TRUE(w().Label7->text().isEmpty());
    EXPECT_EQ(w().ListView1->currentRow(), -1);
    rightClickBelowRows(w().ListView1);
    EXPECT_EQ(shownItems(w().SyuMenu), (QStringList{"NameAdd", "S0", "S1", "ClipBoard1", "S4", "SyuUndo"}));
    w().SyuMenu->hide();
}

TEST_F(MemberEditingTest, MemberCommandsAreOfferedOnlyOnAMemberRow) {
    open();
    const QStringList all{"NameAdd", "NameUp", "NameDel", "S0", "SyuUp", "S1", "ClipBoard1"};
    const QStringList fewer{"NameAdd", "S0", "S1", "ClipBoard1"};

    clickRow(w().ListView1, 0, Qt::RightButton);
    EXPECT_EQ(shownItems(w().SyuMenu), all);
    w().SyuMenu->hide();

    const int separator = rowWithText(w().ListView1, QStringLiteral("---------------"));
    clickRow(w().ListView1, separator, Qt::RightButton);
    EXPECT_EQ(shownItems(w().SyuMenu), fewer);
    w().SyuMenu->hide();

    // A right press selects the row it lands on, so the key follows it: member row again.
    clickRow(w().ListView1, 0, Qt::RightButton);
    EXPECT_EQ(shownItems(w().SyuMenu), all);
    w().SyuMenu->hide();

    const int total = rowWithText(w().ListView1, QStringLiteral("今月合計"));
    clickRow(w().ListView1, total, Qt::LeftButton);
    EXPECT_TRUE(w().Label7->text().isEmpty());
    clickRow(w().ListView1, 0, Qt::LeftButton);
    EXPECT_EQ(w().Label7->text(), w().ListView1->rowKey(0).mid(1));
}

TEST_F(MemberEditingTest, TheSelectedMemberKeyFollowsTheKeyboardAndSurvivesARebuild) {
    open();
    const auto hanako = addSecondMember();
    w().Command1_Click();
    clickRow(w().ListView1, 0);
    QTest::keyClick(w().ListView1, Qt::Key_Down);
    EXPECT_EQ(w().Label7->text(), QString::number(hanako));
    QTest::keyClick(w().ListView1, Qt::Key_Down); // the separator row
    EXPECT_TRUE(w().Label7->text().isEmpty());
    QTest::keyClick(w().ListView1, Qt::Key_Up);

    w().Command1_Click();
    EXPECT_EQ(w().Label7->text(), QString::number(hanako));
    EXPECT_EQ(w().ListView1->rowKey(w().ListView1->currentRow()), u'@' + QString::number(hanako));
}

TEST_F(MemberEditingTest, KeysLongerThanNineDigitsNameTheirOwnMember) {
    {
        Ledger l = f.file.open();
        addMemberWithKey(l, 123456789, "短い");
        addMemberWithKey(l, 1234567890123, "長い");
    }
    open();
    menuOn(rowWithKey(w().ListView1, 1234567890123), w().NameUp);
    panel().Text2->setText(QStringLiteral("変更後"));
    f.dialogs.expect(MessageKind::Ask, QStringLiteral("名前 長いを変更後に変更しますがいいですか？"));
    QTest::mouseClick(panel().Command4, Qt::LeftButton);

    std::map<std::int64_t, std::string> names;
    for (const Member& m : membersIn(f.file))
        names[m.key] = m.name.value_or("");
    EXPECT_EQ(names[123456789], "短い");
    EXPECT_EQ(names[1234567890123], "変更後");
    EXPECT_EQ(names.size(), 3u);
}

TEST_F(MemberEditingTest, ADatabaseErrorIsShownAndTheLedgerAndPanelStayAsTheyWere) {
    open();
    OtherProgram other(f.file.path());
    other.beginExclusive(); // another program holds the file

    menuOn(-1, w().NameAdd);
    typeText(QStringLiteral("次郎"));
    f.dialogs.expectContaining(MessageKind::Error, QStringLiteral("台帳の"));
    QTest::mouseClick(panel().Command4, Qt::LeftButton);
    EXPECT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().Text2->text(), QStringLiteral("次郎"));

    other.rollback();
    EXPECT_EQ(membersIn(f.file).size(), 1u);
    QTest::mouseClick(panel().Command4, Qt::LeftButton); // the program carries on
    EXPECT_EQ(membersIn(f.file).size(), 2u);
}

TEST_F(MemberEditingTest, AMemberDeleteThatFailsHalfwayKeepsTheMemberAndItsIncomes) {
    open();
    failDeletesFrom(w(), "収入");
    f.dialogs.expect(MessageKind::Ask,
                     QStringLiteral("太郎 削除しますか？\r\nこの名前の収入 2件も削除されます。"));
    f.dialogs.expectContaining(MessageKind::Error, QStringLiteral("disk I/O error"));
    menuOn(0, w().NameDel);

    ASSERT_EQ(membersIn(f.file).size(), 1u);
    EXPECT_EQ(incomesIn(f.file, "2026/01").size(), 1u);
    EXPECT_EQ(incomesIn(f.file, "2006/04").size(), 1u);
}

TEST_F(MemberEditingTest, CancelAndAPressInTheListCloseThePanelWithoutSaving) {
    open();
    menuOn(-1, w().NameAdd);
    typeText(QStringLiteral("三郎"));
    QTest::mouseClick(panel().Command5, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());

    menuOn(-1, w().NameAdd);
    typeText(QStringLiteral("四郎"));
    clickRow(w().ListView1, 0);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(membersIn(f.file).size(), 1u);
}

} // namespace
} // namespace sorakado::testing
