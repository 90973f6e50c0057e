// The real message boxes behind the dialog service: title, icon, buttons and the answer given.

#include "ui/dialog_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace sorakado::testing {
namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Answers the next modal message box with button once it is up, noting what it showed.
class Answerer {
public:
    explicit Answerer(QMessageBox::StandardButton button) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            timer_.stop();
            seen_ = Seen{box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            if (QAbstractButton* b = box->button(button))
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

} // namespace
} // namespace sorakado::testing
