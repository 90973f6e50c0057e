#include "controls.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace sorakado::ui {

bool isEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

void Button::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        event->accept();
        if (isEnabled())
            click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

DropDown::DropDown(bool editable, QWidget* parent) : QComboBox(parent) {
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    if (auto* edit = lineEdit())
        edit->installEventFilter(this);
}

bool DropDown::handleKey(QKeyEvent* event) {
    if (!isEnterKey(event) || view()->isVisible())
        return false;
    event->accept();
    emit enterPressed();
    return true;
}

bool DropDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress && handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

void DropDown::keyPressEvent(QKeyEvent* event) {
    if (handleKey(event))
        return;
    QComboBox::keyPressEvent(event);
}

void DropDown::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    emit focusReceived();
    if (opensOnFocus_)
        openSoon();
}

void DropDown::openSoon() {
    // Opened once the focus change has settled; a popup opened inside it would take the focus
    // event's place.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus() && isVisible() && isEnabled() && !view()->isVisible())
            showPopup();
    });
}

void TextBox::setJapaneseInput(bool on) {
    setAttribute(Qt::WA_InputMethodEnabled, on);
    setInputMethodHints(on ? Qt::ImhNone : (Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText | Qt::ImhLatinOnly));
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        event->accept();
        emit enterPressed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusReceived();
    if (selectsAllOnFocus_)
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                selectAll();
        });
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace sorakado::ui
