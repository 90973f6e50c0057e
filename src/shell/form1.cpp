#include "form1.h"

#include "clock.h"
#include "editing/category_panel.h"
#include "editing/entry_panel.h"
#include "editing/income_panel.h"
#include "editing/member_panel.h"
#include "editing/recurring_panel.h"
#include "editing/selected_record.h"
#include "editing/statement_import.h"
#include "export/clipboard_text.h"
#include "history_menu.h"
#include "list_geometry.h"
#include "monthly/month_figures.h"
#include "monthly/period_check.h"
#include "search/ledger_search.h"
#include "startup_backup.h"
#include "store/history.h"
#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/month_key.h"
#include "ui/clipboard.h"
#include "ui/controls.h"
#include "ui/design_look.h"
#include "ui/dialog_service.h"
#include "ui/guarded.h"
#include "ui/report_list.h"
#include "ui/shapes.h"
#include "ui/twips.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>

namespace sorakado::shell {

namespace {

const QString kRegisterAMember = QStringLiteral("名前を登録して下さい。（名前欄で右クリックでメニュー表示）");
const QString kAddNewCategory = QStringLiteral("追加==>");
const QString kActionsHint = QStringLiteral("■下のﾘｽﾄ内を右ｸﾘｯｸでﾒﾆｭｰ表示\r\n■明細をｸﾘｯｸし右ｸﾘｯｸで編集");
const QString kCategoriesFirstHint = QStringLiteral("■明細を入力する前に品目を\r\n　を追加して下さい");

// The figures' rows become the list's, their texts moved rather than copied: a month of
// thousands of entries is most of a rebuild's work.
std::vector<ui::ReportRow> reportRows(std::vector<FigureRow>&& rows) {
    std::vector<ui::ReportRow> out;
    out.reserve(rows.size());
    for (auto& row : rows) {
        ui::ReportRow r{std::move(row.key), {}};
        r.cells.reserve(row.cells.size());
        for (auto& cell : row.cells) {
            std::optional<QColor> colour;
            if (cell.colour)
                colour = QColor::fromRgb(*cell.colour);
            r.cells.push_back({std::move(cell.text), colour, cell.bold});
        }
        out.push_back(std::move(r));
    }
    rows.clear();
    return out;
}

void setTextColour(QLabel* label, std::uint32_t rgb) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor::fromRgb(rgb));
    label->setPalette(p);
}

} // namespace

Form1::Form1(ui::DialogService& dialogs, const Clock& clock, std::filesystem::path ledgerPath,
             QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), clock_(clock), ledgerPath_(std::move(ledgerPath)) {
    buildLayout();
    buildMenus();
    ui::keepDesignColours(this);
    wire();
    wirePanels();
    wireSearch();
}

Form1::~Form1() {
    // Destroying a shown window closes it only after this class is gone: the focus leaving an
    // editable selector then reports its typed text as a choice. No handler of the window or of
    // its panels may run on what is left, so every connection into them is cut while all is whole.
    endSearch();
    const std::initializer_list<QObject*> receivers{this,     Frame2,   Frame3,      Frame4,    Frame5,
                                                    members_, entries_, statements_, recurring_};
    for (QObject* sender : findChildren<QObject*>())
        for (QObject* receiver : receivers)
            QObject::disconnect(sender, nullptr, receiver, nullptr);
}

void Form1::wire() {
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
    // Enter walks year → month → refresh button without touching the texts.
    connect(Combo1, &ui::DropDown::enterPressed, this, [this] { Combo2->setFocus(); });
    connect(Combo2, &ui::DropDown::enterPressed, this, [this] { ui::focusByKeyboard(Command1); });
    connect(Combo1, &QComboBox::activated, this, &Form1::closeAllPanels);
    connect(Combo2, &QComboBox::activated, this, &Form1::closeAllPanels);

    for (QWidget* w : std::initializer_list<QWidget*>{Frame1, Frame6, Label1, Label2, Label3, Label4, Label5})
        w->installEventFilter(this);

    for (ui::ReportList* list : {ListView1, ListView2, ListView3}) {
        connect(list, &ui::ReportList::pressed, this, [this, list](Qt::MouseButton button, QPoint at) {
            listPressed(list, button, at, QCursor::pos());
        });
        // The Menu key and Shift+F10 act as a right press on the picked row would.
        connect(list, &ui::ReportList::menuKeyPressed, this, [this, list](QPoint at) {
            listPressed(list, Qt::RightButton, at, list->mapToGlobal(ui::pointTw(at.x(), at.y())));
        });
    }
}

