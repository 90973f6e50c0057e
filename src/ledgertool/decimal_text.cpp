#include "decimal_text.h"

#include <cstdint>
#include <limits>
#include <string>

namespace sorakado::legacy {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Enough digits for any 64-bit yen amount with four decimals, with room to spare; a longer
// run of significant digits cannot be in range.
constexpr std::size_t kMaxSignificantDigits = 30;
constexpr int kMaxExponent = 1000; // far past any amount; keeps the exponent arithmetic small

} // namespace

DecimalReading readDecimal(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';

    // Mantissa digits without the point; exponent10 counts the places the point moves.
    std::string digits;
    int exponent10 = 0;
    bool anyDigit = false;
    while (pos < text.size() && isDigit(text[pos])) {
        digits += text[pos++];
        anyDigit = true;
    }
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && isDigit(text[pos])) {
            digits += text[pos++];
            --exponent10;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return {};
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        bool expNegative = false;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
            expNegative = text[pos++] == '-';
        if (pos >= text.size() || !isDigit(text[pos]))
            return {};
        int exp = 0;
        while (pos < text.size() && isDigit(text[pos])) {
            if (exp < kMaxExponent)
                exp = exp * 10 + (text[pos] - '0');
            ++pos;
        }
        exponent10 += expNegative ? -exp : exp;
    }
    if (pos != text.size())
        return {};

    std::size_t firstSignificant = digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos)
        return {DecimalStatus::Exact, Amount()};
    digits.erase(0, firstSignificant);

    // Scale to ten-thousandths: shift = places the digits move left of the point.
    int shift = exponent10 + Amount::kDecimals;
    DecimalStatus status = DecimalStatus::Exact;
    bool roundUp = false;
    if (shift < 0) {
        std::size_t drop = static_cast<std::size_t>(-shift);
        if (drop > digits.size()) // below half a ten-thousandth: rounds to zero
            return {DecimalStatus::Rounded, Amount()};
        std::string dropped = digits.substr(digits.size() - drop);
        digits.erase(digits.size() - drop);
        roundUp = dropped[0] >= '5';
        if (dropped.find_first_not_of('0') != std::string::npos)
            status = DecimalStatus::Rounded;
        shift = 0;
    }
    if (digits.size() + static_cast<std::size_t>(shift) > kMaxSignificantDigits)
        return {DecimalStatus::OutOfRange, Amount()};

    Amount::Raw raw = 0;
    for (char c : digits)
        raw = raw * 10 + (c - '0');
    for (int i = 0; i < shift; ++i)
        raw *= 10;
    if (roundUp)
        raw += 1;

    constexpr Amount::Raw kLimit = Amount::Raw(std::numeric_limits<std::int64_t>::max()) * Amount::kScale;
    if (raw > kLimit)
        return {DecimalStatus::OutOfRange, Amount()};
    return {status, Amount::fromTenThousandths(negative ? -raw : raw)};
}

} // namespace sorakado::legacy
