#pragma once

#include <QString>

namespace sorakado {

// Where the focus goes after a failed check.
enum class PeriodFocus { Unchanged, Year, Month };

struct PeriodCheck {
    int failedCheck = 0; // 0 when every check passed, else 1 to 6 in the order they run
    QString message;     // the refusal shown to the user; empty when passed
    PeriodFocus focus = PeriodFocus::Unchanged;
    QString yearText;  // when passed: the year as plain digits ("2006")
    QString monthText; // when passed: the month as two digits ("04")

    bool passed() const { return failedCheck == 0; }
    // The month key the ledger is read with: "2006/04".
    QString monthKey() const;
};

namespace period_texts {
inline const QString kYearNotNumber = QStringLiteral("年が数字ではありません！！");
inline const QString kMonthNotNumber = QStringLiteral("月が数字ではありません！！");
inline const QString kYearTooLate = QStringLiteral("そんなに生きるの？！");
inline const QString kYearTooEarly = QStringLiteral("そんなに前に生まれてる訳ないじゃん！！");
inline const QString kMonthTooHigh = QStringLiteral("１２月を超えてます！！");
inline const QString kMonthTooLow = QStringLiteral("１月以下はありません！！");
} // namespace period_texts

// The six checks of the year and month texts, in order; the first that fails decides. A year
// or month must be a whole number: "2005.5" or "4.5" fails its numeric check. When all pass,
// the texts come back normalised (year as plain digits, month as two digits), so "4" and "04"
// name the same month everywhere.
PeriodCheck checkPeriod(const QString& yearText, const QString& monthText);

} // namespace sorakado
