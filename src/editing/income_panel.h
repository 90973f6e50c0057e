#pragma once

#include "edit_panel.h"
#include "ui/controls.h"

namespace sorakado::editing {

// Frame2: a member's income for the month.
class IncomePanel : public EditPanel {
    Q_OBJECT
public:
    explicit IncomePanel(QWidget* parent);

    QLabel* Label6;
    ui::TextBox* Text1;
    ui::Button* Command2;
    ui::Button* Command3;
};

} // namespace sorakado::editing
