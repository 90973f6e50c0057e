#pragma once

#include <QString>
#include <QWidget>

class QAction;
class QMenu;

#include <cstdint>
#include <optional>
#include <string>

class QLabel;

namespace sorakado {
class Ledger;
}
namespace sorakado::search {
class LedgerSearch;
struct SearchResult;
} // namespace sorakado::search
namespace sorakado::ui {
class DialogService;
class DropDown;
class ReportList;
class TextBox;
} // namespace sorakado::ui

namespace sorakado::shell {

// 明細検索: every expense entry of the ledger, found by a text in its description or category
// name, a range of dates, a category and a range of amounts; the list follows each keystroke.
// Non-modal and one at a time beside the main window, which owns it and closes it with itself.
class SearchWindow : public QWidget {
    Q_OBJECT
public:
    SearchWindow(Ledger& ledger, search::LedgerSearch& search, ui::DialogService& dialogs, QWidget* owner);

    // Searches again: the ledger may have changed (after every rebuild of the main window).
    void refresh();
    // Copies the result list, headings, rows and the total row, as the main lists are copied.
    void copyList();

    ui::TextBox* textBox;
    ui::TextBox* fromDate;
    ui::TextBox* toDate;
    ui::DropDown* category;
    ui::TextBox* leastAmount;
    ui::TextBox* mostAmount;
    ui::ReportList* results;
    QLabel* status;
    // The result list's pop-up menu: its one item copies the list, as the main lists' menus do.
    QMenu* resultsMenu;
    QAction* copyItem;

signals:
    // Enter or a double click on a found entry: show it in the main window.
    void entryChosen(std::int64_t key, const QString& date);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    void fillCategories();
    void chooseCurrent();
    void showResult(const search::SearchResult& result);

    Ledger& ledger_;
    search::LedgerSearch& search_;
    ui::DialogService& dialogs_;
};

} // namespace sorakado::shell
