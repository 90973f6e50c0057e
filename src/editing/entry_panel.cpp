#include "entry_panel.h"

#include "amount_input.h"
#include "panel_controls.h"
#include "selected_record.h"
#include "store/ledger_writes.h"
#include "texts.h"
#include "ui/dialog_service.h"
#include "ui/guarded.h"
#include "ui/report_list.h"

#include <QAbstractItemView>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLocale>
#include <QTimer>

namespace sorakado::editing {

namespace {

QLabel* fieldLabel(QWidget* parent, const char* name, int y, const QString& text) {
    auto* l = place<QLabel>(parent, name, 120, y, 975, 315, text);
    l->setFont(ui::gothic(12, true));
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xC0));
    l->setPalette(p);
    return l;
}

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

} // namespace

EntryPanel::EntryPanel(QWidget* parent) : EditPanel(QStringLiteral("Frame5"), 4410, 2610, 3, parent) {
    makeShapes(4335, 2535, 45, 105, 4335, 2475);
    makeTitle(QStringLiteral("Label10(1)"), 180, 105, 3990, 315, QStringLiteral("明　細　編　集"));
    Label10_1 = title();
    Label11 = fieldLabel(this, "Label11", 495, QStringLiteral("出費日"));
    Label12 = fieldLabel(this, "Label12", 885, QStringLiteral("品目名"));
    Label13 = fieldLabel(this, "Label13", 1275, QStringLiteral("詳細"));
    Label14 = fieldLabel(this, "Label14", 1665, QStringLiteral("金額"));
    DTPicker1 = place<ui::DateBox>(this, "DTPicker1", 1140, 480, 3075, 360);
    // Japanese weekday names: 2006年04月05日 水曜日.
    DTPicker1->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy年MM月dd日 dddd"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setFont(ui::gothic(12));
    DTPicker1->installEventFilter(this);
    Combo4 = place<ui::DropDown>(this, "Combo4", 1140, 870, 3075, 360, false);
    Combo4->setFont(ui::gothic(12));
    // Its list drops open as the focus arrives (see eventFilter), not when the focus comes back
    // from the list itself: the list would open again the moment an entry is picked. Enter in
    // the open list picks the highlighted category and moves on to the description.
    Combo4->installEventFilter(this);
    Combo4->view()->installEventFilter(this);
    Text4 = place<ui::TextBox>(this, "Text4", 1140, 1260, 3075, 360);
    Text4->setFont(ui::gothic(12));
    Text4->setJapaneseInput(true);
    Text5 = place<ui::TextBox>(this, "Text5", 1140, 1650, 3075, 360);
    Text5->setFont(ui::gothic(12));
    Text5->setJapaneseInput(false);
    Text5->setSelectsAllOnFocus(true);
    Command9 = placeButton(this, "Command9", 720, 2100, QStringLiteral("入力"));
    Command10 = placeButton(this, "Command10", 2400, 2100, QStringLiteral("キャンセル"));
    setCancelButton(Command10);

    // Enter leads date → category (list open) → description → amount → OK.
    connect(Combo4, &ui::DropDown::enterPressed, Text4, [this] { Text4->setFocus(); });
    connect(Text4, &ui::TextBox::enterPressed, Text5, [this] { Text5->setFocus(); });
    connect(Text5, &ui::TextBox::enterPressed, Command9, [this] { ui::focusByKeyboard(Command9); });
    connect(Command9, &QPushButton::clicked, this, &EntryPanel::Command9_Click);
}

void EntryPanel::attach(const PanelContext& context, SelectedRecord* entries, QComboBox* categoryPicker) {
    setContext(context);
    entries_ = entries;
    categoryPicker_ = categoryPicker;
    setOrigin(entries->list());
}

bool EntryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DTPicker1 && event->type() == QEvent::KeyPress &&
        ui::isEnterKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        Combo4->setFocus();
        return true;
    }
    if (watched == Combo4->view() &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        ui::isEnterKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        if (event->type() == QEvent::KeyPress)
            pickFromOpenList();
        return true;
    }
    if (watched == Combo4 && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Opened once the focus change has settled; a list opened inside it takes its place.
        QTimer::singleShot(0, Combo4, [this] {
            if (Combo4->hasFocus() && Combo4->isVisible() && !Combo4->view()->isVisible())
                Combo4->showPopup();
        });
    }
    return EditPanel::eventFilter(watched, event);
}

