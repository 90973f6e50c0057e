#include "dialog_service.h"

#include <QMessageBox>

namespace sorakado::ui {

namespace {

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                 QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, kApplicationTitle, text, buttons, parent);
    box.setObjectName(QStringLiteral("SorakadoMessage"));
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

} // namespace sorakado::ui
