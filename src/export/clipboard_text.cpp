#include "clipboard_text.h"

namespace sorakado {

QString listClipboardText(const QStringList& headings, const std::vector<QStringList>& rows) {
    static const QString kTab = QStringLiteral("\t");
    static const QString kLineBreak = QStringLiteral("\r\n");
    QString text = headings.join(kTab);
    for (const QStringList& cells : rows) {
        text += kLineBreak;
        text += cells.join(kTab);
    }
    return text;
}

} // namespace sorakado