void Form1::wirePanels() {
    members_ = new editing::SelectedRecord(ListView1, Label7, this);
    entries_ = new editing::SelectedRecord(ListView2, Label8, this);

    editing::PanelContext context;
    context.dialogs = &dialogs_;
    context.ledger = [this]() -> Ledger& {
        if (!ledger_)
            throw std::runtime_error("台帳ファイルが開かれていません。");
        waitForBackupPages();
        return *ledger_;
    };
    // Command1 sits in the disabled Frame1 in browse mode, so its handler is called directly.
    context.refresh = [this] { Command1_Click(); };
    context.anchor = [this] { return anchor_; };
    // The selectors are normalised by every rebuild, so they name the month on show.
    context.monthKey = [this] {
        return QString::fromStdString(
            MonthKey::keyText(Combo1->currentText().toStdString(), Combo2->currentText().toInt()));
    };
    context.today = [this] { return clock_.today(); };
    context.showMonth = [this](const QDate& date) {
        Combo1->setEditText(date.toString(QStringLiteral("yyyy")));
        Combo2->setEditText(date.toString(QStringLiteral("MM")));
        Command1_Click();
    };
    Frame2->attach(context, members_);
    Frame3->attach(context, members_);
    Frame4->attach(context, ListView2);
    Frame5->attach(context, entries_, Frame4->Combo3);
    statements_ = new editing::StatementImport(this, this);
    statements_->attach(context);
    recurring_ = new editing::RecurringPanel(context, this);
    setAcceptDrops(true);

    connect(NameAdd, &QAction::triggered, Frame3, &editing::MemberPanel::NameAdd_Click);
    connect(NameUp, &QAction::triggered, Frame3, &editing::MemberPanel::NameUp_Click);
    connect(NameDel, &QAction::triggered, Frame3, &editing::MemberPanel::NameDel_Click);
    connect(SyuUp, &QAction::triggered, Frame2, &editing::IncomePanel::SyuUp_Click);
    connect(ListView1, &ui::ReportList::rowDoubleClicked, Frame2, &editing::IncomePanel::ListView1_DblClick);
    connect(MeiAdd, &QAction::triggered, Frame5, &editing::EntryPanel::MeiAdd_Click);
    connect(MeiUp, &QAction::triggered, Frame5, &editing::EntryPanel::MeiUp_Click);
    connect(MeiDel, &QAction::triggered, Frame5, &editing::EntryPanel::MeiDel_Click);
    connect(ListView2, &ui::ReportList::rowDoubleClicked, Frame5, &editing::EntryPanel::ListView2_DblClick);
    connect(KomoAdd, &QAction::triggered, Frame4, &editing::CategoryPanel::KomoAdd_Click);
    connect(MeiTeiki, &QAction::triggered, this, &Form1::MeiTeiki_Click);
    connect(MeiImport, &QAction::triggered, statements_, &editing::StatementImport::MeiImport_Click);
    connect(ClipBoard1, &QAction::triggered, this, [this] { SendToClipboard(ListView1); });
    connect(ClipBoard2, &QAction::triggered, this, [this] { SendToClipboard(ListView2); });
    connect(ClipBoard3, &QAction::triggered, this, [this] { SendToClipboard(ListView3); });
    // Ctrl+C in a list copies it as its menu's copy item does.
    for (ui::ReportList* list : {ListView1, ListView2, ListView3})
        connect(list, &ui::ReportList::copyRequested, this, [this, list] { SendToClipboard(list); });

    for (QAction* undoItem : {SyuUndo, MeiUndo, HinUndo})
        connect(undoItem, &QAction::triggered, this, &Form1::undoStep);
    for (QAction* redoItem : {SyuRedo, MeiRedo, HinRedo})
        connect(redoItem, &QAction::triggered, this, &Form1::redoStep);
    const auto key = [this](QKeySequence keys, void (Form1::*handler)()) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, [this, handler] {
            if (!keyboardBusy())
                (this->*handler)();
        });
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), &Form1::undoStep);
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), &Form1::redoStep);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &Form1::redoStep);
}

bool Form1::keyboardBusy() const {
    const QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return false;
    for (const QWidget* panel : std::initializer_list<const QWidget*>{Frame2, Frame3, Frame4, Frame5})
        if (panel->isVisible() && panel->isAncestorOf(focus))
            return true;
    if (const auto* combo = qobject_cast<const QComboBox*>(focus))
        return combo->isEditable();
    return qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QAbstractSpinBox*>(focus) ||
           qobject_cast<const QTextEdit*>(focus) || qobject_cast<const QPlainTextEdit*>(focus);
}

void Form1::undoStep() {
    turnStep(true);
}

void Form1::redoStep() {
    turnStep(false);
}