void EntryPanel::pickFromOpenList() {
    const QModelIndex highlighted = Combo4->view()->currentIndex();
    Combo4->hidePopup();
    if (highlighted.isValid())
        Combo4->setCurrentIndex(highlighted.row());
    Text4->setFocus();
}

void EntryPanel::copyCategories() {
    // Every category of the picker but its add-new entry, in its order, keys and all.
    Combo4->clear();
    for (int i = 1; i < categoryPicker_->count(); ++i)
        Combo4->addItem(categoryPicker_->itemText(i), categoryPicker_->itemData(i));
}

void EntryPanel::MeiAdd_Click() {
    changing_.reset();
    const QPoint at = context().anchor();
    move(ui::pointTw(at.x(), at.y()));
    Label10_1->setText(texts::kEntryAddTitle);
    copyCategories();
    if (Combo4->count() == 0) {
        dialogs().warn(texts::kAddCategoriesFirst);
        return;
    }
    Combo4->setCurrentIndex(-1);
    Text4->clear();
    Text5->setText(QStringLiteral("0"));
    showAt(at);
    DTPicker1->setDate(context().today());
    DTPicker1->setFocus();
}

void EntryPanel::openForChange(QPoint atTw) {
    ui::guarded(dialogs(), [&] {
        const auto key = entries_->key();
        if (!key)
            return;
        const QStringList cells = entries_->cells();
        // The entry's own category, found by its key: two categories may share a name.
        const std::optional<std::int64_t> category = writes::entryCategory(context().ledger(), *key);
        changing_ = key;
        move(ui::pointTw(atTw.x(), atTw.y()));
        Label10_1->setText(texts::kEntryChangeTitle);
        copyCategories();
        int position = 0;
        if (category)
            if (int found = Combo4->findData(qint64(*category)); found >= 0)
                position = found;
        const QDate date = QDate::fromString(cells.value(0).left(10), kDateFormat);
        DTPicker1->setDate(date.isValid() ? date : context().today());
        Combo4->setCurrentIndex(position);
        Text4->setText(cells.value(2));
        // The amount as listed without its "\", taken whole so an unchanged OK keeps it.
        Text5->setText(cells.value(3).mid(1));
        showAt(atTw);
        DTPicker1->setFocus();
    });
}

void EntryPanel::MeiUp_Click() {
    openForChange(context().anchor());
}

void EntryPanel::ListView2_DblClick() {
    const QWidget* list = entries_->list();
    openForChange(QPoint(ui::twips(list->x()), ui::twips(list->y())));
}

void EntryPanel::MeiDel_Click() {
    ui::guarded(dialogs(), [this] {
        const auto key = entries_->key();
        if (!key)
            return;
        const QStringList cells = entries_->cells();
        QString question;
        for (int i = 0; i < 4; ++i)
            question += cells.value(i) + texts::kLineBreak;
        if (!dialogs().ask(question + texts::kDeleteSuffix))
            return;
        writes::deleteEntry(context().ledger(), *key);
        context().refresh();
        focusOrigin();
    });
}

void EntryPanel::Command9_Click() {
    ui::guarded(dialogs(), [this] {
        if (Combo4->currentIndex() < 0) {
            dialogs().warn(texts::kPickACategory);
            Combo4->setFocus();
            return;
        }
        const AmountInput input = readAmount(Text5->text());
        if (!input.ok()) {
            dialogs().warn(input.refusal);
            Text5->setFocus();
            Text5->selectAll();
            return;
        }
        writes::EntryValues values;
        values.date = DTPicker1->date().toString(kDateFormat).toStdString();
        values.categoryKey = Combo4->currentData().toLongLong();
        values.description = Text4->text().toStdString();
        values.amount = *input.amount;
        std::int64_t written = 0;
        if (Label10_1->text() == texts::kEntryAddTitle) {
            written = writes::addEntry(context().ledger(), values);
        } else {
            if (!changing_)
                return;
            writes::changeEntry(context().ledger(), *changing_, values);
            written = *changing_;
        }
        context().refresh();
        entries_->select(written);
        closeToOrigin();
    });
}

} // namespace sorakado::editing
