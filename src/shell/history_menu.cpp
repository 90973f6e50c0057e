#include "history_menu.h"

namespace sorakado::shell {

QString undoCaption(const std::string& label) {
    return QStringLiteral("元に戻す - ") + QString::fromStdString(label) + QStringLiteral("　Ctrl+Z");
}

QString redoCaption(const std::string& label) {
    return QStringLiteral("やり直し - ") + QString::fromStdString(label) + QStringLiteral("　Ctrl+Y");
}

} // namespace sorakado::shell
