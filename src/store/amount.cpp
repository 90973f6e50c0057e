#include "amount.h"

#include <cmath>
#include <limits>

namespace sorakado {

std::optional<Amount> Amount::fromStoredDouble(double value) {
    if (!(std::fabs(value) < kStoredDoubleLimit)) // also false for NaN
        return std::nullopt;
    // A double is a whole number of 2^-shift: times 10^4 and rounded half to even in integers,
    // so the result is the double's own value to the ten-thousandth at any size (a double times
    // 10^4 loses the last digit above about 9 * 10^11).
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent); // in [0.5, 1), or 0
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * kScale; // < 2^67
    unsigned __int128 magnitude = 0;
    if (shift <= 0) {
        magnitude = scaled << -shift; // below 2^63 yen: at most 10 places
    } else if (shift < 100) {         // beyond, the product is far below half a ten-thousandth
        const unsigned __int128 one = static_cast<unsigned __int128>(1) << shift;
        const unsigned __int128 rest = scaled & (one - 1);
        const unsigned __int128 half = one >> 1;
        magnitude = scaled >> shift;
        if (rest > half || (rest == half && (magnitude & 1) != 0))
            ++magnitude;
    }
    const Raw raw = static_cast<Raw>(magnitude);
    return Amount(value < 0 ? -raw : raw);
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
    unsigned frac = static_cast<unsigned>(mag % kScale);
    unsigned __int128 whole = mag / kScale;

    // Digits are taken off last first into a buffer long enough for 128 bits. Every amount a
    // ledger holds fits 64 bits, whose division is many times cheaper: the lists show thousands.
    char buffer[48];
    char* end = buffer + sizeof buffer;
    char* at = end;
    if (whole <= std::numeric_limits<std::uint64_t>::max()) {
        auto small = static_cast<std::uint64_t>(whole);
        do {
            *--at = char('0' + int(small % 10));
            small /= 10;
        } while (small != 0);
    } else {
        do {
            *--at = char('0' + int(whole % 10));
            whole /= 10;
        } while (whole != 0);
    }
    if (negative)
        *--at = '-';
    std::string out(at, end);
    if (frac != 0) {
        char f[kDecimals + 1] = {'.'};
        for (int i = kDecimals; i >= 1; --i) {
            f[i] = char('0' + frac % 10);
            frac /= 10;
        }
        int length = kDecimals + 1;
        while (f[length - 1] == '0')
            --length;
        out.append(f, static_cast<std::size_t>(length));
    }
    return out;
}

} // namespace sorakado
