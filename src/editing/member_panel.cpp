#include "member_panel.h"

#include "panel_controls.h"

namespace sorakado::editing {

MemberPanel::MemberPanel(QWidget* parent) : EditPanel(QStringLiteral("Frame3"), 3450, 1410, 1, parent) {
    makeShapes(3375, 1335, 50, 110, 3375, 1275);
    makeTitle(QStringLiteral("Label9"), 90, 90, 3150, 315, QStringLiteral("名前入力"));
    Label9 = title();
    Text2 = place<ui::TextBox>(this, "Text2", 90, 495, 3150, 360);
    Text2->setFont(ui::gothic(12, true));
    Command4 = placeButton(this, "Command4", 495, 915, QStringLiteral("入力"));
    Command5 = placeButton(this, "Command5", 1770, 915, QStringLiteral("キャンセル"));
    connect(Command5, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace sorakado::editing