void Form1::turnStep(bool undoing) {
    ui::guarded(dialogs_, [&] {
        if (!ledger_)
            return;
        waitForBackupPages();
        const history::Outcome out = undoing ? history::undo(*ledger_) : history::redo(*ledger_);
        if (out.result == history::Outcome::Result::Nothing)
            return;
        if (out.result == history::Outcome::Result::Conflict) {
            dialogs_.warn(QString::fromUtf8(undoing ? history::kUndoConflict : history::kRedoConflict));
            return;
        }
        if (out.month && out.month->size() == 7) {
            const QString month = QString::fromStdString(*out.month);
            Combo1->setEditText(month.left(4));
            Combo2->setEditText(month.mid(5, 2));
        }
        rebuild();
        const auto pick = [](ui::ReportList* list, std::int64_t key) {
            const QString rowKey = u'@' + QString::number(key);
            for (int row = 0; row < list->rowCount(); ++row)
                if (list->rowKey(row) == rowKey) {
                    list->setCurrentRow(row);
                    return;
                }
        };
        if (out.entry)
            pick(ListView2, *out.entry);
        if (out.member)
            pick(ListView1, *out.member);
    });
}

void Form1::showHistoryItems(QMenu* menu, QAction* undoItem, QAction* redoItem) {
    std::optional<history::StepInfo> undo, redo;
    try {
        if (ledger_) {
            undo = history::nextUndo(*ledger_);
            redo = history::nextRedo(*ledger_);
        }
    } catch (const LedgerError&) {
        // A ledger another program holds just now: the menu opens without them, the keys still
        // try and say why they cannot.
        undo.reset();
        redo.reset();
    }
    undoItem->setVisible(undo.has_value());
    redoItem->setVisible(redo.has_value());
    if (undo)
        undoItem->setText(undoCaption(undo->label));
    if (redo)
        redoItem->setText(redoCaption(redo->label));
    // The separator before them is the one that goes with them.
    const auto items = menu->actions();
    const auto at = items.indexOf(undoItem);
    if (at > 0)
        items[at - 1]->setVisible(undo || redo);
}

void Form1::SendToClipboard(const ui::ReportList* list) {
    std::vector<QStringList> rows;
    rows.reserve(static_cast<std::size_t>(list->rowCount()));
    for (int row = 0; row < list->rowCount(); ++row)
        rows.push_back(list->rowCells(row));
    ui::putOnClipboard(listClipboardText(list->headings(), rows));
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // A click on the selector frame, the status panel or a heading closes the edit panels: on
    // their own area only, not on a figure or control inside them (labels pass clicks upwards).
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            closeAllPanels();
    }
    return QWidget::eventFilter(watched, event);
}

namespace {

// The first local file of a drop, if any.
QString droppedFile(const QMimeData* mime) {
    if (mime)
        for (const QUrl& url : mime->urls())
            if (url.isLocalFile())
                return url.toLocalFile();
    return {};
}

} // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    if (ledger_ && inBrowseMode() && !droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (!ledger_ || !inBrowseMode() || file.isEmpty())
        return;
    event->acceptProposedAction();
    closeAllPanels();
    statements_->importFile(file);
}

void Form1::closeEvent(QCloseEvent* event) {
    endSearch();
    backup_.reset(); // a copy still running stops: nothing has been changed since it began
    ledger_.reset(); // closing the file; the window's close is never refused
    QWidget::closeEvent(event);
}

void Form1::closeAllPanels() {
    for (QWidget* panel : std::initializer_list<QWidget*>{Frame2, Frame3, Frame4, Frame5})
        panel->hide();
}

bool Form1::inBrowseMode() const {
    return !Frame1->isEnabled() && Command11->isVisibleTo(this);
}

void Form1::Command11_Click() {
    ListView1->setEnabled(false);
    ListView2->setEnabled(false);
    ListView3->setEnabled(false);
    closeAllPanels();
    Command11->hide();
    Frame1->setEnabled(true);
    Combo1->setFocus();
}

void Form1::enterBrowseMode() {
    ListView1->setEnabled(true);
    ListView2->setEnabled(true);
    ListView3->setEnabled(true);
    Command11->show();
    Frame1->setEnabled(false);
    Command11->setFocus(); // does nothing while the window is not yet shown
}

void Form1::waitForBackup() {
    if (backup_)
        backup_->wait();
}

void Form1::waitForBackupPages() {
    // Nothing of this session is written before the ledger's pages are in the copy; the copy's
    // check and its write to the disk need not hold the change.
    if (backup_)
        backup_->waitForPages();
}

void Form1::startBackup() {
    backup_ = std::make_unique<StartupBackup>(ledgerPath_, StartupBackup::timeOf(clock_.now()));
    listenToBackup();
    backup_->start();
}

void Form1::adoptBackup(std::unique_ptr<StartupBackup> begun) {
    backup_ = std::move(begun);
    listenToBackup();
    // It may have failed before anyone listened.
    QMetaObject::invokeMethod(this, &Form1::showBackupFailure, Qt::QueuedConnection);
}

