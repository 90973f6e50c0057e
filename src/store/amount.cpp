#include "amount.h"

#include <cmath>
#include <limits>

namespace sorakado {

std::optional<Amount> Amount::fromStoredDouble(double value) {
    if (!(std::fabs(value) < kStoredDoubleLimit)) // also false for NaN
        return std::nullopt;
    // Split into whole and fraction first so large whole amounts keep every digit.
    double whole = std::trunc(value);
    double frac = value - whole;
    Raw raw = Raw(static_cast<std::int64_t>(whole)) * kScale;
    raw += static_cast<Raw>(std::llround(frac * kScale));
    return Amount(raw);
}

std::optional<std::int64_t> Amount::wholeYen() const {
    if (!isWholeYen())
        return std::nullopt;
    Raw yen = raw_ / kScale;
    if (yen > std::numeric_limits<std::int64_t>::max() || yen < std::numeric_limits<std::int64_t>::min())
        return std::nullopt;
    return static_cast<std::int64_t>(yen);
}

double Amount::toDouble() const {
    return static_cast<double>(raw_ / kScale) + static_cast<double>(raw_ % kScale) / kScale;
}

std::string Amount::text() const {
    bool negative = raw_ < 0;
    // Work on the magnitude as unsigned so the most negative value cannot overflow.
    unsigned __int128 mag =
        negative ? static_cast<unsigned __int128>(-(raw_ + 1)) + 1 : static_cast<unsigned __int128>(raw_);
    unsigned __int128 whole = mag / kScale;
    unsigned frac = static_cast<unsigned>(mag % kScale);

    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(whole % 10)));
        whole /= 10;
    } while (whole != 0);

    std::string out = negative ? "-" + digits : digits;
    if (frac != 0) {
        std::string f(kDecimals, '0');
        for (int i = kDecimals - 1; i >= 0; --i) {
            f[i] = char('0' + frac % 10);
            frac /= 10;
        }
        while (!f.empty() && f.back() == '0')
            f.pop_back();
        out += "." + f;
    }
    return out;
}

} // namespace sorakado
