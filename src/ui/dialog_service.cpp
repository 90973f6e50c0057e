#include "dialog_service.h"

#include "design_look.h"
#include "fonts.h"
#include "texts.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QMessageBox>

namespace sorakado::ui {

namespace {

// The buttons carry our own Japanese words rather than Qt's, which follow the desktop's
// language. Y and N still answer a question, as they do with Qt's "&Yes" and "&No".
void nameButton(QMessageBox& box, QMessageBox::StandardButton which, const QString& text, Qt::Key key) {
    QAbstractButton* button = box.button(which);
    if (!button)
        return;
    button->setText(text);
    if (key != Qt::Key_unknown)
        button->setShortcut(QKeySequence(key));
}

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, kApplicationTitle, text, buttons, parent);
    box.setObjectName(QStringLiteral("SorakadoMessage"));
    box.setPalette(designPalette());
    // A message box is a window of its own and takes the application's font, which without a
    // Japanese locale (LANG unset) is a Latin face drawing the text in narrow fallback glyphs.
    box.setFont(gothic(9));
    nameButton(box, QMessageBox::Yes, texts::kYes, Qt::Key_Y);
    nameButton(box, QMessageBox::No, texts::kNo, Qt::Key_N);
    nameButton(box, QMessageBox::Ok, texts::kOk, Qt::Key_unknown);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void MessageBoxDialogs::warn(const QString& text) {
    show(parent_, QMessageBox::Warning, text, QMessageBox::Ok);
}

void MessageBoxDialogs::error(const QString& text) {
    show(parent_, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

bool MessageBoxDialogs::ask(const QString& text) {
    return show(parent_, QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No) != QMessageBox::No;
}

void MessageBoxDialogs::inform(const QString& text) {
    show(parent_, QMessageBox::Information, text, QMessageBox::Ok);
}

} // namespace sorakado::ui
