#pragma once

#include "edit_panel.h"
#include "ui/controls.h"

namespace sorakado::editing {

// Frame4: add, rename and delete categories.
class CategoryPanel : public EditPanel {
    Q_OBJECT
public:
    explicit CategoryPanel(QWidget* parent);

    QLabel* Label10_0;
    ui::DropDown* Combo3;
    ui::TextBox* Text3;
    ui::Button* Command6;
    ui::Button* Command7;
    ui::Button* Command8;
};

} // namespace sorakado::editing
