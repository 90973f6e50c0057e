#include "entry_panel.h"

#include "panel_controls.h"

#include <QDateEdit>
#include <QLocale>

namespace sorakado::editing {

namespace {

QLabel* fieldLabel(QWidget* parent, const char* name, int y, const QString& text) {
    auto* l = place<QLabel>(parent, name, 120, y, 975, 315, text);
    l->setFont(ui::gothic(12, true));
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xC0));
    l->setPalette(p);
    return l;
}

} // namespace

EntryPanel::EntryPanel(QWidget* parent) : EditPanel(QStringLiteral("Frame5"), 4410, 2610, 3, parent) {
    makeShapes(4335, 2535, 45, 105, 4335, 2475);
    makeTitle(QStringLiteral("Label10(1)"), 180, 105, 3990, 315, QStringLiteral("明　細　編　集"));
    Label10_1 = title();
    Label11 = fieldLabel(this, "Label11", 495, QStringLiteral("出費日"));
    Label12 = fieldLabel(this, "Label12", 885, QStringLiteral("品目名"));
    Label13 = fieldLabel(this, "Label13", 1275, QStringLiteral("詳細"));
    Label14 = fieldLabel(this, "Label14", 1665, QStringLiteral("金額"));
    DTPicker1 = place<QDateEdit>(this, "DTPicker1", 1140, 480, 3075, 360);
    // Japanese weekday names: 2006年04月05日 水曜日.
    DTPicker1->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy年MM月dd日 dddd"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setFont(ui::gothic(12));
    Combo4 = place<ui::DropDown>(this, "Combo4", 1140, 870, 3075, 360, false);
    Combo4->setFont(ui::gothic(12));
    Text4 = place<ui::TextBox>(this, "Text4", 1140, 1260, 3075, 360);
    Text4->setFont(ui::gothic(12));
    Text5 = place<ui::TextBox>(this, "Text5", 1140, 1650, 3075, 360);
    Text5->setFont(ui::gothic(12));
    Command9 = placeButton(this, "Command9", 720, 2100, QStringLiteral("入力"));
    Command10 = placeButton(this, "Command10", 2400, 2100, QStringLiteral("キャンセル"));
    connect(Command10, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace sorakado::editing
