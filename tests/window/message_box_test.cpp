// The real message boxes behind the dialog service: title, icon, buttons and the answer given.

#include "ui/dialog_service.h"

#include <QAbstractButton>
#include <QApplication>
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
            seen_ = Seen{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                         buttonCaptions(box)};
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

} // namespace
} // namespace sorakado::testing
