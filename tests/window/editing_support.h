#pragma once

// Driving the edit commands as a user does: presses and double clicks on list rows, menu items
// chosen with the mouse, keys typed into the focused control; and looking at the ledger behind
// the window through a second connection.

#include "window_support.h"

#include "editing/selected_record.h"
#include "store/ledger.h"
#include "store/ledger_writes.h"
#include "store/testing/reference_reads.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include <algorithm>

namespace sorakado::testing {

// Lets the event loop run until pred holds (QTRY_* report to QtTest, not to gtest).
template <class Pred> bool eventually(Pred pred) {
    return QTest::qWaitFor(pred, 5000);
}

inline QPoint rowCentre(ui::ReportList* list, int row) {
    return list->rowRect(row).center();
}

inline int rowWithText(const ui::ReportList* list, const QString& text) {
    for (int i = 0; i < list->rowCount(); ++i)
        if (list->rowCells(i).value(0) == text)
            return i;
    return -1;
}

inline int rowWithKey(const ui::ReportList* list, std::int64_t key) {
    for (int i = 0; i < list->rowCount(); ++i)
        if (list->rowKey(i) == u'@' + QString::number(key))
            return i;
    return -1;
}

inline void clickRow(ui::ReportList* list, int row, Qt::MouseButton button = Qt::LeftButton) {
    ASSERT_GE(row, 0);
    ASSERT_LT(row, list->rowCount());
    list->scrollToRow(row);
    QTest::mouseClick(list->viewport(), button, {}, rowCentre(list, row));
}

inline void doubleClickRow(ui::ReportList* list, int row) {
    ASSERT_GE(row, 0);
    list->scrollToRow(row);
    const QPoint at = rowCentre(list, row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// A right press below the last row, where the list is empty.
inline void rightClickBelowRows(ui::ReportList* list) {
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(20, list->viewport()->height() - 5));
}

// The names of the menu's shown items and separators, in order.
inline QStringList shownItems(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        if (a->isVisible())
            out << a->objectName();
    return out;
}

// Chooses a shown item of a popped-up menu with the mouse, once the menu is up, as a user
// does; and waits for the window to have the keyboard again.
inline void choose(QMenu* menu, QAction* item) {
    ASSERT_TRUE(eventually([&] { return menu->isVisible(); })) << menu->objectName().toStdString();
    ASSERT_TRUE(eventually([&] { return QGuiApplication::focusWindow() == menu->windowHandle(); }));
    ASSERT_TRUE(item->isVisible()) << item->objectName().toStdString();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    ASSERT_TRUE(eventually([&] { return !menu->isVisible(); }));
    // The offscreen platform makes a popup the active window and leaves it so once it closes;
    // a desktop hands the keyboard back to the window, as done here.
    QWidget* window = menu->parentWidget()->window();
    if (QGuiApplication::focusWindow() != window->windowHandle())
        window->activateWindow();
    ASSERT_TRUE(eventually([&] { return QGuiApplication::focusWindow() == window->windowHandle(); }));
}

// Enter on whatever has the keyboard focus.
inline void pressEnter() {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key_Return);
}

// Types text character by character into the focused control, as committed input arrives
// (QTest::keyClicks knows only ASCII).
inline void typeText(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    for (char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        QTest::sendKeyEvent(QTest::Press, focus, Qt::Key_unknown, one, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, focus, Qt::Key_unknown, one, Qt::NoModifier);
    }
}

inline QString clipboard() {
    return QGuiApplication::clipboard()->text();
}

// Texts a user may type or paste into a name or description box that must be stored and shown
// exactly: quotes, statement-like text, a tab, line breaks, emoji, blanks only, 1,000 characters.
inline QStringList awkwardTexts() {
    return {QStringLiteral("山田 '太郎'"),
            QStringLiteral("say \"hi\""),
            QStringLiteral("名前ID=3and 1=1; DROP TABLE 名前;--"), // layering: user text
            QStringLiteral("a\tb"),
            QStringLiteral("一行目\n二行目\r\n三"),
            QStringLiteral("😀👨‍👩‍👧家族"),
            QStringLiteral("   "),
            QString(1000, QChar(0x9577))};
}

// Every row of a table read through a second connection, for checks the window cannot make.
inline std::vector<Member> membersIn(const TempLedger& file) {
    Ledger l = file.open();
    return l.members();
}

inline std::vector<Category> categoriesIn(const TempLedger& file) {
    Ledger l = file.open();
    return l.categories();
}

inline std::vector<Entry> entriesIn(const TempLedger& file, const std::string& month) {
    Ledger l = file.open();
    return monthEntries(l, month);
}

inline std::vector<Income> incomesIn(const TempLedger& file, const std::string& month) {
    Ledger l = file.open();
    return l.monthIncomes(month);
}

// Makes the window's own connection fail every delete from table, as a damaged file would.
inline void failDeletesFrom(Form1& w, const std::string& table) {
    failDeletesFrom(*w.ledger(), table);
}

} // namespace sorakado::testing
