#pragma once

#include <QString>

class QWidget;

namespace sorakado::ui {

inline const QString kApplicationTitle = QStringLiteral("Sorakado");

// Every message the program shows goes through here, titled "Sorakado" and modal. Tests put a
// scripted service in its place.
class DialogService {
public:
    virtual ~DialogService() = default;
    // A refusal of input: OK button, exclamation icon.
    virtual void warn(const QString& text) = 0;
    // An error's own description: OK button, no icon.
    virtual void error(const QString& text) = 0;
    // A question: Yes and No, exclamation icon. True unless the answer is No.
    virtual bool ask(const QString& text) = 0;
    // News of something the program did by itself: OK button, information icon.
    virtual void inform(const QString& text) { error(text); }
};

// The real message boxes.
class MessageBoxDialogs final : public DialogService {
public:
    explicit MessageBoxDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void warn(const QString& text) override;
    void error(const QString& text) override;
    bool ask(const QString& text) override;
    void inform(const QString& text) override;

private:
    QWidget* parent_;
};

} // namespace sorakado::ui
