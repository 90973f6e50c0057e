#include "recurring_panel.h"

#include "amount_input.h"
#include "monthly/month_figures.h"
#include "recurring_message.h"
#include "store/ledger.h"
#include "store/recurring.h"
#include "texts.h"
#include "ui/controls.h"
#include "ui/design_look.h"
#include "ui/dialog_service.h"
#include "ui/fonts.h"
#include "ui/guarded.h"
#include "ui/report_list.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

namespace sorakado::editing {

namespace {

const QString kMonthPlaceholder = QStringLiteral("2006/04");

QString text(const std::optional<std::string>& s) {
    return QString::fromStdString(s.value_or(std::string()));
}

recurring::Day dayOf(const QDate& date) {
    return {date.year(), date.month(), date.day()};
}

ui::TextBox* textBox(QWidget* parent, const char* name, bool japanese) {
    auto* t = new ui::TextBox(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setJapaneseInput(japanese);
    t->setSelectsAllOnFocus(!japanese);
    return t;
}

ui::DropDown* dropDown(QWidget* parent, const char* name) {
    auto* d = new ui::DropDown(false, parent);
    d->setObjectName(QString::fromLatin1(name));
    return d;
}

ui::Button* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new ui::Button(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

RecurringPanel::RecurringPanel(const PanelContext& context, QWidget* owner)
    : QWidget(owner, Qt::Window), context_(context) {
    buildLayout();
    ui::keepDesignColours(this);
    setWindowModality(Qt::WindowModal);

    connect(kind, &QComboBox::currentIndexChanged, this, &RecurringPanel::kindChanged);
    connect(every, &QComboBox::currentIndexChanged, this, &RecurringPanel::everyChanged);
    connect(list, &ui::ReportList::currentRowChanged, this, &RecurringPanel::rowPicked);
    connect(addButton, &QPushButton::clicked, this, &RecurringPanel::addClicked);
    connect(changeButton, &QPushButton::clicked, this, &RecurringPanel::changeClicked);
    connect(deleteButton, &QPushButton::clicked, this, &RecurringPanel::deleteClicked);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    // Enter walks the fields in order; the fields a kind or schedule does not use are passed by.
    const std::vector<QWidget*> chain{kind, target, description, amount, every, month, day, from, until};
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const auto next = [this, chain, i] {
            for (std::size_t j = i + 1; j < chain.size(); ++j)
                if (chain[j]->isEnabled()) {
                    ui::focusByKeyboard(chain[j]);
                    return;
                }
            ui::focusByKeyboard(keys_.empty() || list->currentRow() < 0 ? addButton : changeButton);
        };
        if (auto* t = qobject_cast<ui::TextBox*>(chain[i]))
            connect(t, &ui::TextBox::enterPressed, this, next);
        else if (auto* d = qobject_cast<ui::DropDown*>(chain[i]))
            connect(d, &ui::DropDown::enterPressed, this, next);
    }
}

void RecurringPanel::buildLayout() {
    setObjectName(QStringLiteral("RecurringPanel"));
    setWindowTitle(texts::kRecurringTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    setFont(ui::gothic(9));

    list = new ui::ReportList(this);
    list->setObjectName(QStringLiteral("list"));
    list->setColumns({{texts::kRecurringTargetHeading, 1800, Qt::AlignLeft},
                      {texts::kRecurringDescriptionHeading, 2000, Qt::AlignLeft},
                      {texts::kRecurringAmountHeading, 1300, Qt::AlignRight},
                      {texts::kRecurringScheduleHeading, 1500, Qt::AlignLeft},
                      {texts::kRecurringFromHeading, 1000, Qt::AlignLeft},
                      {texts::kRecurringUntilHeading, 1000, Qt::AlignLeft},
                      {texts::kRecurringNextHeading, 1300, Qt::AlignLeft}});
    list->setMinimumSize(640, 200);

    kind = dropDown(this, "kind");
    kind->addItems({texts::kRecurringExpense, texts::kRecurringIncome});
    target = dropDown(this, "target");
    description = textBox(this, "description", true);
    amount = textBox(this, "amount", false);
    amount->setAlignment(Qt::AlignRight);
    every = dropDown(this, "every");
    every->addItems({texts::kRecurringMonthly, texts::kRecurringYearly});
    month = dropDown(this, "month");
    for (int m = 1; m <= 12; ++m)
        month->addItem(QString::number(m) + texts::kRecurringMonthSuffix, m);
    day = dropDown(this, "day");
    for (int d = 1; d <= 31; ++d)
        day->addItem(QString::number(d) + texts::kRecurringDaySuffix, d);
    day->addItem(texts::kRecurringLastDay, recurring::kLastDay);
    from = textBox(this, "from", false);
    until = textBox(this, "until", false);
    for (ui::TextBox* t : {from, until})
        t->setPlaceholderText(kMonthPlaceholder);
    addButton = button(this, "addButton", texts::kRecurringAdd);
    changeButton = button(this, "changeButton", texts::kRecurringChange);
    deleteButton = button(this, "deleteButton", texts::kRecurringDelete);
    closeButton = button(this, "closeButton", texts::kRecurringClose);

    auto* grid = new QGridLayout(this);
    grid->addWidget(list, 0, 0, 1, 6);
    const auto caption = [this](const QString& words) {
        auto* l = new QLabel(words, this);
        l->setFont(ui::gothic(9, true));
        return l;
    };
    grid->addWidget(caption(texts::kRecurringKindCaption), 1, 0);
    grid->addWidget(kind, 1, 1);
    grid->addWidget(caption(texts::kRecurringTargetCaption), 1, 2);
    grid->addWidget(target, 1, 3);
    grid->addWidget(caption(texts::kRecurringAmountHeading), 1, 4);
    grid->addWidget(amount, 1, 5);
    grid->addWidget(caption(texts::kRecurringDescriptionHeading), 2, 0);
    grid->addWidget(description, 2, 1, 1, 5);
    grid->addWidget(caption(texts::kRecurringScheduleHeading), 3, 0);
    grid->addWidget(every, 3, 1);
    grid->addWidget(month, 3, 2);
    grid->addWidget(day, 3, 3);
    grid->addWidget(caption(texts::kRecurringFromHeading), 4, 0);
    grid->addWidget(from, 4, 1);
    grid->addWidget(caption(texts::kRecurringUntilCaption), 4, 2);
    grid->addWidget(until, 4, 3);
    auto* buttons = new QHBoxLayout;
    for (ui::Button* b : {addButton, changeButton, deleteButton, closeButton})
        buttons->addWidget(b);
    grid->addLayout(buttons, 5, 0, 1, 6);
}

void RecurringPanel::open() {
    ui::guarded(*context_.dialogs, [this] {
        refill();
        clearFields();
        show();
        raise();
        activateWindow();
        kind->setFocus();
    });
}

void RecurringPanel::refill() {
    Ledger& ledger = context_.ledger();
    const auto rows = recurring::list(ledger);
    std::vector<ui::ReportRow> shown;
    keys_.clear();
    for (const auto& r : rows) {
        keys_.push_back(r.key);
        const QString who =
            r.income() ? text(r.memberName) + texts::kRecurringIncomeOf : text(r.categoryName);
        const QStringList cells{
            who,          text(r.description), yenText(r.amount), QString::fromStdString(r.scheduleText()),
            text(r.from), text(r.until),       text(r.next())};
        ui::ReportRow row{u'@' + QString::number(r.key), {}};
        for (const QString& c : cells)
            row.cells.push_back({c, std::nullopt, false});
        shown.push_back(std::move(row));
    }
    list->setRows(std::move(shown));
    changeButton->setEnabled(false);
    deleteButton->setEnabled(false);
}

void RecurringPanel::fillTargets() {
    Ledger& ledger = context_.ledger();
    target->clear();
    if (kind->currentIndex() == 1) {
        for (const Member& m : ledger.members())
            target->addItem(text(m.name), qint64(m.key));
    } else {
        for (const Category& c : ledger.categories())
            target->addItem(text(c.name), qint64(c.key));
    }
    target->setCurrentIndex(-1);
}

void RecurringPanel::kindChanged() {
    ui::guarded(*context_.dialogs, [this] { fillTargets(); });
    const bool expense = kind->currentIndex() != 1;
    // An income is a member's monthly amount: no description and no day.
    for (QWidget* w : std::initializer_list<QWidget*>{description, every, day})
        w->setEnabled(expense);
    everyChanged();
}

void RecurringPanel::everyChanged() {
    month->setEnabled(kind->currentIndex() != 1 && every->currentIndex() == 1);
}

void RecurringPanel::clearFields() {
    list->setCurrentRow(-1);
    kind->setCurrentIndex(0);
    kindChanged();
    description->clear();
    amount->clear();
    every->setCurrentIndex(0);
    month->setCurrentIndex(0);
    day->setCurrentIndex(0);
    const QDate today = context_.today();
    from->setText(today.toString(QStringLiteral("yyyy/MM")));
    until->clear();
    everyChanged();
}

void RecurringPanel::rowPicked(int row) {
    changeButton->setEnabled(row >= 0);
    deleteButton->setEnabled(row >= 0);
    if (row < 0 || row >= int(keys_.size()))
        return;
    ui::guarded(*context_.dialogs, [&] {
        const auto r = recurring::find(context_.ledger(), keys_[std::size_t(row)]);
        if (!r)
            return;
        kind->setCurrentIndex(r->income() ? 1 : 0);
        kindChanged();
        const auto key = r->income() ? r->memberKey : r->categoryKey;
        target->setCurrentIndex(key ? target->findData(qint64(*key)) : -1);
        description->setText(text(r->description));
        amount->setText(r->amount ? QString::fromStdString(r->amount->text()) : QString());
        every->setCurrentIndex(r->yearlyMonth ? 1 : 0);
        if (r->yearlyMonth)
            month->setCurrentIndex(month->findData(int(*r->yearlyMonth)));
        if (r->day)
            day->setCurrentIndex(day->findData(int(*r->day)));
        from->setText(text(r->from));
        until->setText(text(r->until));
        everyChanged();
    });
}

std::optional<recurring::Values> RecurringPanel::readFields() {
    const auto refuse = [this](const QString& why, QWidget* field) {
        context_.dialogs->warn(why);
        field->setFocus();
        if (auto* t = qobject_cast<ui::TextBox*>(field))
            t->selectAll();
    };
    const bool income = kind->currentIndex() == 1;
    if (target->currentIndex() < 0) {
        refuse(income ? texts::kRecurringPickAMember : texts::kPickACategory, target);
        return std::nullopt;
    }
    const AmountInput input = readAmount(amount->text());
    if (!input.ok()) {
        refuse(input.refusal, amount);
        return std::nullopt;
    }
    recurring::Values v;
    if (income)
        v.memberKey = target->currentData().toLongLong();
    else
        v.categoryKey = target->currentData().toLongLong();
    v.amount = *input.amount;
    if (!income) {
        v.description = description->text().toStdString();
        v.day = day->currentData().toInt();
        if (every->currentIndex() == 1)
            v.yearlyMonth = month->currentData().toInt();
    }
    const auto first = recurring::parseMonth(from->text().trimmed().toStdString());
    if (!first) {
        refuse(texts::kRecurringBadFrom, from);
        return std::nullopt;
    }
    v.from = *first;
    if (!until->text().trimmed().isEmpty()) {
        const auto last = recurring::parseMonth(until->text().trimmed().toStdString());
        if (!last) {
            refuse(texts::kRecurringBadUntil, until);
            return std::nullopt;
        }
        v.until = *last;
    }
    if (const auto problem = recurring::valuesProblem(context_.ledger(), v)) {
        refuse(QString::fromStdString(*problem), v.until ? until : from);
        return std::nullopt;
    }
    return v;
}

void RecurringPanel::save(std::optional<std::int64_t> key) {
    ui::guarded(*context_.dialogs, [&] {
        const auto values = readFields();
        if (!values)
            return;
        Ledger& ledger = context_.ledger();
        if (key)
            recurring::change(ledger, *key, *values);
        else
            recurring::add(ledger, *values);
        // What is due of it is written now, as a step of its own the family can undo.
        const auto posted = recurring::postDue(ledger, dayOf(context_.today()));
        context_.refresh();
        refill();
        clearFields();
        if (!posted.empty())
            context_.dialogs->inform(postedMessage(posted));
        kind->setFocus();
    });
}

void RecurringPanel::addClicked() {
    save(std::nullopt);
}

void RecurringPanel::changeClicked() {
    const int row = list->currentRow();
    if (row < 0 || row >= int(keys_.size()))
        return;
    save(keys_[std::size_t(row)]);
}

void RecurringPanel::deleteClicked() {
    ui::guarded(*context_.dialogs, [this] {
        const int row = list->currentRow();
        if (row < 0 || row >= int(keys_.size()))
            return;
        const QStringList cells = list->rowCells(row);
        QString question = cells.value(0);
        if (!cells.value(1).isEmpty())
            question += u' ' + cells.value(1);
        if (!context_.dialogs->ask(question + texts::kRecurringDeleteSuffix))
            return;
        recurring::remove(context_.ledger(), keys_[std::size_t(row)]);
        context_.refresh();
        refill();
        clearFields();
        list->setFocus();
    });
}

void RecurringPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace sorakado::editing
