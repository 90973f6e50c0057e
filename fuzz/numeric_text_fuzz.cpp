// The numeric-text test on any text: it never fails to answer, what it accepts comes back
// reduced to plain digits, blanks around the text change nothing, and an amount it reads
// prints and reads back as the same amount.

#include "fuzz_check.h"
#include "monthly/numeric_text.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool allDigits(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

void checkValue(const sorakado::NumericValue& v) {
    FUZZ_CHECK(!v.whole.empty() && allDigits(v.whole));
    FUZZ_CHECK(v.whole == "0" || v.whole.front() != '0');
    FUZZ_CHECK(allDigits(v.fraction));
    FUZZ_CHECK(v.fraction.empty() || v.fraction.back() != '0');
    FUZZ_CHECK(!(v.isZero() && v.negative));
    FUZZ_CHECK(v.compare(0) == (v.isZero() ? 0 : (v.negative ? -1 : 1)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto value = sorakado::parseNumericText(text);
    FUZZ_CHECK(sorakado::isNumericText(text) == value.has_value());

    const auto padded = sorakado::parseNumericText(QStringLiteral(" \u3000") + text + QStringLiteral("\t "));
    FUZZ_CHECK(padded.has_value() == value.has_value());
    if (!value)
        return 0;
    checkValue(*value);
    FUZZ_CHECK(padded->negative == value->negative && padded->whole == value->whole &&
               padded->fraction == value->fraction);

    if (const auto amount = value->toAmount()) {
        const auto again = sorakado::parseNumericText(QString::fromStdString(amount->text()));
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(again->whole == value->whole && again->fraction == value->fraction &&
                   again->negative == value->negative);
        FUZZ_CHECK(again->toAmount() == amount);
    }
    return 0;
}
