#pragma once

#include "edit_panel.h"
#include "ui/controls.h"

namespace sorakado::editing {

// Frame4: add, rename and delete categories.
class CategoryPanel : public EditPanel {
    Q_OBJECT
public:
    explicit CategoryPanel(QWidget* parent);
    void attach(const PanelContext& context, QWidget* origin);

    // MeiMenu's 品目編集: the panel at the anchor with the add-new entry picked.
    void KomoAdd_Click();
    // The selection rule, run whenever the picked entry of Combo3 is set, by the user or here.
    void Combo3_Click();
    // 入力: adds a category while the add-new entry is picked, else renames the picked one.
    void Command6_Click();
    // 削除: the picked category with every entry filed under it.
    void Command7_Click();

    QLabel* Label10_0;
    ui::DropDown* Combo3;
    ui::TextBox* Text3;
    ui::Button* Command6;
    ui::Button* Command7;
    ui::Button* Command8;

private:
    void pick(int index);
    void closeAfterChange();
    bool addNewPicked() const;
};

} // namespace sorakado::editing
