// The main window as laid out: every control's place, text, font, colours and initial state,
// the list columns, the four edit panels, the pop-up menus, the tab order and the stacking.

#include "window_support.h"

#include "editing/entry_panel.h"
#include "editing/income_panel.h"
#include "editing/member_panel.h"
#include "ui/shapes.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>

#include <map>

#include <gtest/gtest.h>

namespace sorakado::testing {
namespace {

using ui::rectTw;

enum Weight { Plain, Bold, Heavy };
enum Look { Opaque, Transparent, SizedToText }; // SizedToText is transparent too

struct Control {
    QWidget* member;
    const char* name;
    const char* parent;
    QRect rectTwips;
    const char* text; // nullptr: not checked
    double points;
    Weight weight;
    bool visible, enabled;
    Look look = Opaque;
    std::optional<QColor> textColour = std::nullopt;
    std::optional<QColor> background = std::nullopt;
    Qt::Alignment alignment = {};
};

QString textOf(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    return {};
}

void checkControl(const Control& c, QWidget* window) {
    SCOPED_TRACE(c.name);
    auto* found = window->findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, c.member);
    EXPECT_EQ(found->parentWidget()->objectName().toStdString(), c.parent);

    const QRect& r = c.rectTwips;
    const QRect expected = rectTw(r.x(), r.y(), r.width(), r.height());
    if (c.look == SizedToText) {
        // Placed at its corner and as large as its text needs in the substitute face, whose
        // metrics differ from the original faces (the heavy face is not proportional).
        EXPECT_EQ(found->pos(), expected.topLeft());
        EXPECT_EQ(found->size(), found->sizeHint());
        EXPECT_TRUE(found->parentWidget()->rect().contains(found->geometry())) << "cut off by its container";
    } else {
        EXPECT_EQ(found->geometry(), expected);
    }
    if (c.text) {
        EXPECT_EQ(textOf(found).toStdString(), c.text);
    }
    EXPECT_DOUBLE_EQ(found->font().pointSizeF(), c.points);
    switch (c.weight) {
    case Plain:
        EXPECT_FALSE(found->font().bold());
        break;
    case Bold:
        EXPECT_EQ(found->font().weight(), QFont::Bold);
        break;
    case Heavy:
        EXPECT_GE(found->font().weight(), QFont::ExtraBold);
        break;
    }
    EXPECT_EQ(found->isVisibleTo(found->parentWidget()), c.visible);
    EXPECT_EQ(found->isEnabledTo(found->parentWidget()), c.enabled);
    if (c.look != Opaque) {
        EXPECT_FALSE(found->autoFillBackground()) << "transparent";
    }
    if (c.textColour) {
        EXPECT_EQ(found->palette().color(QPalette::WindowText).name().toStdString(),
                  c.textColour->name().toStdString());
    }
    if (c.background) {
        EXPECT_TRUE(found->autoFillBackground());
        EXPECT_EQ(found->palette().color(QPalette::Window).name().toStdString(),
                  c.background->name().toStdString());
    }
    auto* label = qobject_cast<QLabel*>(found);
    if (c.alignment && label) {
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, c.alignment);
    }
}

class LayoutTest : public ::testing::Test {
protected:
    WindowFixture f;
    Form1 w{f.dialogs, f.clock, f.file.path()};
};

