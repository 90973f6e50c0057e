#include "wide_int.h"

#include <cmath>

namespace sorakado {

namespace {

template <class Int> std::string digitsOf(Int v) {
    // Taken on the value made non-positive: the most negative one has no positive counterpart.
    // Nine digits at a time, by a divisor that fits 32 bits: at most five wide divisions.
    constexpr std::int64_t kChunk = 1000000000;
    char buffer[48]; // 39 digits and a sign
    char* const end = buffer + sizeof buffer;
    char* at = end;
    Int rest = v < 0 ? v : -v;
    do {
        const Int next = rest / kChunk;
        auto part = static_cast<std::int64_t>(next * kChunk - rest); // in [0, 10^9)
        rest = next;
        int count = 0;
        do {
            *--at = static_cast<char>('0' + part % 10);
            part /= 10;
            ++count;
        } while (rest == 0 ? part != 0 : count < 9);
    } while (rest != 0);
    if (v < 0)
        *--at = '-';
    return std::string(at, end);
}

} // namespace

TwoHalfInt::operator double() const {
    const bool negative = high() < 0;
    const TwoHalfInt magnitude = negative ? -*this : *this; // the most negative: 2^127 read unsigned
    double out = 0;
    if (magnitude.high_ == 0) {
        out = static_cast<double>(magnitude.low_);
    } else {
        // The top 64 bits, with any set bit below them folded into the lowest: the double's 53
        // bits then round as they would on the whole value (ties to even only on a true tie).
        const int drop = 64 - std::countl_zero(magnitude.high_); // 1 to 64
        std::uint64_t top = magnitude.high_;
        std::uint64_t lost = magnitude.low_;
        if (drop < 64) {
            top = (magnitude.high_ << (64 - drop)) | (magnitude.low_ >> drop);
            lost = magnitude.low_ & ((std::uint64_t{1} << drop) - 1);
        }
        if (lost != 0)
            top |= 1;
        out = std::ldexp(static_cast<double>(top), drop);
    }
    return negative ? -out : out;
}

std::string decimalText(TwoHalfInt v) {
    return digitsOf(v);
}

#if defined(__SIZEOF_INT128__)
std::string decimalText(NativeWideInt v) {
    return digitsOf(v);
}
#endif

} // namespace sorakado
