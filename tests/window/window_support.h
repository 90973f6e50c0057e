#pragma once

// The real main window over a temporary ledger, with a scripted dialog service and a fixed date,
// and the snapshots the window tests compare.

#include "editing/category_panel.h"
#include "editing/entry_panel.h"
#include "editing/income_panel.h"
#include "editing/member_panel.h"
#include "shell/clock.h"
#include "shell/form1.h"
#include "store/testing/other_program.h"
#include "support/scripted_dialogs.h"
#include "support/temp_ledger.h"
#include "ui/controls.h"
#include "ui/report_list.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include <memory>
#include <vector>

namespace sorakado::testing {

using shell::FixedClock;
using shell::Form1;

inline const QString kRegisterAMember =
    QStringLiteral("名前を登録して下さい。（名前欄で右クリックでメニュー表示）");

// A ledger with one member, an income, a category and an entry in January 2026 and one entry
// in April 2006.
inline void seedFamily(const TempLedger& file) {
    Ledger l = file.open();
    auto taro = addMember(l, "太郎");
    addIncome(l, taro, "2026/01", yen(300000));
    addIncome(l, taro, "2006/04", yen(1234));
    auto food = addCategory(l, "食費");
    addCategory(l, "光熱費");
    addEntry(l, "2026/01/10", food, "米", yen(2000));
    addEntry(l, "2006/04/05", food, "パン", yen(150));
}

// Members are destroyed bottom-up: the window first (it holds the ledger and the dialogs), then
// the dialogs (which check every planned message came), then the ledger's folder.
struct WindowFixture {
    explicit WindowFixture(QDate today = QDate(2026, 1, 15)) : clock(today) {}

    // Loads the window; the no-member message is planned when nobody is registered.
    void load(bool expectNoMemberMessage = false) {
        if (expectNoMemberMessage)
            dialogs.expect(MessageKind::Warn, kRegisterAMember);
        window = std::make_unique<Form1>(dialogs, clock, file.path());
        splashUnloads = 0;
        loaded = window->load([this] { ++splashUnloads; });
        window->waitForBackup();
    }

    Form1& w() { return *window; }

    TempLedger file;
    ScriptedDialogs dialogs;
    FixedClock clock;
    std::unique_ptr<Form1> window;
    int splashUnloads = 0;
    bool loaded = false;
};

// Shows the window and makes it the active one, so focus moves can be observed.
inline bool showActive(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    return QTest::qWaitForWindowActive(&w);
}

// The keyboard focus is on w or on a part of it: an editable drop-down's text box, or the list
// it has popped up (a window of its own, owned by the drop-down).
inline bool focusIn(const QWidget* w) {
    QWidget* f = QApplication::focusWidget();
    while (f && f->window() != w->window() && f->window()->parentWidget())
        f = f->window()->parentWidget();
    return f && (f == w || w->isAncestorOf(f));
}

inline QString focusName() {
    QWidget* f = QApplication::focusWidget();
    while (f && f->objectName().isEmpty())
        f = f->parentWidget();
    return f ? f->objectName() : QStringLiteral("(none)");
}

struct ListRow {
    QString key;
    QStringList cells;
    bool operator==(const ListRow&) const = default;
};

inline std::vector<ListRow> rowsOf(const ui::ReportList* list) {
    std::vector<ListRow> rows;
    for (int i = 0; i < list->rowCount(); ++i)
        rows.push_back({list->rowKey(i), list->rowCells(i)});
    return rows;
}

// Everything a monthly rebuild writes to the window.
struct WindowContents {
    std::vector<ListRow> incomes, expenses, categories;
    QStringList picker;
    QString caption, incomeTotal, expenseTotal, difference, verdict;
    bool operator==(const WindowContents&) const = default;
};

inline WindowContents contentsOf(Form1& w) {
    WindowContents c{rowsOf(w.ListView1), rowsOf(w.ListView2), rowsOf(w.ListView3), {},
                     w.Label1->text(),    w.Label20->text(),   w.Label22->text(),   w.Label24->text(),
                     w.Label25->text()};
    auto* combo3 = w.Frame4->Combo3;
    for (int i = 0; i < combo3->count(); ++i)
        c.picker << combo3->itemText(i) + u'=' + combo3->itemData(i).toString();
    return c;
}

inline void PrintTo(const WindowContents& c, std::ostream* os) {
    *os << "caption " << c.caption.toStdString() << ", " << c.incomes.size() << " income rows, "
        << c.expenses.size() << " expense rows, " << c.categories.size() << " category rows, picker "
        << c.picker.join(u',').toStdString() << ", totals " << c.incomeTotal.toStdString() << ' '
        << c.expenseTotal.toStdString() << ' ' << c.difference.toStdString();
}

inline bool anyPanelOpen(Form1& w) {
    for (QWidget* p : std::initializer_list<QWidget*>{w.Frame2, w.Frame3, w.Frame4, w.Frame5})
        if (p->isVisible())
            return true;
    return false;
}

} // namespace sorakado::testing
