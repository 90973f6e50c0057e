// The period check on any pair of texts (year, a newline, month): the first failing check
// decides with its own message and focus, and a passing pair comes back as a four-digit year
// and a two-digit month that pass again unchanged.

#include "fuzz_check.h"
#include "monthly/period_check.h"

#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

using sorakado::PeriodFocus;

bool allDigits(const QString& s) {
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return !s.isEmpty();
}

void checkRefusal(const sorakado::PeriodCheck& r) {
    using namespace sorakado::period_texts;
    struct Expected {
        const QString& message;
        PeriodFocus focus;
    };
    const Expected expected[] = {
        {kYearNotNumber, PeriodFocus::Unchanged}, {kMonthNotNumber, PeriodFocus::Month},
        {kYearTooLate, PeriodFocus::Year},        {kYearTooEarly, PeriodFocus::Year},
        {kMonthTooHigh, PeriodFocus::Month},      {kMonthTooLow, PeriodFocus::Month},
    };
    FUZZ_CHECK(r.failedCheck >= 1 && r.failedCheck <= 6);
    FUZZ_CHECK(r.message == expected[r.failedCheck - 1].message);
    FUZZ_CHECK(r.focus == expected[r.failedCheck - 1].focus);
    FUZZ_CHECK(r.yearText.isEmpty() && r.monthText.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = input.indexOf(u'\n');
    const QString year = cut < 0 ? input : input.left(cut);
    const QString month = cut < 0 ? QString() : input.mid(cut + 1);

    const sorakado::PeriodCheck r = sorakado::checkPeriod(year, month);
    FUZZ_CHECK(r.passed() == (r.failedCheck == 0));
    if (!r.passed()) {
        checkRefusal(r);
        return 0;
    }
    FUZZ_CHECK(r.message.isEmpty() && r.focus == PeriodFocus::Unchanged);
    FUZZ_CHECK(r.yearText.size() == 4 && allDigits(r.yearText));
    FUZZ_CHECK(r.yearText.toInt() >= 1900 && r.yearText.toInt() <= 3000);
    FUZZ_CHECK(r.monthText.size() == 2 && allDigits(r.monthText));
    FUZZ_CHECK(r.monthText.toInt() >= 1 && r.monthText.toInt() <= 12);

    const sorakado::PeriodCheck again = sorakado::checkPeriod(r.yearText, r.monthText);
    FUZZ_CHECK(again.passed() && again.yearText == r.yearText && again.monthText == r.monthText);
    FUZZ_CHECK(r.monthKey() == r.yearText + u'/' + r.monthText);
    return 0;
}
