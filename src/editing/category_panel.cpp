#include "category_panel.h"

#include "monthly/month_texts.h"
#include "panel_controls.h"
#include "store/ledger.h"
#include "store/ledger_writes.h"
#include "store/recurring.h"
#include "texts.h"
#include "ui/dialog_service.h"
#include "ui/guarded.h"

namespace sorakado::editing {

CategoryPanel::CategoryPanel(QWidget* parent) : EditPanel(QStringLiteral("Frame4"), 4720, 1410, 2, parent) {
    makeShapes(4635, 1335, 60, 105, 4635, 1275);
    makeTitle(QStringLiteral("Label10(0)"), 105, 105, 4440, 315, QStringLiteral("項目編集"));
    Label10_0 = title();
    Combo3 = place<ui::DropDown>(this, "Combo3", 120, 480, 1725, 360, false);
    Combo3->setFont(ui::gothic(12));
    Text3 = place<ui::TextBox>(this, "Text3", 1875, 480, 2685, 345);
    Text3->setFont(ui::gothic(12));
    Text3->setJapaneseInput(true);
    Command6 = placeButton(this, "Command6", 390, 915, QStringLiteral("入力"));
    Command7 = placeButton(this, "Command7", 1770, 915, QStringLiteral("削除"));
    Command8 = placeButton(this, "Command8", 3135, 915, QStringLiteral("キャンセル"));
    setCancelButton(Command8);
    connect(Combo3, &QComboBox::activated, this, &CategoryPanel::Combo3_Click);
    connect(Text3, &ui::TextBox::enterPressed, Command6, [this] { ui::focusByKeyboard(Command6); });
    connect(Command6, &QPushButton::clicked, this, &CategoryPanel::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &CategoryPanel::Command7_Click);
}

void CategoryPanel::attach(const PanelContext& context, QWidget* origin) {
    setContext(context);
    setOrigin(origin);
}

void CategoryPanel::pick(int index) {
    // Setting the index from here raises nothing when it does not change; the rule runs anyway.
    Combo3->setCurrentIndex(index);
    Combo3_Click();
}

void CategoryPanel::Combo3_Click() {
    if (Combo3->currentIndex() > 0) {
        Text3->setText(Combo3->currentText());
        Command7->setEnabled(true);
    } else {
        Text3->clear();
        Command7->setEnabled(false);
    }
}

void CategoryPanel::KomoAdd_Click() {
    pick(0);
    Text3->clear();
    Command7->setEnabled(false);
    showAt(context().anchor());
    Text3->setFocus();
}

bool CategoryPanel::addNewPicked() const {
    // Decided on the picked entry's text, as the add-new entry reads; nothing picked adds too.
    return Combo3->currentText() == month_texts::kAddCategory || Combo3->currentIndex() <= 0;
}

void CategoryPanel::Command6_Click() {
    ui::guarded(dialogs(), [this] {
        const QString name = Text3->text();
        if (name.isEmpty()) {
            dialogs().warn(texts::kBlankCategory);
            return;
        }
        if (addNewPicked()) {
            writes::addCategory(context().ledger(), name.toStdString());
        } else {
            if (!dialogs().ask(Combo3->currentText() + texts::kRenameJoin + name + texts::kRenameSuffix))
                return;
            writes::renameCategory(context().ledger(), Combo3->currentData().toLongLong(),
                                   name.toStdString());
        }
        closeAfterChange();
    });
}

void CategoryPanel::Command7_Click() {
    ui::guarded(dialogs(), [this] {
        if (Combo3->currentIndex() <= 0)
            return;
        const std::int64_t key = Combo3->currentData().toLongLong();
        // The entries of every month go with the category, not only those on show.
        QString question = Combo3->currentText() + texts::kDeleteSuffix;
        if (const auto entries = writes::categoryEntryCount(context().ledger(), key); entries > 0)
            question += texts::kLineBreak + texts::kCategoryEntriesGoPrefix + QString::number(entries) +
                        texts::kCategoryEntriesGoSuffix;
        if (const auto repeating = recurring::categoryCount(context().ledger(), key); repeating > 0)
            question += texts::kLineBreak + texts::kCategoryRecurringGoPrefix + QString::number(repeating) +
                        texts::kRecurringGoSuffix;
        if (!dialogs().ask(question))
            return;
        writes::deleteCategory(context().ledger(), key);
        closeAfterChange();
    });
}

void CategoryPanel::closeAfterChange() {
    // The picker is refilled here as well as by the rebuild: with nobody registered the rebuild
    // leaves it alone, and the entry panel copies its categories from it.
    const std::vector<Category> categories = context().ledger().categories();
    Combo3->clear();
    Combo3->addItem(month_texts::kAddCategory, qint64(0));
    for (const Category& category : categories)
        Combo3->addItem(QString::fromStdString(category.name.value_or(std::string())), qint64(category.key));
    pick(0);
    hide();
    context().refresh();
    focusOrigin();
}

} // namespace sorakado::editing