TEST_F(LayoutTest, EveryControlHasItsPlaceTextFontColoursAndState) {
    const QColor red(0xFF, 0, 0), income(0x80, 0x80, 0xFF), expense(0xFF, 0x80, 0x80),
        balance(0xFF, 0x80, 0xFF);
    const auto T = Transparent;
    const auto S = SizedToText;
    const auto R = Qt::AlignRight, C = Qt::AlignHCenter;
    // clang-format off
    const std::vector<Control> controls{
        {w.Frame1, "Frame1", "Form1", QRect(0, 0, 3795, 975), "入力年月", 14.25, Bold, true, false, Opaque,
         {}, QColor(0xFF, 0xC0, 0xC0)},
        {w.Combo1, "Combo1", "Frame1", QRect(180, 420, 1035, 405), "", 14.25, Plain, true, true},
        {w.Label2, "Label2", "Frame1", QRect(1260, 480, 285, 285), "年", 14.25, Plain, true, true, S},
        {w.Combo2, "Combo2", "Frame1", QRect(1620, 420, 675, 405), "", 14.25, Plain, true, true},
        {w.Label3, "Label3", "Frame1", QRect(2340, 480, 285, 285), "月", 14.25, Plain, true, true, S},
        {w.Command1, "Command1", "Frame1", QRect(2700, 405, 975, 375), "更新", 14.25, Plain, true, true},
        {w.Command11, "Command11", "Form1", QRect(0, 0, 3795, 975), "", 18, Bold, true, true},
        {w.Image1, "Image1", "Form1", QRect(3825, 0, 11370, 975), nullptr, 9, Plain, true, true},
        {w.Label27, "Label27", "Form1", QRect(14340, 795, 795, 180), "Ver 1.0.3", 9, Bold, true, true, S,
         QColor(0xC0, 0, 0)},
        {w.Label16, "Label16", "Form1", QRect(60, 1365, 3315, 180), "■下のﾘｽﾄを右ｸﾘｯｸし名前を登録して下さい", 9,
         Plain, true, true, S, red},
        {w.Label18, "Label18", "Form1", QRect(3870, 1185, 2235, 180), "■明細を入力する前に品目を", 9, Plain, true,
         true, S, red},
        {w.Label17, "Label17", "Form1", QRect(8685, 1185, 2640, 180), "■下のﾘｽﾄ内を右ｸﾘｯｸでﾒﾆｭｰ表示", 9, Plain,
         true, true, S, red},
        {w.Label1, "Label1", "Form1", QRect(0, 990, 3795, 615), "収入表示", 18, Plain, true, true, Opaque,
         QColor(0x80, 0x40, 0), QColor(0xFF, 0xFF, 0x80), C},
        {w.Label5, "Label5", "Form1", QRect(3825, 990, 7590, 615), "  出費明細     ", 27.75, Bold, true, true,
         Opaque, QColor(0xFF, 0x80, 0), QColor(0xC0, 0xFF, 0xFF), C},
        {w.Label4, "Label4", "Form1", QRect(11445, 990, 3750, 615), "品目ごと合計", 27.75, Bold, true, true,
         Opaque, QColor(0, 0, 0), QColor(0xFF, 0x80, 0x80), C},
        {w.Label7, "Label7", "Form1", QRect(480, 375, 405, 225), "Label7", 9, Plain, false, true},
        {w.Label8, "Label8", "Form1", QRect(1260, 360, 555, 195), "Label8", 9, Plain, false, true},
        {w.ListView1, "ListView1", "Form1", QRect(0, 1605, 3795, 4095), nullptr, 12, Plain, true, true},
        {w.ListView2, "ListView2", "Form1", QRect(3810, 1605, 7620, 9105), nullptr, 12.75, Plain, true, true},
        {w.ListView3, "ListView3", "Form1", QRect(11430, 1605, 3795, 9105), nullptr, 12.75, Plain, true, true},
        {w.Frame6, "Frame6", "Form1", QRect(0, 5700, 3795, 4995), "今月の状況", 14.25, Bold, true, true, Opaque,
         {}, QColor(0xFF, 0xE0, 0xC0)},
        {w.Label19, "Label19", "Frame6", QRect(60, 300, 2145, 435), "今月の収入", 21.75, Heavy, true, true, S, income},
        {w.Label20, "Label20", "Frame6", QRect(60, 780, 3645, 360), "\\0", 18, Heavy, true, true, T, income, {}, R},
        {w.Label21, "Label21", "Frame6", QRect(60, 1500, 2145, 435), "今月の出費", 21.75, Heavy, true, true, S, expense},
        {w.Label22, "Label22", "Frame6", QRect(60, 2040, 3645, 360), "\\0", 18, Heavy, true, true, T, expense, {}, R},
        {w.Label23, "Label23", "Frame6", QRect(60, 2760, 1950, 435), "今月は・・・", 21.75, Heavy, true, true, S,
         balance},
        {w.Label24, "Label24", "Frame6", QRect(60, 3360, 3645, 360), "\\0", 18, Heavy, true, true, T, balance, {}, R},
        {w.Label25, "Label25", "Frame6", QRect(60, 3840, 3690, 1095), "", 21.75, Heavy, true, true, T,
         QColor(0, 0, 0xFF), {}, C},
    };
    // clang-format on
    for (const auto& c : controls)
        checkControl(c, &w);

    // The selectors of Frame1 stay out of reach until Command11 is clicked.
    EXPECT_FALSE(w.Combo1->isEnabled());
    EXPECT_FALSE(w.Command1->isEnabled());
    EXPECT_TRUE(w.Combo1->isEditable());
    EXPECT_TRUE(w.Combo2->isEditable());
    EXPECT_EQ(w.ListView2->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
}

TEST_F(LayoutTest, WindowHasItsCaptionAFixedClientAreaAndNoMaximizeButton) {
    EXPECT_EQ(w.windowTitle().toStdString(), "Hinoboru Var1.0.3");
    EXPECT_EQ(w.minimumSize(), QSize(1015, 713));
    EXPECT_EQ(w.maximumSize(), QSize(1015, 713));
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(w.windowIcon().isNull());
    EXPECT_EQ(w.panelAnchor(), QPoint(0, 0));
}

TEST_F(LayoutTest, MonthSelectorHoldsTheTwelveMonthsWithItemDataZero) {
    ASSERT_EQ(w.Combo2->count(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(w.Combo2->itemText(i), QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0')));
        EXPECT_EQ(w.Combo2->itemData(i).toInt(), 0);
    }
    EXPECT_EQ(w.Combo1->count(), 0);
}

TEST_F(LayoutTest, ListsHaveTheirColumnHeadingsWidthsAndAlignment) {
    struct Column {
        const char* heading;
        int twips;
        Qt::Alignment alignment;
    };
    const auto L = Qt::AlignLeft, R = Qt::AlignRight;
    // clang-format off
    const std::vector<std::pair<ui::ReportList*, std::vector<Column>>> lists{
        {w.ListView1, {{"名前(右ｸﾘｯｸ編集)", 2040, L}, {"収入", 1460, R}}},
        {w.ListView2, {{"日付", 2050, L}, {"項目名", 1730, L}, {"詳細", 1900, L}, {"金額", 1600, R}}},
        {w.ListView3, {{"項目名", 2030, L}, {"項目合計", 1440, R}}},
    };
    // clang-format on
    for (const auto& [list, columns] : lists) {
        SCOPED_TRACE(list->objectName().toStdString());
        ASSERT_EQ(list->columnCount(), static_cast<int>(columns.size()));
        for (int i = 0; i < list->columnCount(); ++i) {
            EXPECT_EQ(list->headings()[i].toStdString(), columns[i].heading);
            EXPECT_EQ(list->columnWidth(i), ui::px(columns[i].twips)) << columns[i].heading;
            EXPECT_EQ(
                Qt::Alignment(list->model()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole).toInt()) &
                    Qt::AlignHorizontal_Mask,
                columns[i].alignment)
                << columns[i].heading;
        }
        EXPECT_EQ(list->rowCount(), 0);
        EXPECT_TRUE(list->isEnabled());
    }
}

struct PanelControl {
    const char* name;
    QRect rectTwips;
    const char* text;
    double points;
    bool bold;
};

struct Panel {
    QFrame* frame;
    const char* name;
    QSize sizeTwips;
    int index;
    QRect shape1, shape2;
    const char* title;
    std::vector<PanelControl> controls;
};

TEST_F(LayoutTest, EditPanelsAreHiddenWhiteFramesWithTitleShapesAndControls) {
    // clang-format off
    const std::vector<Panel> panels{
        {w.Frame2, "Frame2", {3450, 1410}, 0, {0, 0, 3375, 1335}, {50, 110, 3375, 1275}, "Label6",
         {{"Label6", {105, 105, 3150, 315}, "収入を入力", 12, true},
          {"Text1", {90, 495, 3180, 375}, "", 12, true},
          {"Command2", {495, 915, 1095, 285}, "入力", 9, false},
          {"Command3", {1770, 915, 1095, 285}, "キャンセル", 9, false}}},
        {w.Frame3, "Frame3", {3450, 1410}, 1, {0, 0, 3375, 1335}, {50, 110, 3375, 1275}, "Label9",
         {{"Label9", {90, 90, 3150, 315}, "名前入力", 12, true},
          {"Text2", {90, 495, 3150, 360}, "", 12, true},
          {"Command4", {495, 915, 1095, 285}, "入力", 9, false},
          {"Command5", {1770, 915, 1095, 285}, "キャンセル", 9, false}}},
        {w.Frame4, "Frame4", {4720, 1410}, 2, {0, 0, 4635, 1335}, {60, 105, 4635, 1275}, "Label10(0)",
         {{"Label10(0)", {105, 105, 4440, 315}, "項目編集", 12, true},
          {"Combo3", {120, 480, 1725, 360}, "", 12, false},
          {"Text3", {1875, 480, 2685, 345}, "", 12, false},
          {"Command6", {390, 915, 1095, 285}, "入力", 9, false},
          {"Command7", {1770, 915, 1095, 285}, "削除", 9, false},
          {"Command8", {3135, 915, 1095, 285}, "キャンセル", 9, false}}},
        {w.Frame5, "Frame5", {4410, 2610}, 3, {0, 0, 4335, 2535}, {45, 105, 4335, 2475}, "Label10(1)",
         {{"Label10(1)", {180, 105, 3990, 315}, "明　細　編　集", 12, true},
          {"Label11", {120, 495, 975, 315}, "出費日", 12, true},
          {"Label12", {120, 885, 975, 315}, "品目名", 12, true},
          {"Label13", {120, 1275, 975, 315}, "詳細", 12, true},
          {"Label14", {120, 1665, 975, 315}, "金額", 12, true},
          {"DTPicker1", {1140, 480, 3075, 360}, nullptr, 12, false},
          {"Combo4", {1140, 870, 3075, 360}, "", 12, false},
          {"Text4", {1140, 1260, 3075, 360}, "", 12, false},
          {"Text5", {1140, 1650, 3075, 360}, "", 12, false},
          {"Command9", {720, 2100, 1095, 285}, "入力", 9, false},
          {"Command10", {2400, 2100, 1095, 285}, "キャンセル", 9, false}}},
    };
    // clang-format on
    for (const auto& p : panels) {
        SCOPED_TRACE(p.name);
        ASSERT_EQ(w.findChild<QFrame*>(QString::fromLatin1(p.name)), p.frame);
        EXPECT_EQ(p.frame->parentWidget(), &w);
        EXPECT_EQ(p.frame->size(), QSize(ui::px(p.sizeTwips.width()), ui::px(p.sizeTwips.height())));
        EXPECT_FALSE(p.frame->isVisibleTo(&w));
        EXPECT_EQ(p.frame->frameShape(), QFrame::NoFrame);
        EXPECT_EQ(p.frame->palette().color(QPalette::Window), QColor(Qt::white));

        // Both shapes lie behind every control of the panel.
        const QObjectList children = p.frame->children();
        qsizetype lastShape = -1;
        for (const auto& [shapeName, r] :
             {std::pair{"Shape1(%1)", p.shape1}, std::pair{"Shape2(%1)", p.shape2}}) {
            const QString name = QString::fromLatin1(shapeName).arg(p.index);
            auto* shape = p.frame->findChild<ui::RoundedShape*>(name);
            ASSERT_NE(shape, nullptr) << name.toStdString();
            EXPECT_EQ(shape->geometry(), rectTw(r.x(), r.y(), r.width(), r.height())) << name.toStdString();
            lastShape = std::max(lastShape, children.indexOf(shape));
        }
        for (const auto& c : p.controls) {
            SCOPED_TRACE(c.name);
            auto* control = p.frame->findChild<QWidget*>(QString::fromLatin1(c.name));
            ASSERT_NE(control, nullptr);
            EXPECT_GT(children.indexOf(control), lastShape) << "drawn behind a shape";
            const QRect& r = c.rectTwips;
            EXPECT_EQ(control->geometry(), rectTw(r.x(), r.y(), r.width(), r.height()));
            if (c.text) {
                EXPECT_EQ(textOf(control).toStdString(), c.text);
            }
            EXPECT_DOUBLE_EQ(control->font().pointSizeF(), c.points);
            EXPECT_EQ(control->font().bold(), c.bold);
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                EXPECT_FALSE(combo->isEditable()) << "a list without typing";
                EXPECT_EQ(combo->count(), 0);
            }
        }
        // The title: white bold text, centred, on blue.
        auto* title = p.frame->findChild<QLabel*>(QString::fromLatin1(p.title));
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_EQ(title->palette().color(QPalette::Window), QColor(0, 0, 0xFF));
        EXPECT_TRUE(title->autoFillBackground());
    }
    for (QLabel* field : {w.Frame5->Label11, w.Frame5->Label12, w.Frame5->Label13, w.Frame5->Label14})
        EXPECT_EQ(field->palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xC0))
            << field->objectName().toStdString();
}

