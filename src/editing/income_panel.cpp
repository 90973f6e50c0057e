#include "income_panel.h"

#include "amount_input.h"
#include "panel_controls.h"
#include "selected_record.h"
#include "store/ledger_writes.h"
#include "texts.h"
#include "ui/dialog_service.h"
#include "ui/guarded.h"
#include "ui/report_list.h"

namespace sorakado::editing {

IncomePanel::IncomePanel(QWidget* parent) : EditPanel(QStringLiteral("Frame2"), 3450, 1410, 0, parent) {
    makeShapes(3375, 1335, 50, 110, 3375, 1275);
    makeTitle(QStringLiteral("Label6"), 105, 105, 3150, 315, QStringLiteral("収入を入力"));
    Label6 = title();
    Text1 = place<ui::TextBox>(this, "Text1", 90, 495, 3180, 375);
    Text1->setFont(ui::gothic(12, true));
    // Digits, typed straight in; the whole amount is selected so typing replaces it.
    Text1->setJapaneseInput(false);
    Text1->setSelectsAllOnFocus(true);
    Command2 = placeButton(this, "Command2", 495, 915, QStringLiteral("入力"));
    Command3 = placeButton(this, "Command3", 1770, 915, QStringLiteral("キャンセル"));
    setCancelButton(Command3);
    connect(Text1, &ui::TextBox::enterPressed, Command2, [this] { ui::focusByKeyboard(Command2); });
    connect(Command2, &QPushButton::clicked, this, &IncomePanel::Command2_Click);
}

void IncomePanel::attach(const PanelContext& context, SelectedRecord* members) {
    setContext(context);
    members_ = members;
    setOrigin(members->list());
}

int IncomePanel::captionPointSize(const QString& caption) {
    const auto length = caption.toUcs4().size();
    if (length > 15)
        return 8;
    if (length >= 13)
        return 24 - static_cast<int>(length); // 15: 9, 14: 10, 13: 11
    return 12;
}

void IncomePanel::open(QPoint atTw) {
    member_ = members_->key();
    const QStringList cells = members_->cells();
    const QString caption = cells.value(0) + texts::kIncomeTitleSuffix;
    Label6->setText(caption);
    QFont font = Label6->font();
    font.setPointSize(captionPointSize(caption));
    Label6->setFont(font);
    showAt(atTw);
    // The income as listed without its "\". Taken whole: cut short, an unchanged OK would
    // store a different amount.
    Text1->setText(cells.value(1).mid(1));
    Text1->setFocus();
}

void IncomePanel::SyuUp_Click() {
    if (members_->key())
        open(context().anchor());
}

void IncomePanel::ListView1_DblClick() {
    if (members_->key()) {
        const QWidget* list = members_->list();
        open(QPoint(ui::twips(list->x()), ui::twips(list->y())));
    }
}

void IncomePanel::Command2_Click() {
    ui::guarded(dialogs(), [this] {
        const AmountInput input = readAmount(Text1->text());
        if (!input.ok()) {
            dialogs().warn(input.refusal);
            Text1->setFocus();
            Text1->selectAll();
            return;
        }
        if (!member_)
            return;
        writes::setMonthIncome(context().ledger(), *member_, context().monthKey().toStdString(),
                               *input.amount);
        context().refresh();
        members_->select(*member_);
        closeToOrigin();
    });
}

} // namespace sorakado::editing
