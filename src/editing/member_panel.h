#pragma once

#include "edit_panel.h"
#include "ui/controls.h"

namespace sorakado::editing {

// Frame3: a member's name, registered or changed.
class MemberPanel : public EditPanel {
    Q_OBJECT
public:
    explicit MemberPanel(QWidget* parent);

    QLabel* Label9;
    ui::TextBox* Text2;
    ui::Button* Command4;
    ui::Button* Command5;
};

} // namespace sorakado::editing