TEST_F(LayoutTest, DatePickerShowsFullYearTwoDigitMonthAndDayAndTheJapaneseWeekday) {
    w.Frame5->DTPicker1->setDate(QDate(2006, 4, 5));
    EXPECT_EQ(w.Frame5->DTPicker1->text().toStdString(), "2006年04月05日 水曜日");
}

// Whether the status panel shows a line at each point (twips of Frame6) on the three rules.
void expectStatusLines(Form1& w, std::initializer_list<int> xsTw) {
    const QImage panel = w.Frame6->grab().toImage();
    for (int yTw : {1200, 2460, 3750})
        for (int xTw : xsTw) {
            // The line stands out from the panel just above and below it.
            const QPoint p = ui::pointTw(xTw, yTw);
            EXPECT_NE(panel.pixelColor(p), panel.pixelColor(p + QPoint(0, 3)))
                << "no line at " << xTw << ',' << yTw;
            EXPECT_NE(panel.pixelColor(p), panel.pixelColor(p - QPoint(0, 3)))
                << "no line at " << xTw << ',' << yTw;
        }
}

TEST_F(LayoutTest, StatusPanelLinesAreDrawnAcrossThePanelBelowEachFigure) {
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.Frame6->findChild<ui::LineShape*>(QStringLiteral("Line1(%1)").arg(i)), w.Line1[i]);
    expectStatusLines(w, {3720, 1890, 75});
}

