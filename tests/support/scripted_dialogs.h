#pragma once

// A dialog service for tests: every message the program shows is recorded, and each must have
// been planned with expect...(), in order. An unplanned message, one of the wrong kind or text,
// or a planned one that never came fails the test.

#include "ui/dialog_service.h"

#include <QString>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <ostream>
#include <vector>

namespace sorakado::testing {

enum class MessageKind { Warn, Error, Ask, Inform };

inline const char* kindName(MessageKind k) {
    switch (k) {
    case MessageKind::Warn:
        return "warn";
    case MessageKind::Error:
        return "error";
    case MessageKind::Ask:
        return "ask";
    case MessageKind::Inform:
        return "inform";
    }
    return "?";
}

inline std::ostream& operator<<(std::ostream& os, MessageKind k) {
    return os << kindName(k);
}

struct ShownMessage {
    MessageKind kind;
    QString text;
};

class ScriptedDialogs final : public ui::DialogService {
public:
    // Runs while the message is "on screen": lets a test look at the window at that moment.
    using Peek = std::function<void()>;

    ~ScriptedDialogs() override { verifyAllShown(); }

    // The next message must be of this kind with exactly this text; a question gets answer.
    ScriptedDialogs& expect(MessageKind kind, const QString& text, bool answer = true, Peek peek = {}) {
        planned_.push_back({kind, text, false, answer, std::move(peek)});
        return *this;
    }
    // The next message must be of this kind and contain fragment (an error's description, whose
    // wording comes from the store).
    ScriptedDialogs& expectContaining(MessageKind kind, const QString& fragment, Peek peek = {}) {
        planned_.push_back({kind, fragment, true, true, std::move(peek)});
        return *this;
    }

    void warn(const QString& text) override { show(MessageKind::Warn, text); }
    void error(const QString& text) override { show(MessageKind::Error, text); }
    bool ask(const QString& text) override { return show(MessageKind::Ask, text); }
    void inform(const QString& text) override { show(MessageKind::Inform, text); }

    const std::vector<ShownMessage>& shown() const { return shown_; }
    bool allShown() const { return planned_.empty(); }

    // Fails the test for every planned message that has not come; forgets them.
    void verifyAllShown() {
        for (const auto& p : planned_)
            ADD_FAILURE() << "planned " << p.kind << " message never shown: " << p.text.toStdString();
        planned_.clear();
    }

private:
    struct Planned {
        MessageKind kind;
        QString text;
        bool fragment;
        bool answer;
        Peek peek;
    };

    bool show(MessageKind kind, const QString& text) {
        shown_.push_back({kind, text});
        if (planned_.empty()) {
            ADD_FAILURE() << "unplanned " << kind << " message: " << text.toStdString();
            return true;
        }
        Planned p = std::move(planned_.front());
        planned_.pop_front();
        EXPECT_EQ(kind, p.kind) << "message: " << text.toStdString();
        if (p.fragment)
            EXPECT_TRUE(text.contains(p.text))
                << "message \"" << text.toStdString() << "\" lacks \"" << p.text.toStdString() << '"';
        else
            EXPECT_EQ(text.toStdString(), p.text.toStdString());
        if (p.peek)
            p.peek();
        return p.answer;
    }

    std::deque<Planned> planned_;
    std::vector<ShownMessage> shown_;
};

} // namespace sorakado::testing
