// The real message boxes behind the dialog service: title, icon, buttons and the answer given.

#include "editing/category_panel.h"
#include "editing/entry_panel.h"
#include "editing/income_panel.h"
#include "editing/member_panel.h"
#include "ui/dialog_service.h"
#include "ui/fonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace sorakado::testing {
namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QStringList captions; // the buttons' words, left to right as laid out
    QStringList textFamilies, buttonFamilies;
};

QStringList buttonCaptions(const QMessageBox* box) {
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(),
              [](const QAbstractButton* a, const QAbstractButton* b) { return a->x() < b->x(); });
    QStringList out;
    for (const QAbstractButton* b : buttons)
        out << b->text();
    return out;
}

// Answers the next modal message box once it is up, noting what it showed: with a click on
// button, or with a key typed into the box when key is given.
class Answerer {
public:
    explicit Answerer(QMessageBox::StandardButton button, Qt::Key key = Qt::Key_unknown) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this, button, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer_.stop();
            seen_ = Seen{box->windowTitle(),  box->text(), box->icon(), box->standardButtons(),
                         buttonCaptions(box), {},          {}};
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                seen_->textFamilies = label->font().families();
            if (!box->buttons().isEmpty())
                seen_->buttonFamilies = box->buttons().front()->font().families();
            if (key != Qt::Key_unknown)
                QTest::keyClick(box, key);
            else if (QAbstractButton* b = box->button(button))
                b->click();
            else
                box->reject();
        });
        timer_.start();
    }
    const std::optional<Seen>& seen() const { return seen_; }

private:
    QTimer timer_;
    std::optional<Seen> seen_;
};

// A desktop without a Japanese locale (LANG unset): the platform's fonts for every kind of
// widget are a Latin face, whatever the program set as its own default.
class LatinDesktopFonts {
public:
    LatinDesktopFonts() { QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9), "QWidget"); }
    ~LatinDesktopFonts() { QApplication::setFont(ui::gothic(9)); } // clears the per-kind fonts
    LatinDesktopFonts(const LatinDesktopFonts&) = delete;
    LatinDesktopFonts& operator=(const LatinDesktopFonts&) = delete;
};

struct Kind {
    const char* name;
    std::function<bool(ui::DialogService&)> show; // the answer the caller receives
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton press;
    bool answer;
};

TEST(MessageBoxDialogs, EachKindShowsItsIconAndButtonsUnderTheApplicationTitle) {
    const auto text = QStringLiteral("テスト");
    // clang-format off
    const std::vector<Kind> kinds{
        {"warn", [&](ui::DialogService& d) { d.warn(text); return true; }, QMessageBox::Warning, QMessageBox::Ok,
         QMessageBox::Ok, true},
        {"error", [&](ui::DialogService& d) { d.error(text); return true; }, QMessageBox::NoIcon, QMessageBox::Ok,
         QMessageBox::Ok, true},
        {"ask answered Yes", [&](ui::DialogService& d) { return d.ask(text); }, QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, true},
        {"ask answered No", [&](ui::DialogService& d) { return d.ask(text); }, QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No, QMessageBox::No, false},
    };
    // clang-format on
    const LatinDesktopFonts latin;
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.name);
        ui::MessageBoxDialogs dialogs;
        Answerer answerer(k.press);
        EXPECT_EQ(k.show(dialogs), k.answer);
        ASSERT_TRUE(answerer.seen().has_value());
        EXPECT_EQ(answerer.seen()->title.toStdString(), "Sorakado");
        EXPECT_EQ(answerer.seen()->text, text);
        EXPECT_EQ(answerer.seen()->icon, k.icon);
        EXPECT_EQ(answerer.seen()->buttons, k.buttons);
        // Set, not left to the locale: without LANG the application's font is a Latin face.
        EXPECT_EQ(answerer.seen()->textFamilies.value(0).toStdString(), "IPAPGothic");
        EXPECT_EQ(answerer.seen()->buttonFamilies.value(0).toStdString(), "IPAPGothic");
    }
}

// The buttons read in Japanese whatever language the desktop speaks; the keys answer as before:
// Enter the default (Yes), Escape and N No, Y Yes.
TEST(MessageBoxDialogs, ButtonsAreJapaneseAndTheKeysStillAnswer) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto text = QStringLiteral("テスト");
    ui::MessageBoxDialogs dialogs;
    {
        Answerer answerer(QMessageBox::Ok);
        dialogs.warn(text);
        ASSERT_TRUE(answerer.seen().has_value());
        EXPECT_EQ(answerer.seen()->captions, QStringList{QStringLiteral("OK")});
    }
    {
        Answerer answerer(QMessageBox::Ok, Qt::Key_Return);
        dialogs.error(text);
        ASSERT_TRUE(answerer.seen().has_value());
        EXPECT_EQ(answerer.seen()->captions, QStringList{QStringLiteral("OK")});
    }
    const std::vector<std::pair<Qt::Key, bool>> keys{
        {Qt::Key_Return, true}, {Qt::Key_Escape, false}, {Qt::Key_N, false}, {Qt::Key_Y, true}};
    for (const auto& [key, answer] : keys) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        Answerer answerer(QMessageBox::NoButton, key);
        EXPECT_EQ(dialogs.ask(text), answer);
        ASSERT_TRUE(answerer.seen().has_value());
        QStringList captions = answerer.seen()->captions;
        captions.sort();
        EXPECT_EQ(captions, (QStringList{QStringLiteral("いいえ"), QStringLiteral("はい")}));
    }
    QLocale::setDefault(before);
}

// A panel sets its font itself, as the window does, rather than relying on where it is put:
// its buttons draw Japanese in the Gothic whatever the locale's default face is.
TEST(PanelFonts, EveryPanelsButtonsDrawInTheGothicOnTheirOwn) {
    const LatinDesktopFonts latin;
    editing::IncomePanel income(nullptr);
    editing::MemberPanel member(nullptr);
    editing::CategoryPanel category(nullptr);
    editing::EntryPanel entry(nullptr);
    for (const QAbstractButton* button :
         {static_cast<QAbstractButton*>(income.Command2), static_cast<QAbstractButton*>(member.Command5),
          static_cast<QAbstractButton*>(category.Command7), static_cast<QAbstractButton*>(entry.Command10)}) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_EQ(button->font().families().value(0).toStdString(), "IPAPGothic");
        EXPECT_EQ(button->font().pointSizeF(), 9);
    }
}

} // namespace
} // namespace sorakado::testing
