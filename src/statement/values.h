#pragma once

#include "store/amount.h"

#include <QDate>
#include <QStringView>

#include <optional>

namespace sorakado::statement {

// A statement's date field. Japanese statements write year, month, day in that order, so day
// and month are never swapped: 2026/11/2, 2026-11-02, 20261102, 2026年11月2日, and era dates
// R8.11.02, 令和8年11月2日, H31.04.30, 平成31年4月30日 (also S/昭和, and 元年 for the first year).
struct DateRead {
    enum class Kind {
        NotADate,   // no date at all (a divider, a subtotal, a heading)
        NoSuchDate, // written as a date that does not exist (2026/02/30, 令和1年4月30日)
        Date,
    };
    Kind kind = Kind::NotADate;
    QDate date;
};
DateRead readDate(QStringView field);

// A statement's amount field: 9000, 9,000, ¥9,000, \9,000, 9,000円, 292 円, full-width digits
// and commas, at most four decimals. A refund (-500, △500, ▲500) reads as a negative amount.
struct AmountRead {
    enum class Kind { Empty, Unreadable, Amount };
    Kind kind = Kind::Empty;
    Amount amount;
};
AmountRead readAmount(QStringView field);

} // namespace sorakado::statement
