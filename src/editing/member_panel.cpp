#include "member_panel.h"

#include "panel_controls.h"
#include "selected_record.h"
#include "store/ledger_writes.h"
#include "store/recurring.h"
#include "texts.h"
#include "ui/dialog_service.h"
#include "ui/guarded.h"

namespace sorakado::editing {

MemberPanel::MemberPanel(QWidget* parent) : EditPanel(QStringLiteral("Frame3"), 3450, 1410, 1, parent) {
    makeShapes(3375, 1335, 50, 110, 3375, 1275);
    makeTitle(QStringLiteral("Label9"), 90, 90, 3150, 315, QStringLiteral("名前入力"));
    Label9 = title();
    Text2 = place<ui::TextBox>(this, "Text2", 90, 495, 3150, 360);
    Text2->setFont(ui::gothic(12, true));
    Text2->setJapaneseInput(true);
    Command4 = placeButton(this, "Command4", 495, 915, QStringLiteral("入力"));
    Command5 = placeButton(this, "Command5", 1770, 915, QStringLiteral("キャンセル"));
    setCancelButton(Command5);
    // Enter only moves on to OK; nothing is saved until OK is pressed.
    connect(Text2, &ui::TextBox::enterPressed, Command4, [this] { ui::focusByKeyboard(Command4); });
    connect(Command4, &QPushButton::clicked, this, &MemberPanel::Command4_Click);
}

void MemberPanel::attach(const PanelContext& context, SelectedRecord* members) {
    setContext(context);
    members_ = members;
    setOrigin(members->list());
}

void MemberPanel::NameAdd_Click() {
    renaming_.reset();
    Label9->setText(texts::kNameAddTitle);
    showAt(context().anchor());
    Text2->clear();
    Text2->setFocus();
}

void MemberPanel::NameUp_Click() {
    const auto key = members_->key();
    if (!key)
        return;
    renaming_ = key;
    renamingFrom_ = members_->cells().value(0);
    Label9->setText(texts::kNameChangeTitle);
    showAt(context().anchor());
    Text2->setText(renamingFrom_);
    Text2->setFocus();
}

void MemberPanel::NameDel_Click() {
    ui::guarded(dialogs(), [this] {
        const auto key = members_->key();
        if (!key)
            return;
        const QString name = members_->cells().value(0);
        // The incomes of every month go with the member, not only those on show.
        QString question = name + texts::kDeleteNameSuffix;
        if (const auto incomes = writes::memberIncomeCount(context().ledger(), *key); incomes > 0)
            question += texts::kLineBreak + texts::kNameIncomesGoPrefix + QString::number(incomes) +
                        texts::kNameIncomesGoSuffix;
        if (const auto repeating = recurring::memberCount(context().ledger(), *key); repeating > 0)
            question += texts::kLineBreak + texts::kNameRecurringGoPrefix + QString::number(repeating) +
                        texts::kRecurringGoSuffix;
        if (!dialogs().ask(question))
            return;
        writes::deleteMember(context().ledger(), *key);
        context().refresh();
        focusOrigin();
    });
}

void MemberPanel::Command4_Click() {
    ui::guarded(dialogs(), [this] {
        const QString name = Text2->text();
        if (name.isEmpty()) {
            dialogs().warn(texts::kBlankName);
            Text2->setFocus();
            return;
        }
        std::int64_t written = 0;
        if (Label9->text() == texts::kNameAddTitle) {
            written = writes::addMember(context().ledger(), name.toStdString());
        } else {
            if (!renaming_)
                return;
            if (!dialogs().ask(texts::kRenameNamePrefix + renamingFrom_ + texts::kRenameJoin + name +
                               texts::kRenameSuffix))
                return;
            writes::renameMember(context().ledger(), *renaming_, name.toStdString());
            written = *renaming_;
        }
        hide();
        context().refresh();
        members_->select(written);
        focusOrigin();
    });
}

} // namespace sorakado::editing
