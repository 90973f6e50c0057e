// The controls of Form1: kind, rectangle (twips), text, font, colours, initial state, tab order
// and stacking, exactly as the window was laid out.
#include "form1.h"
#include "list_geometry.h"

#include "editing/category_panel.h"
#include "editing/entry_panel.h"
#include "editing/income_panel.h"
#include "editing/member_panel.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/report_list.h"
#include "ui/shapes.h"
#include "ui/twips.h"
#include "ui/yen_label.h"

#include "sorakado_version.h"

#include <QAction>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <utility>
#include <vector>

namespace sorakado::shell {

using ui::gothic;
using ui::heavyGothic;
using ui::rectTw;

namespace {

void setColours(QWidget* w, std::optional<QColor> text, std::optional<QColor> background) {
    QPalette p = w->palette();
    if (text)
        p.setColor(QPalette::WindowText, *text);
    if (background) {
        p.setColor(QPalette::Window, *background);
        w->setAutoFillBackground(true);
    }
    w->setPalette(p);
}

// A label laid out at its rectangle; one "sized to its text" grows or shrinks with its text.
template <class L = QLabel>
L* label(QWidget* parent, const char* name, QRect r, const QString& text, const QFont& font,
         bool autoSize = false, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop) {
    auto* l = new L(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(font);
    l->setGeometry(r);
    l->setAlignment(align);
    l->setProperty("sizedToText", autoSize);
    if (autoSize)
        l->adjustSize();
    return l;
}

QGroupBox* frame(QWidget* parent, const char* name, QRect r, const QString& caption, QColor background) {
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setGeometry(r);
    f->setFont(gothic(14.25, true));
    setColours(f, std::nullopt, background);
    return f;
}

QAction* item(QMenu* menu, const char* name, const QString& caption) {
    auto* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* line = menu->addSeparator();
    line->setObjectName(QString::fromLatin1(name));
    return line;
}

// The history's two items after a separator, all hidden until the history has a step.
void historyItems(QMenu* menu, const char* line, const char* undo, const char* redo, QAction*& undoItem,
                  QAction*& redoItem) {
    separator(menu, line)->setVisible(false);
    undoItem = item(menu, undo, QString());
    redoItem = item(menu, redo, QString());
    undoItem->setVisible(false);
    redoItem->setVisible(false);
}

} // namespace

void Form1::buildLayout() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Hinoboru Var" SORAKADO_VERSION));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ui::px(15225), ui::px(10695));
    setFont(gothic(9));

