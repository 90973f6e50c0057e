#pragma once

#include "edit_panel.h"
#include "ui/controls.h"

class QDateEdit;

namespace sorakado::editing {

// Frame5: an expense entry, added or changed.
class EntryPanel : public EditPanel {
    Q_OBJECT
public:
    explicit EntryPanel(QWidget* parent);

    QLabel* Label10_1;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    QDateEdit* DTPicker1;
    ui::DropDown* Combo4;
    ui::TextBox* Text4;
    ui::TextBox* Text5;
    ui::Button* Command9;
    ui::Button* Command10;
};

} // namespace sorakado::editing
