#include "values.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <array>

namespace sorakado::statement {

namespace {

// Widths and the ideographic space fold away, so １，２００ and ２０２６／１１／０２ read as their
// half-width forms.
QString narrowed(QStringView field) {
    // Most fields are plain ASCII already, and normalising costs more than the rest of the read.
    const bool ascii = std::all_of(field.begin(), field.end(), [](QChar c) { return c.unicode() < 0x80; });
    return ascii ? field.trimmed().toString()
                 : field.toString().normalized(QString::NormalizationForm_KC).trimmed();
}

// Dates begin with a digit or an era's letter or name: anything else is no date, without a look
// at the patterns.
bool mayBeDate(const QString& text) {
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    return c.isDigit() || QStringView(u"RHSrhs令平昭").contains(c);
}

struct Era {
    QStringView letter, name;
    int yearBefore; // the Gregorian year before its first year
    QDate first, last;
};

const std::array<Era, 3>& eras() {
    static const std::array<Era, 3> e{{
        {u"R", u"令和", 2018, QDate(2019, 5, 1), QDate(9999, 12, 31)},
        {u"H", u"平成", 1988, QDate(1989, 1, 8), QDate(2019, 4, 30)},
        {u"S", u"昭和", 1925, QDate(1926, 12, 25), QDate(1989, 1, 7)},
    }};
    return e;
}

DateRead dated(int year, int month, int day, const Era* era = nullptr) {
    const QDate date(year, month, day);
    if (!date.isValid() || (era && (date < era->first || date > era->last)))
        return {DateRead::Kind::NoSuchDate, {}};
    return {DateRead::Kind::Date, date};
}

} // namespace

DateRead readDate(QStringView field) {
    const QString text = narrowed(field);
    if (!mayBeDate(text))
        return {};
    // Gregorian: 2026/11/2, 2026-11-02, 2026.11.02, 2026年11月2日, 20261102; a time of day after
    // the date, as some cards give it, is left aside.
    static const QRegularExpression separated(QStringLiteral(
        R"(^(\d{4})\s*(?:[/\-.]|年)\s*(\d{1,2})\s*(?:[/\-.]|月)\s*(\d{1,2})\s*日?(?:\s+\d{1,2}:\d{2}(?::\d{2})?)?$)"));
    static const QRegularExpression compact(QStringLiteral(R"(^(\d{4})(\d{2})(\d{2})$)"));
    static const QRegularExpression era(
        QStringLiteral(
            R"(^(R|H|S|令和|平成|昭和)\s*(\d{1,2}|元)\s*(?:[/\-.]|年)\s*(\d{1,2})\s*(?:[/\-.]|月)\s*(\d{1,2})\s*日?$)"),
        QRegularExpression::CaseInsensitiveOption);
    if (auto m = separated.match(text); m.hasMatch())
        return dated(m.capturedView(1).toInt(), m.capturedView(2).toInt(), m.capturedView(3).toInt());
    if (auto m = compact.match(text); m.hasMatch())
        return dated(m.capturedView(1).toInt(), m.capturedView(2).toInt(), m.capturedView(3).toInt());
    if (auto m = era.match(text); m.hasMatch()) {
        const QString name = m.captured(1).toUpper();
        for (const Era& e : eras()) {
            if (name != e.letter && name != e.name)
                continue;
            const int eraYear = m.capturedView(2) == u"元" ? 1 : m.capturedView(2).toInt();
            if (eraYear < 1)
                return {DateRead::Kind::NoSuchDate, {}};
            return dated(e.yearBefore + eraYear, m.capturedView(3).toInt(), m.capturedView(4).toInt(), &e);
        }
    }
    return {};
}

AmountRead readAmount(QStringView field) {
    QString text = narrowed(field);
    if (text.isEmpty())
        return {};
    bool negative = false;
    // △ and ▲ are how Japanese accounts write a minus; a sign may stand before or after the
    // currency mark.
    auto takeSign = [&] {
        if (text.startsWith(u'-') || text.startsWith(u'△') || text.startsWith(u'▲') ||
            text.startsWith(u'−')) {
            negative = !negative;
            text = text.mid(1).trimmed();
            return true;
        }
        return false;
    };
    takeSign();
    if (text.startsWith(u'¥') || text.startsWith(u'\\') || text.startsWith(u'￥'))
        text = text.mid(1).trimmed();
    if (!negative)
        takeSign();
    if (text.endsWith(u'円'))
        text = text.chopped(1).trimmed();
    static const QRegularExpression number(QStringLiteral(R"(^(\d{1,3}(?:,\d{3})+|\d+)(?:\.(\d{1,4}))?$)"));
    const auto m = number.match(text);
    if (!m.hasMatch())
        return {AmountRead::Kind::Unreadable, {}};
    QString whole = m.captured(1);
    whole.remove(u',');
    // Fifteen digits of yen is beyond any household's statement and far inside what Amount holds.
    if (whole.size() > 15)
        return {AmountRead::Kind::Unreadable, {}};
    QString fraction = m.captured(2);
    fraction = fraction.leftJustified(Amount::kDecimals, u'0');
    Amount::Raw raw = Amount::Raw(whole.toLongLong()) * Amount::kScale + fraction.toLongLong();
    return {AmountRead::Kind::Amount, Amount::fromTenThousandths(negative ? -raw : raw)};
}

} // namespace sorakado::statement
