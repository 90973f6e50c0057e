#include "fonts.h"

#include <QStringList>

namespace sorakado::ui {

QFont gothic(double points, bool bold) {
    QFont f;
    f.setFamilies(QStringList() << QStringLiteral("IPAPGothic") << QStringLiteral("Noto Sans CJK JP"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont heavyGothic(double points) {
    QFont f;
    f.setFamilies(QStringList() << QStringLiteral("Noto Sans CJK JP Black")
                                << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("IPAPGothic"));
    f.setPointSizeF(points);
    f.setWeight(QFont::Black);
    return f;
}

} // namespace sorakado::ui