    // Period selectors, under the picture button that covers them in browse mode.
    Frame1 =
        frame(this, "Frame1", rectTw(0, 0, 3795, 975), QStringLiteral("入力年月"), QColor(0xFF, 0xC0, 0xC0));
    Frame1->setEnabled(false);
    Combo1 = new ui::DropDown(true, Frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(rectTw(180, 420, 1035, 405));
    Combo1->setFont(gothic(14.25));
    Combo1->setOpensOnFocus(true);
    Combo1->setCompactButton();
    Label2 = label(Frame1, "Label2", rectTw(1260, 480, 285, 285), QStringLiteral("年"), gothic(14.25), true);
    Combo2 = new ui::DropDown(true, Frame1);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setGeometry(rectTw(1620, 420, 675, 405));
    Combo2->setFont(gothic(14.25));
    Combo2->setOpensOnFocus(true);
    Combo2->setCompactButton();
    for (int m = 1; m <= 12; ++m)
        Combo2->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')), 0);
    Combo2->setCurrentIndex(-1);
    Label3 = label(Frame1, "Label3", rectTw(2340, 480, 285, 285), QStringLiteral("月"), gothic(14.25), true);
    Command1 = new ui::Button(QStringLiteral("更新"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(rectTw(2700, 405, 975, 375));
    Command1->setFont(gothic(14.25));

    Command11 = new ui::Button(this);
    Command11->setObjectName(QStringLiteral("Command11"));
    Command11->setGeometry(rectTw(0, 0, 3795, 975));
    Command11->setFont(gothic(18, true));
    Command11->setIcon(QIcon(QStringLiteral(":/command11.png")));
    Command11->setIconSize(QSize(250, 59));
    Command11->setStyleSheet(QStringLiteral("QPushButton#Command11 { background-color: #C0C0C0; }"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(rectTw(3825, 0, 11370, 975));
    Image1->setPixmap(QPixmap(QStringLiteral(":/banner.png")));
    Image1->setScaledContents(true);

    Label27 = label(this, "Label27", rectTw(14340, 795, 795, 180), QStringLiteral("Ver " SORAKADO_VERSION),
                    gothic(9, true), true);
    setColours(Label27, QColor(0xC0, 0x00, 0x00), std::nullopt);

    // Headings of the three lists, with the hint labels in front of them.
    Label1 = label(this, "Label1", rectTw(0, 990, 3795, 615), QStringLiteral("収入表示"), gothic(18), false,
                   Qt::AlignHCenter | Qt::AlignTop);
    setColours(Label1, QColor(0x80, 0x40, 0x00), QColor(0xFF, 0xFF, 0x80));
    Label5 = label(this, "Label5", rectTw(3825, 990, 7590, 615), QStringLiteral("  出費明細     "),
                   gothic(27.75, true), false, Qt::AlignHCenter | Qt::AlignTop);
    setColours(Label5, QColor(0xFF, 0x80, 0x00), QColor(0xC0, 0xFF, 0xFF));
    Label4 = label(this, "Label4", rectTw(11445, 990, 3750, 615), QStringLiteral("品目ごと合計"),
                   gothic(27.75, true), false, Qt::AlignHCenter | Qt::AlignTop);
    setColours(Label4, QColor(0x00, 0x00, 0x00), QColor(0xFF, 0x80, 0x80));
    Label16 = label(this, "Label16", rectTw(60, 1365, 3315, 180),
                    QStringLiteral("■下のﾘｽﾄを右ｸﾘｯｸし名前を登録して下さい"), gothic(9), true);
    Label18 = label(this, "Label18", rectTw(3870, 1185, 2235, 180),
                    QStringLiteral("■明細を入力する前に品目を"), gothic(9), true);
    Label17 = label(this, "Label17", rectTw(8685, 1185, 2640, 180),
                    QStringLiteral("■下のﾘｽﾄ内を右ｸﾘｯｸでﾒﾆｭｰ表示"), gothic(9), true);
    for (QLabel* hint : {Label16, Label18, Label17})
        setColours(hint, QColor(0xFF, 0x00, 0x00), std::nullopt);

    // Hidden holders of the selected member key and entry key.
    Label7 = label(this, "Label7", rectTw(480, 375, 405, 225), QStringLiteral("Label7"), gothic(9));
    Label7->hide();
    Label8 = label(this, "Label8", rectTw(1260, 360, 555, 195), QStringLiteral("Label8"), gothic(9));
    Label8->hide();

    ListView1 = new ui::ReportList(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(rectTw(0, kListsTopTw, 3795, 4095));
    ListView1->setFont(gothic(12));
    ListView1->setColumns({{QStringLiteral("名前(右ｸﾘｯｸ編集)"), 2040, Qt::AlignLeft},
                           {QStringLiteral("収入"), 1460, Qt::AlignRight}});
    ListView2 = new ui::ReportList(this);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setGeometry(rectTw(3810, kListsTopTw, 7620, 9105));
    ListView2->setFont(gothic(12.75));
    {
        QPalette p = ListView2->palette();
        p.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFF));
        ListView2->setPalette(p);
    }
    ListView2->setColumns({{QStringLiteral("日付"), 2050, Qt::AlignLeft},
                           {QStringLiteral("項目名"), 1730, Qt::AlignLeft},
                           {QStringLiteral("詳細"), 1900, Qt::AlignLeft},
                           {QStringLiteral("金額"), 1600, Qt::AlignRight}});
    ListView3 = new ui::ReportList(this);
    ListView3->setObjectName(QStringLiteral("ListView3"));
    ListView3->setGeometry(rectTw(11430, kListsTopTw, 3795, 9105));
    ListView3->setFont(gothic(12.75));
    ListView3->setColumns({{QStringLiteral("項目名"), 2030, Qt::AlignLeft},
                           {QStringLiteral("項目合計"), 1440, Qt::AlignRight}});

    // Status panel.
    Frame6 = frame(this, "Frame6", rectTw(0, 5700, 3795, 4995), QStringLiteral("今月の状況"),
                   QColor(0xFF, 0xE0, 0xC0));
    const QColor income(0x80, 0x80, 0xFF), expense(0xFF, 0x80, 0x80), balance(0xFF, 0x80, 0xFF);
    Label19 = label(Frame6, "Label19", rectTw(60, 300, 2145, 435), QStringLiteral("今月の収入"),
                    heavyGothic(21.75), true);
    Label20 = label<ui::YenLabel>(Frame6, "Label20", rectTw(60, 780, 3645, 360), QStringLiteral("\\0"),
                                  heavyGothic(18), false, Qt::AlignRight | Qt::AlignVCenter);
    Line1[0] = new ui::LineShape(3720, 1200, 60, 1200, Frame6);
    Label21 = label(Frame6, "Label21", rectTw(60, 1500, 2145, 435), QStringLiteral("今月の出費"),
                    heavyGothic(21.75), true);
    Label22 = label<ui::YenLabel>(Frame6, "Label22", rectTw(60, 2040, 3645, 360), QStringLiteral("\\0"),
                                  heavyGothic(18), false, Qt::AlignRight | Qt::AlignVCenter);
    Line1[1] = new ui::LineShape(3720, 2460, 60, 2460, Frame6);
    Label23 = label(Frame6, "Label23", rectTw(60, 2760, 1950, 435), QStringLiteral("今月は・・・"),
                    heavyGothic(21.75), true);
    Label24 = label<ui::YenLabel>(Frame6, "Label24", rectTw(60, 3360, 3645, 360), QStringLiteral("\\0"),
                                  heavyGothic(18), false, Qt::AlignRight | Qt::AlignVCenter);
    Line1[2] = new ui::LineShape(3720, 3750, 60, 3750, Frame6);
    Label25 = label(Frame6, "Label25", rectTw(60, 3840, 3690, 1095), QString(), heavyGothic(21.75), false,
                    Qt::AlignCenter);
    for (int i = 0; i < 3; ++i)
        Line1[i]->setObjectName(QStringLiteral("Line1(%1)").arg(i));
    setColours(Label19, income, std::nullopt);
    setColours(Label20, income, std::nullopt);
    setColours(Label21, expense, std::nullopt);
    setColours(Label22, expense, std::nullopt);
    setColours(Label23, balance, std::nullopt);
    setColours(Label24, balance, std::nullopt);
    setColours(Label25, QColor(0x00, 0x00, 0xFF), std::nullopt);

    Frame2 = new editing::IncomePanel(this);
    Frame3 = new editing::MemberPanel(this);
    Frame4 = new editing::CategoryPanel(this);
    Frame5 = new editing::EntryPanel(this);

    // Stacking: the picture button over the selectors, the banner under its version label, the
    // hint labels over the headings, the panels over everything.
    Command11->raise();
    Label27->raise();
    for (QLabel* hint : {Label16, Label18, Label17})
        hint->raise();
    for (QWidget* panel : std::initializer_list<QWidget*>{Frame2, Frame3, Frame4, Frame5})
        panel->raise();

    // Keyboard order as laid out; controls that take no focus are left out of the chain.
    std::vector<std::pair<int, QWidget*>> order{{0, Command11},
                                                {1, ListView1},
                                                {3, Combo1},
                                                {4, Combo2},
                                                {5, Command1},
                                                {9, ListView2},
                                                {10, ListView3},
                                                {14, Frame2->Text1},
                                                {15, Frame2->Command2},
                                                {16, Frame2->Command3},
                                                {22, Frame3->Text2},
                                                {23, Frame3->Command4},
                                                {24, Frame3->Command5},
                                                {27, Frame4->Combo3},
                                                {28, Frame4->Text3},
                                                {29, Frame4->Command6},
                                                {30, Frame4->Command7},
                                                {31, Frame4->Command8},
                                                {34, Frame5->DTPicker1},
                                                {35, Frame5->Combo4},
                                                {36, Frame5->Text4},
                                                {37, Frame5->Text5},
                                                {38, Frame5->Command9},
                                                {39, Frame5->Command10}};
    std::sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& [index, widget] : order)
        widget->setProperty("tabIndex", index);
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);
}

void Form1::buildMenus() {
    SyuMenu = new QMenu(QStringLiteral("収入メニュー"), this);
    SyuMenu->setObjectName(QStringLiteral("SyuMenu"));
    NameAdd = item(SyuMenu, "NameAdd", QStringLiteral("名前登録"));
    NameUp = item(SyuMenu, "NameUp", QStringLiteral("名前変更"));
    NameDel = item(SyuMenu, "NameDel", QStringLiteral("名前削除"));
    separator(SyuMenu, "S0");
    SyuUp = item(SyuMenu, "SyuUp", QStringLiteral("収入変更"));
    separator(SyuMenu, "S1");
    ClipBoard1 = item(SyuMenu, "ClipBoard1", QStringLiteral("リスト内容をコピー"));

    MeiMenu = new QMenu(QStringLiteral("明細メニュー"), this);
    MeiMenu->setObjectName(QStringLiteral("MeiMenu"));
    MeiAdd = item(MeiMenu, "MeiAdd", QStringLiteral("明細入力"));
    MeiUp = item(MeiMenu, "MeiUp", QStringLiteral("明細変更"));
    MeiDel = item(MeiMenu, "MeiDel", QStringLiteral("明細削除"));
    separator(MeiMenu, "S2");
    KomoAdd = item(MeiMenu, "KomoAdd", QStringLiteral("品目編集"));
    MeiFind = item(MeiMenu, "MeiFind", QStringLiteral("明細検索…　Ctrl+F"));
    MeiTeiki = item(MeiMenu, "MeiTeiki", QStringLiteral("定期明細…"));
    MeiImport = item(MeiMenu, "MeiImport", QStringLiteral("明細の取り込み…"));
    separator(MeiMenu, "S3");
    ClipBoard2 = item(MeiMenu, "ClipBoard2", QStringLiteral("リスト内容をコピー"));

    HinMenu = new QMenu(QStringLiteral("品目メニュー"), this);
    HinMenu->setObjectName(QStringLiteral("HinMenu"));
    ClipBoard3 = item(HinMenu, "ClipBoard3", QStringLiteral("リスト内容をコピー"));

    historyItems(SyuMenu, "S4", "SyuUndo", "SyuRedo", SyuUndo, SyuRedo);
    historyItems(MeiMenu, "S5", "MeiUndo", "MeiRedo", MeiUndo, MeiRedo);
    historyItems(HinMenu, "S6", "HinUndo", "HinRedo", HinUndo, HinRedo);

    // Every separator is drawn, even two in a row once the items between them are hidden: the
    // income menu with nobody picked shows its two lines.
    for (QMenu* menu : {SyuMenu, MeiMenu, HinMenu})
        menu->setSeparatorsCollapsible(false);
}

} // namespace sorakado::shell