// Each status panel line reaches its left end point.
TEST_F(LayoutTest, StatusPanelLinesReachTheirLeftEnd) {
    expectStatusLines(w, {60});
}

TEST_F(LayoutTest, PopUpMenusHoldTheirItemsInOrder) {
    struct Item {
        const char* name;
        const char* text; // nullptr: a separator
    };
    // clang-format off
    const std::vector<std::tuple<QMenu*, const char*, const char*, std::vector<Item>>> menus{
        {w.SyuMenu, "SyuMenu", "収入メニュー",
         {{"NameAdd", "名前登録"}, {"NameUp", "名前変更"}, {"NameDel", "名前削除"}, {"S0", nullptr},
          {"SyuUp", "収入変更"}, {"S1", nullptr}, {"ClipBoard1", "リスト内容をコピー"}}},
        {w.MeiMenu, "MeiMenu", "明細メニュー",
         {{"MeiAdd", "明細入力"}, {"MeiUp", "明細変更"}, {"MeiDel", "明細削除"}, {"S2", nullptr},
          {"KomoAdd", "品目編集"}, {"MeiFind", "明細検索…　Ctrl+F"}, {"MeiTeiki", "定期明細…"}, {"MeiImport", "明細の取り込み…"}, {"S3", nullptr},
          {"ClipBoard2", "リスト内容をコピー"}}},
        {w.HinMenu, "HinMenu", "品目メニュー", {{"ClipBoard3", "リスト内容をコピー"}}},
    };
    // clang-format on
    // After the designed items: the history's separator and items, hidden while it has no step.
    const std::map<std::string, std::vector<std::string>> history{{"SyuMenu", {"S4", "SyuUndo", "SyuRedo"}},
                                                                  {"MeiMenu", {"S5", "MeiUndo", "MeiRedo"}},
                                                                  {"HinMenu", {"S6", "HinUndo", "HinRedo"}}};
    for (const auto& [menu, name, title, items] : menus) {
        SCOPED_TRACE(name);
        EXPECT_EQ(w.findChild<QMenu*>(QString::fromLatin1(name)), menu);
        EXPECT_EQ(menu->title().toStdString(), title);
        EXPECT_FALSE(menu->isVisible());
        const auto actions = menu->actions();
        const auto& after = history.at(name);
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size() + after.size()));
        for (size_t i = 0; i < after.size(); ++i) {
            const QAction* a = actions[qsizetype(items.size() + i)];
            EXPECT_EQ(a->objectName().toStdString(), after[i]);
            EXPECT_EQ(a->isSeparator(), i == 0);
            EXPECT_FALSE(a->isVisible());
        }
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(actions[i]->objectName().toStdString(), items[i].name);
            EXPECT_EQ(actions[i]->isSeparator(), items[i].text == nullptr) << items[i].name;
            if (items[i].text) {
                EXPECT_EQ(actions[i]->text().toStdString(), items[i].text);
            }
            EXPECT_TRUE(actions[i]->isVisible()) << items[i].name;
        }
    }
    EXPECT_EQ(w.NameAdd, w.SyuMenu->actions()[0]);
    EXPECT_EQ(w.ClipBoard3, w.HinMenu->actions()[0]);
}

