#include "controls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionComplex>
#include <QTimer>

#include <algorithm>

namespace sorakado::ui {

namespace {

// The width, in pixels, of a compact drop-down button: room for the arrow and a margin.
constexpr int kCompactButtonWidth = 11;

// The desktop's style with a narrower drop-down button, whatever the style's own width is; the
// text box takes what the button gives up.
class CompactButtonStyle : public QProxyStyle {
public:
    // A private copy of the application's style: a proxy owns its base.
    CompactButtonStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        const QRect r = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_ComboBox || (part != SC_ComboBoxEditField && part != SC_ComboBoxArrow))
            return r;
        const QRect button = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
        if (button.width() <= kCompactButtonWidth)
            return r;
        // The button keeps its outer edge; the text box reaches up to the button.
        const bool leftToRight = option->direction != Qt::RightToLeft;
        QRect compact = button;
        if (leftToRight)
            compact.setLeft(button.right() - kCompactButtonWidth + 1);
        else
            compact.setRight(button.left() + kCompactButtonWidth - 1);
        if (part == SC_ComboBoxArrow)
            return compact;
        QRect field = r;
        if (leftToRight)
            field.setRight(std::max(r.right(), compact.left() - 1));
        else
            field.setLeft(std::min(r.left(), compact.right() + 1));
        return field;
    }
};

} // namespace

bool isEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

void focusByKeyboard(QWidget* w) {
    w->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    w->setFocus();
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

void DropDown::setCompactButton() {
    auto* style = new CompactButtonStyle;
    style->setParent(this);
    setStyle(style);
}

void DropDown::showPopup() {
    QComboBox::showPopup();
    // Styles size the open list of an editable drop-down to the box, and items wider than
    // that are drawn cut short ("2…0"): the list is widened to its widest item instead.
    QAbstractItemView* list = view();
    QWidget* popup = list->window();
    if (popup == window() || !list->isVisible())
        return;
    int needed = list->sizeHintForColumn(modelColumn()) + 2 * list->frameWidth();
    if (list->verticalScrollBar()->isVisible())
        needed += list->verticalScrollBar()->width();
    const int extra = needed - list->width();
    if (extra <= 0)
        return;
    QRect r = popup->geometry();
    r.setWidth(r.width() + extra);
    if (const QScreen* s = popup->screen(); s && r.right() > s->availableGeometry().right())
        r.moveRight(s->availableGeometry().right());
    popup->setGeometry(r);
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
    japaneseInput_ = on;
    setAttribute(Qt::WA_InputMethodEnabled, on);
    setInputMethodHints(on ? Qt::ImhNone
                           : (Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText | Qt::ImhLatinOnly));
}

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    // An input method asks whether the focused box takes composed text. QLineEdit says yes
    // whatever its input-method attribute, so an amount box would compose kana ("1234あbc") if
    // the input method was composing in the box before: here the amount boxes say no.
    if (query == Qt::ImEnabled && !japaneseInput_)
        return false;
    return QLineEdit::inputMethodQuery(query);
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
