// The window keeps the light colours it was designed in under a dark desktop: a dark colour
// scheme handed to the running program (the window itself holds its colours), or a dark style
// the program starts under (its start-up sets the look). The window is rendered into an image
// and its pixels are read.

#include "window_support.h"

#include "ui/design_look.h"
#include "ui/twips.h"

#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <map>

namespace sorakado::testing {
namespace {

// A desktop's dark colour scheme, as dark themes hand it to Qt programs.
QPalette darkScheme() {
    QPalette p(QColor(0x35, 0x35, 0x35), QColor(0x2B, 0x2B, 0x2B));
    const QColor light(0xEE, 0xEE, 0xEE);
    p.setColor(QPalette::WindowText, light);
    p.setColor(QPalette::Text, light);
    p.setColor(QPalette::ButtonText, light);
    p.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    p.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2A, 0x2A));
    p.setColor(QPalette::ToolTipBase, QColor(0x20, 0x20, 0x20));
    p.setColor(QPalette::ToolTipText, light);
    return p;
}

int luma(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

// The colour most pixels of r have.
QRgb dominant(const QImage& image, QRect r) {
    std::map<QRgb, int> counts;
    r = r.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    QRgb best = 0;
    int most = -1;
    for (const auto& [colour, n] : counts)
        if (n > most) {
            best = colour;
            most = n;
        }
    return best;
}

int darkest(const QImage& image, QRect r) {
    int out = 255;
    r = r.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            out = std::min(out, luma(image.pixel(x, y)));
    return out;
}

std::string hex(QRgb c) {
    return QColor(c).name().toStdString();
}

// w's rectangle in the coordinates of the window it is part of.
QRect inWindow(const QWidget* w, QRect r) {
    return QRect(w->mapTo(w->window(), r.topLeft()), r.size());
}

struct Desktop {
    const char* name;
    const char* style; // nullptr: the program's usual style
    bool darkScheme;
    bool startUp; // the program's start-up has set its look up, as the program does
};

void PrintTo(const Desktop& d, std::ostream* os) {
    *os << d.name;
}

class DesignColours : public ::testing::TestWithParam<Desktop> {
protected:
    void SetUp() override {
        styleBefore_ = QApplication::style()->name();
        paletteBefore_ = QApplication::palette();
        const Desktop& d = GetParam();
        if (d.style) {
            QStyle* style = QStyleFactory::create(QString::fromLatin1(d.style));
            ASSERT_NE(style, nullptr) << "style " << d.style << " not installed (scripts/deps)";
            QApplication::setStyle(style); // takes the style's own palette, as the desktop does
        }
        if (d.darkScheme)
            QApplication::setPalette(darkScheme());
        ASSERT_LT(luma(QApplication::palette().color(QPalette::Base).rgb()), 80) << "the desktop is dark";
        if (d.startUp)
            ui::applyDesignLook();

        seedFamily(f.file);
        f.load();
        ASSERT_TRUE(f.loaded);
        ASSERT_TRUE(showActive(f.w()));
    }
    void TearDown() override {
        f.window.reset();
        QApplication::setStyle(styleBefore_);
        QApplication::setPalette(paletteBefore_);
    }

    QImage shot() { return f.w().grab().toImage(); }

    QString styleBefore_;
    QPalette paletteBefore_;
    WindowFixture f;
};

TEST_P(DesignColours, ListsHeadingsCaptionsAndTheWindowStayLight) {
    Form1& w = f.w();
    const QImage image = shot();
    const QRgb white = 0xFFFFFFFF;

    // The window's own background, between the selector frame and the banner.
    const QRect gap(ui::px(3795), ui::px(300), ui::px(3825) - ui::px(3795), ui::px(400));
    EXPECT_GT(luma(dominant(image, gap)), 200) << hex(dominant(image, gap));

    for (ui::ReportList* list : {w.ListView1, w.ListView2, w.ListView3}) {
        SCOPED_TRACE(list->objectName().toStdString());
        const QWidget* vp = list->viewport();
        EXPECT_EQ(dominant(image, inWindow(vp, vp->rect())), white)
            << hex(dominant(image, inWindow(vp, vp->rect())));
        // The first row's text is drawn dark on the white background.
        const QRect firstRow = list->rowRect(0);
        EXPECT_LT(darkest(image, inWindow(vp, firstRow)), 110);
        // The column headings: dark words on a light bar.
        const QHeaderView* header = list->header();
        const QRect bar = inWindow(header, header->rect());
        EXPECT_GT(luma(dominant(image, bar)), 200) << hex(dominant(image, bar));
        EXPECT_LT(darkest(image, bar), 80);
    }

    // The status panel's caption, dark on the panel's peach.
    const QRect caption = inWindow(w.Frame6, QRect(0, 0, w.Frame6->width(), ui::px(300)));
    EXPECT_EQ(dominant(image, caption) & 0xFFFFFF, 0xFFE0C0u) << hex(dominant(image, caption));
    EXPECT_LT(darkest(image, caption), 80) << "今月の状況 is readable";

    // The headings keep their colours.
    EXPECT_EQ(dominant(image, inWindow(w.Label5, w.Label5->rect())) & 0xFFFFFF, 0xC0FFFFu);
    EXPECT_EQ(dominant(image, inWindow(w.Label1, w.Label1->rect())) & 0xFFFFFF, 0xFFFF80u);
}

TEST_P(DesignColours, PanelButtonsSelectorsAndMenusStayLight) {
    Form1& w = f.w();
    w.Frame3->showAt(QPoint(600, 2000));
    QImage image = shot();
    for (QWidget* button : std::initializer_list<QWidget*>{w.Frame3->Command4, w.Frame3->Command5}) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QRect r = inWindow(button, button->rect().adjusted(3, 3, -3, -3));
        EXPECT_GT(luma(dominant(image, r)), 180) << hex(dominant(image, r));
        EXPECT_LT(darkest(image, r), 80);
    }
    const QRect name = inWindow(w.Frame3->Text2, w.Frame3->Text2->rect().adjusted(3, 3, -3, -3));
    EXPECT_EQ(dominant(image, name), 0xFFFFFFFFu) << hex(dominant(image, name));
    w.Frame3->hide();

    w.Command11_Click();
    w.Combo1->hidePopup();
    image = shot();
    for (QWidget* selector : std::initializer_list<QWidget*>{w.Combo1, w.Combo2}) {
        SCOPED_TRACE(selector->objectName().toStdString());
        const QRect r = inWindow(selector, selector->rect().adjusted(4, 4, -4, -4));
        EXPECT_GT(luma(dominant(image, r)), 200) << hex(dominant(image, r));
        EXPECT_LT(darkest(image, r), 80) << "the year and month are readable";
    }
    w.Command1_Click();

    QMenu* menu = w.MeiMenu;
    menu->popup(w.mapToGlobal(QPoint(400, 300)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 5000));
    const QImage menuImage = menu->grab().toImage();
    EXPECT_GT(luma(dominant(menuImage, menuImage.rect())), 200) << hex(dominant(menuImage, menuImage.rect()));
    EXPECT_LT(darkest(menuImage, menu->actionGeometry(w.MeiAdd)), 80);
    menu->hide();
}

INSTANTIATE_TEST_SUITE_P(DarkDesktops, DesignColours,
                         ::testing::Values(Desktop{"DarkScheme", nullptr, true, false},
                                           Desktop{"AdwaitaDark", "adwaita-dark", false, true}),
                         [](const ::testing::TestParamInfo<Desktop>& desktop) {
                             return std::string(desktop.param.name);
                         });

} // namespace
} // namespace sorakado::testing
