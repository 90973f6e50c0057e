// A ledger another tool has written to: what the window does with values no amount can be.

#include "window_support.h"

#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

TEST(OddLedger, AnAmountBeyondAnyIsReportedAndTheWindowKeepsWhatItShowed) {
    WindowFixture f;
    seedFamily(f.file);
    f.load();
    ASSERT_TRUE(f.loaded);
    ASSERT_TRUE(showActive(f.w()));
    Form1& w = f.w();
    w.Command11_Click();
    const WindowContents before = contentsOf(w);

    const auto food = w.ledger()->categories().front().key;
    addEntryStoredAs(*w.ledger(), "2006/04/06", food, "9.3e18");
    w.Combo1->setEditText(QStringLiteral("2006"));
    w.Combo2->setEditText(QStringLiteral("04"));
    f.dialogs.expectContaining(MessageKind::Error, QStringLiteral("金額"));
    w.Command1_Click();
    EXPECT_EQ(contentsOf(w), before) << "all or nothing";
    EXPECT_FALSE(w.inBrowseMode());
}

} // namespace
} // namespace sorakado::testing
