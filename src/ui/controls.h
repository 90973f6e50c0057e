#pragma once

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

namespace sorakado::ui {

// Enter (Return or the keypad's Enter) on a focused button presses it, as Space does; Qt
// does that by itself only inside dialogs.
class Button : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A drop-down list. Enter is swallowed and reported, so the handler can move the focus on
// without the text being changed or an item added; the list can open as the focus arrives.
// Its open list is always wide enough to show every item whole, wider than the box if need be.
class DropDown : public QComboBox {
    Q_OBJECT
public:
    explicit DropDown(bool editable, QWidget* parent = nullptr);
    void setOpensOnFocus(bool on) { opensOnFocus_ = on; }
    // A narrow arrow button, leaving its width to the text box: for the small period pickers,
    // whose large digits the style's usual button would cut off.
    void setCompactButton();

    // Opens the list; an editable one at the item reading as the box does.
    void showPopup() override;

signals:
    void enterPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool handleKey(QKeyEvent* event);
    bool handleListKey(QKeyEvent* event);
    bool firstDownToFirstItem(QKeyEvent* event);
    void openSoon();
    bool opensOnFocus_ = false;
    bool keyUsedSinceOpen_ = false;
    QPoint pointerAtOpen_; // global; a pointer that has not moved since the list opened picks nothing
};

// A date field typed as digits, straight in like the amount boxes: an input method left in
// hiragana mode would compose full-width digits over it, which the field drops on Enter.
class DateBox : public QDateEdit {
    Q_OBJECT
public:
    explicit DateBox(QWidget* parent = nullptr);
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
};

// A text box whose Enter is swallowed and reported; it can select its whole text as the focus
// arrives (amount boxes).
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    void setSelectsAllOnFocus(bool on) { selectsAllOnFocus_ = on; }
    // Names and descriptions are typed in Japanese; amounts are digits, with no composition.
    void setJapaneseInput(bool on);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    bool selectsAllOnFocus_ = false;
    bool japaneseInput_ = true;
};

bool isEnterKey(const QKeyEvent* event);

// Moves the focus to w as a keyboard move (the Enter chain): the window then draws focus
// frames, as it does after Tab, so a focused OK button shows that Enter will press it.
void focusByKeyboard(QWidget* w);

} // namespace sorakado::ui
