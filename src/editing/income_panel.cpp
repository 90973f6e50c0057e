#include "income_panel.h"

#include "panel_controls.h"

namespace sorakado::editing {

IncomePanel::IncomePanel(QWidget* parent) : EditPanel(QStringLiteral("Frame2"), 3450, 1410, 0, parent) {
    makeShapes(3375, 1335, 50, 110, 3375, 1275);
    makeTitle(QStringLiteral("Label6"), 105, 105, 3150, 315, QStringLiteral("収入を入力"));
    Label6 = title();
    Text1 = place<ui::TextBox>(this, "Text1", 90, 495, 3180, 375);
    Text1->setFont(ui::gothic(12, true));
    Command2 = placeButton(this, "Command2", 495, 915, QStringLiteral("入力"));
    Command3 = placeButton(this, "Command3", 1770, 915, QStringLiteral("キャンセル"));
    connect(Command3, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace sorakado::editing
