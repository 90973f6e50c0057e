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
    // Non-negative and below 2^77 throughout, so signed 128 bits hold it.
    const Raw scaled = Raw(mantissa) * kScale; // < 2^67
    Raw raw = 0;
    if (shift <= 0) {
        raw = scaled << -shift; // below 2^63 yen: at most 10 places
    } else if (shift < 100) {   // beyond, the product is far below half a ten-thousandth
        const Raw one = Raw(1) << shift;
        const Raw rest = scaled & (one - 1);
        const Raw half = one >> 1;
        raw = scaled >> shift;
        if (rest > half || (rest == half && (raw & 1) != 0))
            ++raw;
    }
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
    // Every amount a ledger holds fits 64 bits, whose division is many times cheaper than that of
    // 128: the lists show thousands of figures.
    unsigned frac = 0;
    std::string out;
    if (raw_ >= INT64_MIN && raw_ <= INT64_MAX) {
        const auto raw = static_cast<std::int64_t>(raw_);
        // The magnitude as unsigned, so the most negative value cannot overflow.
        const std::uint64_t mag =
            raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
        frac = static_cast<unsigned>(mag % kScale);
        std::uint64_t whole = mag / kScale;
        char buffer[24]; // 15 digits of yen and a sign
        char* const end = buffer + sizeof buffer;
        char* at = end;
        do {
            *--at = static_cast<char>('0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        if (raw < 0)
            *--at = '-';
        out.assign(at, end);
    } else {
        // Beyond 64 bits the whole yen are not zero, so they carry the sign.
        const auto rest = static_cast<std::int64_t>(raw_ % kScale);
        frac = static_cast<unsigned>(rest < 0 ? -rest : rest);
        out = decimalText(raw_ / kScale);
    }
    if (frac != 0) {
        char f[kDecimals + 1] = {'.'};
        for (int i = kDecimals; i >= 1; --i) {
            f[i] = static_cast<char>('0' + frac % 10);
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
