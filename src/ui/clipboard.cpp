#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace sorakado::ui {

void putOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace sorakado::ui
