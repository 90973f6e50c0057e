#include "date_bound.h"

#include "text/fold.h"

#include <QDate>
#include <QRegularExpression>

namespace sorakado::search {

std::optional<std::string> datePrefix(const QString& typed) {
    static const QRegularExpression shape(
        QStringLiteral("^(\\d{4})(?:[/.-](\\d{1,2})(?:[/.-](\\d{1,2}))?)?$"));
    const QString text = text::foldForMatch(typed).trimmed(); // full-width digits and signs as ASCII
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int year = m.captured(1).toInt();
    if (year < 1)
        return std::nullopt;
    QString out = m.captured(1);
    if (m.hasCaptured(2)) {
        const int month = m.captured(2).toInt();
        if (month < 1 || month > 12)
            return std::nullopt;
        out += QStringLiteral("/%1").arg(month, 2, 10, QLatin1Char('0'));
        if (m.hasCaptured(3)) {
            const int day = m.captured(3).toInt();
            if (!QDate(year, month, day).isValid())
                return std::nullopt;
            out += QStringLiteral("/%1").arg(day, 2, 10, QLatin1Char('0'));
        }
    }
    return out.toStdString();
}

} // namespace sorakado::search
