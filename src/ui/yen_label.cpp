#include "yen_label.h"

#include <QPainter>
#include <QStyle>

namespace sorakado::ui {

void YenLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QString shown = text();
    shown.replace(QChar(u'\\'), QChar(0x00A5));
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(),
                          shown, foregroundRole());
}

} // namespace sorakado::ui
