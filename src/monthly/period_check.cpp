#include "period_check.h"

#include "numeric_text.h"

#include "store/month_key.h"

namespace sorakado {

namespace {

PeriodCheck refuse(int check, const QString& message, PeriodFocus focus) {
    PeriodCheck r;
    r.failedCheck = check;
    r.message = message;
    r.focus = focus;
    return r;
}

std::optional<NumericValue> wholeNumber(const QString& text) {
    auto v = parseNumericText(text);
    if (v && !v->isWhole())
        return std::nullopt;
    return v;
}

} // namespace

QString PeriodCheck::monthKey() const {
    return QString::fromStdString(MonthKey::keyText(yearText.toStdString(), monthText.toInt()));
}

PeriodCheck checkPeriod(const QString& yearText, const QString& monthText) {
    using namespace period_texts;
    auto year = wholeNumber(yearText);
    if (!year)
        return refuse(1, kYearNotNumber, PeriodFocus::Unchanged);
    auto month = wholeNumber(monthText);
    if (!month)
        return refuse(2, kMonthNotNumber, PeriodFocus::Month);
    if (year->compare(MonthKey::kLastYear) > 0)
        return refuse(3, kYearTooLate, PeriodFocus::Year);
    if (year->compare(MonthKey::kFirstYear) < 0)
        return refuse(4, kYearTooEarly, PeriodFocus::Year);
    if (month->compare(12) > 0)
        return refuse(5, kMonthTooHigh, PeriodFocus::Month);
    if (month->compare(1) < 0)
        return refuse(6, kMonthTooLow, PeriodFocus::Month);

    PeriodCheck ok;
    ok.yearText = QString::fromStdString(year->whole);
    ok.monthText = QString::fromStdString(month->whole).rightJustified(2, u'0');
    return ok;
}

} // namespace sorakado