TEST_F(LayoutTest, TabChainVisitsTheFocusableControlsInTabIndexOrder) {
    // clang-format off
    const QStringList expected{"Command11", "ListView1", "Combo1",   "Combo2",    "Command1", "ListView2",
                               "ListView3", "Text1",     "Command2", "Command3",  "Text2",    "Command4",
                               "Command5",  "Combo3",    "Text3",    "Command6",  "Command7", "Command8",
                               "DTPicker1", "Combo4",    "Text4",    "Text5",     "Command9", "Command10"};
    // clang-format on
    QStringList chain;
    int lastIndex = -1;
    QWidget* at = w.Command11;
    do {
        if (at->property("tabIndex").isValid() && !chain.contains(at->objectName())) {
            chain << at->objectName();
            EXPECT_GT(at->property("tabIndex").toInt(), lastIndex) << at->objectName().toStdString();
            lastIndex = at->property("tabIndex").toInt();
        }
        at = at->nextInFocusChain();
    } while (at != w.Command11 && chain.size() < 100);
    EXPECT_EQ(chain.join(u' ').toStdString(), expected.join(u' ').toStdString());
}

TEST_F(LayoutTest, OverlappingControlsStackInTheirOrder) {
    ASSERT_TRUE(showActive(w));
    auto at = [&](QWidget* child, QPoint offset) { return w.childAt(child->mapTo(&w, offset)); };
    auto centre = [&](QWidget* child) { return at(child, child->rect().center()); };

    EXPECT_EQ(centre(w.Frame1), w.Command11) << "the picture button covers the selectors";
    EXPECT_EQ(centre(w.Label16), w.Label16) << "in front of Label1";
    EXPECT_EQ(centre(w.Label17), w.Label17) << "in front of Label5";
    EXPECT_EQ(centre(w.Label18), w.Label18) << "in front of Label5";
    EXPECT_EQ(centre(w.Label27), w.Label27) << "in front of the banner";

    // An open panel lies in front of the lists and of the status panel.
    for (auto [panel, over] : {std::pair<QWidget*, QWidget*>{w.Frame5, w.ListView2},
                               {w.Frame2, w.ListView1},
                               {w.Frame3, w.Frame6},
                               {w.Frame4, w.ListView3}}) {
        SCOPED_TRACE(panel->objectName().toStdString());
        const QPoint corner = over->mapTo(&w, QPoint(10, 10));
        static_cast<editing::EditPanel*>(panel)->showAt(QPoint(ui::twips(corner.x()), ui::twips(corner.y())));
        QWidget* hit = w.childAt(corner + QPoint(20, 20));
        EXPECT_TRUE(hit == panel || panel->isAncestorOf(hit))
            << (hit ? hit->objectName().toStdString() : "none");
        w.closeAllPanels();
    }
}

} // namespace
} // namespace sorakado::testing