void Form1::listenToBackup() {
    connect(backup_.get(), &StartupBackup::failed, this, &Form1::showBackupFailure, Qt::QueuedConnection);
}

void Form1::showBackupFailure() {
    // Shown once, whenever it arrives; the work goes on either way.
    if (backup_)
        if (const QString text = backup_->takeFailure(); !text.isEmpty())
            dialogs_.warn(text);
}

bool Form1::load(const std::function<void()>& unloadSplash, const std::function<Ledger()>& openLedger) {
    return ui::guarded(dialogs_, [&] {
        ledger_ = std::make_unique<Ledger>(openLedger ? openLedger() : Ledger::open(ledgerPath_));
        if (!backup_)
            startBackup();
        postRecurring();

        const QDate today = clock_.today();
        for (int year = 2000; year <= today.year(); ++year)
            Combo1->addItem(QString::number(year));
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(today.toString(QStringLiteral("yyyy")));
        Combo2->setEditText(today.toString(QStringLiteral("MM")));

        Frame4->Combo3->addItem(kAddNewCategory, qint64(0));

        Label17->setText(kActionsHint);
        Label17->adjustSize();
        Label18->setText(kCategoriesFirstHint);
        Label18->adjustSize();

        unloadSplash();
        Command1_Click();
    });
}

void Form1::Command1_Click() {
    ui::guarded(dialogs_, [this] { rebuild(); });
}

void Form1::rebuild() {
    const PeriodCheck period = checkPeriod(Combo1->currentText(), Combo2->currentText());
    if (!period.passed()) {
        dialogs_.warn(period.message);
        if (period.focus == PeriodFocus::Year)
            Combo1->setFocus();
        else if (period.focus == PeriodFocus::Month)
            Combo2->setFocus();
        return;
    }
    // From here on "4" and "04" are the same month everywhere, and the selectors say so.
    Combo1->setEditText(period.yearText);
    Combo2->setEditText(period.monthText);
    closeAllPanels();

    if (!ledger_)
        throw std::runtime_error("台帳ファイルが開かれていません。");

    std::optional<MonthFigures> figures;
    {
        ui::BusyPointer busy;
        figures = buildMonth(*ledger_, period.yearText, period.monthText);
    }
    if (!figures) {
        // Nobody registered yet: empty income and expense lists and a word on how to start.
        Label1->setText(incomeCaption(period.yearText, period.monthText));
        ListView1->clearRows();
        ListView2->clearRows();
        enterBrowseMode();
        dialogs_.warn(kRegisterAMember);
        Command11->setFocus();
        return;
    }
    showMonth(std::move(*figures));
    enterBrowseMode();
}

void Form1::showMonth(MonthFigures&& f) {
    // In the order of the monthly view: incomes, categories, the month's entries, the status.
    Label1->setText(f.incomeCaption);
    ListView1->setRows(reportRows(std::move(f.incomeRows)));
    Label20->setText(f.incomeTotal);
    auto* combo3 = Frame4->Combo3;
    combo3->clear();
    for (const auto& entry : f.categoryPicker)
        combo3->addItem(entry.text, qint64(entry.data));
    ListView3->setRows(reportRows(std::move(f.categoryRows)));
    ListView2->setRows(reportRows(std::move(f.expenseRows)));
    Label22->setText(f.expenseTotal);
    Label24->setText(f.difference);
    Label25->setText(f.verdict);
    setTextColour(Label25, f.verdictColour);
}

void Form1::listPressed(ui::ReportList* list, Qt::MouseButton button, QPoint at, QPoint menuAt) {
    closeAllPanels();
    if (button != Qt::RightButton)
        return;
    // The press has already made the row under it current, so the selected keys name it.
    if (list == ListView1) {
        anchor_ = QPoint(at.x(), at.y() + kListsTopTw);
        const bool onMember = ListView1->rowCount() > 0 && members_->key().has_value();
        for (QAction* item : {NameUp, NameDel, SyuUp})
            item->setVisible(onMember);
        showHistoryItems(SyuMenu, SyuUndo, SyuRedo);
        SyuMenu->popup(menuAt);
    } else if (list == ListView2) {
        anchor_ = QPoint(at.x() + kExpensePanelLeftTw, at.y() + kListsTopTw);
        const bool onEntry = entries_->key().has_value();
        MeiUp->setVisible(onEntry);
        MeiDel->setVisible(onEntry);
        showHistoryItems(MeiMenu, MeiUndo, MeiRedo);
        MeiMenu->popup(menuAt);
    } else {
        showHistoryItems(HinMenu, HinUndo, HinRedo);
        HinMenu->popup(menuAt);
    }
}

} // namespace sorakado::shell
