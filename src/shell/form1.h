#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;

namespace sorakado {
class Ledger;
struct MonthFigures;
} // namespace sorakado
namespace sorakado::ui {
class Button;
class DialogService;
class DropDown;
class LineShape;
class ReportList;
} // namespace sorakado::ui
namespace sorakado::search {
class LedgerSearch;
}
namespace sorakado::editing {
class IncomePanel;
class MemberPanel;
class CategoryPanel;
class EntryPanel;
class SelectedRecord;
class StatementImport;
class RecurringPanel;
} // namespace sorakado::editing

namespace sorakado::shell {

class Clock;
class SearchWindow;
class StartupBackup;

// The one working window: one month of the ledger in three lists under the period selectors,
// the status panel, four hidden edit panels and three pop-up menus. It owns the ledger from its
// load to its close.
class Form1 : public QWidget {
    Q_OBJECT
public:
    Form1(ui::DialogService& dialogs, const Clock& clock, std::filesystem::path ledgerPath,
          QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence: opens the ledger, prepares the selectors, the category picker and
    // the hint labels, runs unloadSplash, then the first rebuild. A failure is shown (its
    // description, no icon) and the window is left as laid out; returns false then.
    // openLedger gives the ledger (or throws its failure), for a ledger opened ahead of the load;
    // without it the ledger is opened here.
    bool load(const std::function<void()>& unloadSplash, const std::function<Ledger()>& openLedger = {});
    // A copy of the ledger begun ahead of the load, once the ledger was open (the start-up begins
    // it while the splash shows); without one, the load begins it. Its failure is shown once.
    void adoptBackup(std::unique_ptr<StartupBackup> begun);

    // The refresh button: checks the period and rebuilds the whole window from the ledger.
    void Command1_Click();
    // The picture button: period selection mode.
    void Command11_Click();
    void closeAllPanels();
    bool inBrowseMode() const;
    QPoint panelAnchor() const { return anchor_; }
    Ledger* ledger() { return ledger_.get(); }
    // 明細の取り込み…: the menu item and a dropped file go through it.
    editing::StatementImport* statementImport() { return statements_; }
    // Returns once the copy of the ledger made at load is done or has failed. The session's
    // first change waits by itself, until the ledger's pages are in the copy; tests wait for the
    // whole, so another program they start finds the ledger with no reader of the window's on it.
    void waitForBackup();
    // Where the session's changes wait for the copy: until the ledger's pages are in it.
    void waitForBackupPages();
    // 明細検索 (Ctrl+F): opens the search window, or brings the one open to the front.
    void MeiFind_Click();
    // Shows the month of an entry (date "yyyy/mm/dd") with the entry as the picked row of the
    // expense list, as a search result chosen there asks.
    void showEntry(std::int64_t key, const QString& date);
    SearchWindow* searchWindow() const { return searchWindow_; }
    // 定期明細…: the repeating entries' window.
    void MeiTeiki_Click();
    editing::RecurringPanel* recurringPanel() const { return recurring_; }

    // Controls, named as laid out.
    QGroupBox* Frame1;
    ui::DropDown* Combo1;
    QLabel* Label2;
    ui::DropDown* Combo2;
    QLabel* Label3;
    ui::Button* Command1;
    ui::Button* Command11;
    QLabel* Image1;
    QLabel* Label27;
    QLabel* Label16;
    QLabel* Label18;
    QLabel* Label17;
    QLabel* Label1;
    QLabel* Label5;
    QLabel* Label4;
    QLabel* Label7;
    QLabel* Label8;
    ui::ReportList* ListView1;
    ui::ReportList* ListView2;
    ui::ReportList* ListView3;
    QGroupBox* Frame6;
    QLabel* Label19;
    QLabel* Label20;
    QLabel* Label21;
    QLabel* Label22;
    QLabel* Label23;
    QLabel* Label24;
    QLabel* Label25;
    ui::LineShape* Line1[3];
    editing::IncomePanel* Frame2;
    editing::MemberPanel* Frame3;
    editing::CategoryPanel* Frame4;
    editing::EntryPanel* Frame5;
    QMenu* SyuMenu;
    QAction* NameAdd;
    QAction* NameUp;
    QAction* NameDel;
    QAction* SyuUp;
    QAction* ClipBoard1;
    QMenu* MeiMenu;
    QAction* MeiAdd;
    QAction* MeiUp;
    QAction* MeiDel;
    QAction* KomoAdd;
    QAction* MeiFind;
    QAction* MeiTeiki;  // 定期明細…
    QAction* MeiImport; // 明細の取り込み…
    QAction* ClipBoard2;
    QMenu* HinMenu;
    QAction* ClipBoard3;
    // The history's items at the end of each menu, shown only when there is a step to undo
    // (redo), after a separator shown with them.
    QAction* SyuUndo;
    QAction* SyuRedo;
    QAction* MeiUndo;
    QAction* MeiRedo;
    QAction* HinUndo;
    QAction* HinRedo;

    // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z, while no edit panel or text field has the keyboard:
    // undoes (redoes) a step, rebuilds, shows the step's month and picks the record it brought
    // back. A step the ledger no longer fits is refused with a message, changing nothing.
    void undoStep();
    void redoStep();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A statement file dropped on the window is imported as 「明細の取り込み…」 would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void wire();
    void wirePanels();
    void wireSearch();
    // Closes the search window and lets its copy of the ledger go, before the ledger goes.
    void endSearch();
    void rebuild();
    void enterBrowseMode();
    void startBackup();
    // Writes the repeating entries due up to today, before the first rebuild shows them; what was
    // written is told once the window is up.
    void postRecurring();
    void listenToBackup();
    void showBackupFailure();
    void showMonth(MonthFigures&& figures);
    void turnStep(bool undoing);
    // Whether the keyboard is in an edit panel or a text field, which keep the keys for their own.
    bool keyboardBusy() const;
    // Shows or hides the history's items of menu as the ledger's history stands.
    void showHistoryItems(QMenu* menu, QAction* undoItem, QAction* redoItem);
    // A press in a list at positionTw (twips relative to the list); a right press pops up the
    // list's menu at menuAt (global pixels).
    void listPressed(ui::ReportList* list, Qt::MouseButton button, QPoint positionTw, QPoint menuAt);
    // Copies a list, headings and every row as shown, to the system clipboard.
    void SendToClipboard(const ui::ReportList* list);

    ui::DialogService& dialogs_;
    const Clock& clock_;
    std::filesystem::path ledgerPath_;
    std::unique_ptr<Ledger> ledger_; // from a successful load to the window's close
    // The copy made when the ledger is opened; the first change of the session waits for it.
    std::unique_ptr<StartupBackup> backup_;
    QPoint anchor_{0, 0}; // twips of the window; set by a right press in the income or expense list
    editing::SelectedRecord* members_ = nullptr; // ListView1's current member, held in Label7
    editing::SelectedRecord* entries_ = nullptr; // ListView2's current entry, held in Label8
    // The search, from its first use to the window's close (declared after the ledger it reads).
    std::unique_ptr<search::LedgerSearch> search_;
    SearchWindow* searchWindow_ = nullptr;
    editing::StatementImport* statements_ = nullptr;
    editing::RecurringPanel* recurring_ = nullptr;
};

} // namespace sorakado::shell
