#include "controls.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
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
    // Installed after the popup's own filter, so it sees the open list's keys first.
    view()->installEventFilter(this);
}

bool DropDown::handleListKey(QKeyEvent* event) {
    if (!isEditable())
        return false; // a list-only drop-down keeps the list's own keys: Enter picks the row
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The list opened by itself as the focus arrived: Enter closes it and moves on, leaving
        // the text as the user sees it rather than taking whatever row the list offers.
        if (event->type() == QEvent::KeyPress) {
            hidePopup();
            emit enterPressed();
        }
        event->accept();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        // Typing goes into the text, as it would with the list closed.
        if (lineEdit() && event->type() == QEvent::KeyPress) {
            QCoreApplication::sendEvent(lineEdit(), event);
            return true;
        }
        return false;
    }
}

bool DropDown::handleKey(QKeyEvent* event) {
    if (!isEnterKey(event) || view()->isVisible())
        return false;
    event->accept();
    emit enterPressed();
    return true;
}

bool DropDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
        handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == view() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        handleListKey(static_cast<QKeyEvent*>(event)))
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
    // Not when the focus merely comes back from the list itself after a pick.
    if (opensOnFocus_ && event->reason() != Qt::PopupFocusReason)
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
    setInputMethodHints(on ? Qt::ImhNone
                           : (Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText | Qt::ImhLatinOnly));
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
    if (selectsAllOnFocus_)
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                selectAll();
        });
}

} // namespace sorakado::ui
