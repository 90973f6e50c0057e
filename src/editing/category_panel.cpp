#include "category_panel.h"

#include "panel_controls.h"

namespace sorakado::editing {

CategoryPanel::CategoryPanel(QWidget* parent) : EditPanel(QStringLiteral("Frame4"), 4720, 1410, 2, parent) {
    makeShapes(4635, 1335, 60, 105, 4635, 1275);
    makeTitle(QStringLiteral("Label10(0)"), 105, 105, 4440, 315, QStringLiteral("項目編集"));
    Label10_0 = title();
    Combo3 = place<ui::DropDown>(this, "Combo3", 120, 480, 1725, 360, false);
    Combo3->setFont(ui::gothic(12));
    Text3 = place<ui::TextBox>(this, "Text3", 1875, 480, 2685, 345);
    Text3->setFont(ui::gothic(12));
    Command6 = placeButton(this, "Command6", 390, 915, QStringLiteral("入力"));
    Command7 = placeButton(this, "Command7", 1770, 915, QStringLiteral("削除"));
    Command8 = placeButton(this, "Command8", 3135, 915, QStringLiteral("キャンセル"));
    connect(Command8, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace sorakado::editing
