// The month's figures as the real lists and labels show them: every cell's text, colour and
// boldness, the row keys, the cells a row holds, the picker and the status panel.

#include "monthly/month_figures.h"
#include "window_support.h"

#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

void expectListShows(const ui::ReportList* list, const std::vector<FigureRow>& rows, const char* name) {
    SCOPED_TRACE(name);
    ASSERT_EQ(list->rowCount(), static_cast<int>(rows.size()));
    const QColor listText = list->palette().color(QPalette::Text);
    for (int r = 0; r < list->rowCount(); ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(list->rowKey(r), rows[r].key);
        ASSERT_EQ(list->rowCells(r).size(), static_cast<qsizetype>(rows[r].cells.size()));
        for (int c = 0; c < static_cast<int>(rows[r].cells.size()); ++c) {
            const auto& cell = rows[r].cells[c];
            const QModelIndex index = list->model()->index(r, c);
            EXPECT_EQ(index.data(Qt::DisplayRole).toString(), cell.text);
            EXPECT_EQ(qvariant_cast<QFont>(index.data(Qt::FontRole)).bold(), cell.bold);
            const QBrush fg = qvariant_cast<QBrush>(index.data(Qt::ForegroundRole));
            if (cell.colour)
                EXPECT_EQ(fg.color().rgb() & 0xFFFFFF, *cell.colour);
            else
                EXPECT_EQ(fg.style(), Qt::NoBrush)
                    << "cell keeps the list's own colour " << listText.name().toStdString();
        }
    }
}

struct MonthRender : ::testing::Test {
    WindowFixture f{QDate(2006, 4, 20)};

    void SetUp() override {
        Ledger l = f.file.open();
        auto mother = addMember(l, "母");
        auto father = addMember(l, "父");
        addMember(l, "父"); // same name, no income
        addIncome(l, mother, "2006/04", yen(250000));
        addIncome(l, father, "2006/04", Amount::fromTenThousandths(1234567)); // 123.4567
        addIncome(l, father, "2006/03", yen(1000));
        auto food = addCategory(l, "食費");
        auto fun = addCategory(l, "娯楽");
        addCategory(l, "交通費");
        addEntry(l, "2006/04/05", food, "米", yen(2000));
        addEntry(l, "2006/04/05", fun, "映画 'ロードショー'", yen(1800));
        addEntry(l, "2006/04/29", food, std::nullopt, std::nullopt);
        addEntry(l, "2006/05/01", fun, "翌月", yen(99));
        f.load();
        ASSERT_TRUE(f.loaded);
    }
};

TEST_F(MonthRender, ListsShowEveryCellOfTheMonthAsComputed) {
    Ledger l = f.file.open();
    auto figures = buildMonth(l, QStringLiteral("2006"), QStringLiteral("04"));
    ASSERT_TRUE(figures);
    expectListShows(f.w().ListView1, figures->incomeRows, "incomes");
    expectListShows(f.w().ListView2, figures->expenseRows, "expenses");
    expectListShows(f.w().ListView3, figures->categoryRows, "categories");

    auto* combo3 = f.w().Frame4->Combo3;
    ASSERT_EQ(combo3->count(), static_cast<int>(figures->categoryPicker.size()));
    for (int i = 0; i < combo3->count(); ++i) {
        EXPECT_EQ(combo3->itemText(i), figures->categoryPicker[i].text);
        EXPECT_EQ(combo3->itemData(i).toLongLong(), figures->categoryPicker[i].data);
    }
    EXPECT_EQ(f.w().Label25->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, figures->verdictColour);
}

TEST_F(MonthRender, WhatTheUserReadsForTheMonth) {
    auto& w = f.w();
    EXPECT_EQ(w.Label1->text(), QStringLiteral("2006年4月の収入表示"));
    EXPECT_EQ(w.ListView1->rowCells(0), (QStringList{QStringLiteral("母"), QStringLiteral("\\250000")}));
    EXPECT_EQ(w.ListView1->rowCells(1), (QStringList{QStringLiteral("父"), QStringLiteral("\\123.4567")}));
    EXPECT_EQ(w.ListView1->rowCells(2), (QStringList{QStringLiteral("父"), QStringLiteral("\\0")}));
    EXPECT_EQ(w.ListView1->rowKey(0), QStringLiteral("@1"));
    // Same-day entries in the order they were entered; an entry without amount counts 0.
    EXPECT_EQ(w.ListView2->rowCells(0).first(), QStringLiteral("2006/04/05(水)"));
    EXPECT_EQ(w.ListView2->rowCells(1).at(2), QStringLiteral("映画 'ロードショー'"));
    EXPECT_EQ(w.ListView2->rowCells(2), (QStringList{QStringLiteral("2006/04/29(土)"), QStringLiteral("食費"),
                                                     QString(), QStringLiteral("\\0")}));
    EXPECT_EQ(w.Label20->text(), QStringLiteral("\\250123.4567"));
    EXPECT_EQ(w.Label22->text(), QStringLiteral("\\3800"));
    EXPECT_EQ(w.Label24->text(), QStringLiteral("\\246323.4567"));
    EXPECT_EQ(w.Label25->text(), QStringLiteral("の黒字です。\r\n(^o^)v"));
    EXPECT_TRUE(w.inBrowseMode());
}

TEST_F(MonthRender, ADeficitMonthAfterTypingTheMonthWithOneDigit) {
    auto& w = f.w();
    w.Command11_Click();
    w.Combo2->setEditText(QStringLiteral("5"));
    w.Command1_Click();
    EXPECT_EQ(w.Combo2->currentText(), QStringLiteral("05"));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("2006年5月の収入表示"));
    EXPECT_EQ(w.Label24->text(), QStringLiteral("\\-99"));
    EXPECT_EQ(w.Label25->text(), QStringLiteral("の赤字です。\r\n(T_T)|||"));
    EXPECT_EQ(w.Label25->palette().color(QPalette::WindowText), QColor(0xFF, 0x00, 0x00));
}

} // namespace
} // namespace sorakado::testing
