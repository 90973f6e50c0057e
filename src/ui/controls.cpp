#include "controls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
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
    // The text reaches its check as typed: inline completion would turn a typed "1" into "10".
    if (editable)
        setCompleter(nullptr);
    if (auto* edit = lineEdit())
        edit->installEventFilter(this);
    // Installed after the popup's own filters, so they see the open list's keys and the
    // pointer's moves first.
    view()->installEventFilter(this);
    view()->viewport()->installEventFilter(this);
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

bool DropDown::firstDownToFirstItem(QKeyEvent* event) {
    // With nothing picked, the list's highlight sits wherever the pointer happened to be when the
    // list appeared (or where an earlier opening left it): one Down would skip the first item.
    if (event->type() != QEvent::KeyPress || keyUsedSinceOpen_)
        return false;
    keyUsedSinceOpen_ = true;
    if (event->key() != Qt::Key_Down || event->modifiers() != Qt::NoModifier || count() == 0 ||
        currentIndex() >= 0 || (isEditable() && findText(currentText()) >= 0))
        return false;
    view()->setCurrentIndex(model()->index(0, modelColumn(), rootModelIndex()));
    event->accept();
    return true;
}

bool DropDown::handleKey(QKeyEvent* event) {
    if (!isEnterKey(event) || view()->isVisible())
        return false;
    event->accept();
    emit enterPressed();
    return true;
}

bool DropDown::eventFilter(QObject* watched, QEvent* event) {
    // A list that drops open under a resting pointer gets a move from it all the same, and the
    // list would highlight the row under the pointer instead of the one shown or none.
    if (watched == view()->viewport() && event->type() == QEvent::MouseMove &&
        static_cast<QMouseEvent*>(event)->globalPosition().toPoint() == pointerAtOpen_)
        return true;
    if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
        handleKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == view() &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        (handleListKey(static_cast<QKeyEvent*>(event)) ||
         firstDownToFirstItem(static_cast<QKeyEvent*>(event))))
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
    keyUsedSinceOpen_ = false;
    pointerAtOpen_ = QCursor::pos();
    QComboBox::showPopup();
    // The list opens at the item the box shows (an editable box: the item reading as its text,
    // which may be typed or set at start-up), or with nothing highlighted: Qt leaves the
    // highlight where the list's last opening left it.
    const int shown = isEditable() ? findText(currentText()) : currentIndex();
    const QModelIndex item =
        shown >= 0 ? model()->index(shown, modelColumn(), rootModelIndex()) : QModelIndex();
    view()->selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    if (item.isValid())
        view()->scrollTo(item, QAbstractItemView::PositionAtCenter);
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

DateBox::DateBox(QWidget* parent) : QDateEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText | Qt::ImhLatinOnly);
}

QVariant DateBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    // The spin box answers for its inner line edit, which says yes whatever the attribute.
    if (query == Qt::ImEnabled)
        return false;
    return QDateEdit::inputMethodQuery(query);
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
