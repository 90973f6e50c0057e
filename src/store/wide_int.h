#pragma once

#include <bit>
#include <compare>
#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>

namespace sorakado {

// A signed 128-bit integer made of two 64-bit halves in two's complement, for a compiler without
// a native one (MSVC). It offers what the program's sums and amounts do with 128 bits and nothing
// more. It is always compiled, so the tests hold it to the native type wherever that exists.
//
// Division and remainder truncate toward zero and the remainder takes the dividend's sign, as for
// the built-in integers; overflow wraps (two's complement) where the built-in type would be
// undefined, and dividing by zero is the caller's fault, as it is there. Shifts take 0 to 127
// places; >> keeps the sign.
class TwoHalfInt {
public:
    constexpr TwoHalfInt() = default;
    // Implicit, as a built-in integer widens: a 64-bit figure goes into a sum without ceremony.
    template <std::integral T>
    requires(sizeof(T) <= sizeof(std::uint64_t)) constexpr TwoHalfInt(T v)
        : low_(static_cast<std::uint64_t>(v)) {
        if constexpr (std::is_signed_v<T>)
            high_ = v < 0 ? UINT64_MAX : 0;
    }

    static constexpr TwoHalfInt fromHalves(std::int64_t high, std::uint64_t low) {
        return bits(static_cast<std::uint64_t>(high), low);
    }
    static constexpr TwoHalfInt lowest() { return fromHalves(INT64_MIN, 0); }
    static constexpr TwoHalfInt highest() { return fromHalves(INT64_MAX, UINT64_MAX); }
    constexpr std::int64_t high() const { return static_cast<std::int64_t>(high_); }
    constexpr std::uint64_t low() const { return low_; }

    // The low 64 bits, as a cast of the built-in type keeps them.
    constexpr explicit operator std::int64_t() const { return static_cast<std::int64_t>(low_); }
    constexpr explicit operator std::uint64_t() const { return low_; }
    // Rounded to nearest, ties to even, as the built-in conversion does.
    explicit operator double() const;

    friend constexpr bool operator==(TwoHalfInt a, TwoHalfInt b) {
        return a.low_ == b.low_ && a.high_ == b.high_;
    }
    friend constexpr std::strong_ordering operator<=>(TwoHalfInt a, TwoHalfInt b) {
        if (a.high_ != b.high_)
            return a.high() <=> b.high();
        return a.low_ <=> b.low_;
    }

    friend constexpr TwoHalfInt operator+(TwoHalfInt a, TwoHalfInt b) {
        const std::uint64_t low = a.low_ + b.low_;
        return bits(a.high_ + b.high_ + (low < a.low_ ? 1 : 0), low);
    }
    friend constexpr TwoHalfInt operator-(TwoHalfInt a, TwoHalfInt b) {
        return bits(a.high_ - b.high_ - (a.low_ < b.low_ ? 1 : 0), a.low_ - b.low_);
    }
    constexpr TwoHalfInt operator-() const { return TwoHalfInt() - *this; }
    friend constexpr TwoHalfInt operator*(TwoHalfInt a, TwoHalfInt b) {
        // The low halves' full product, and the cross terms that only reach the high half.
        const TwoHalfInt lows = fullProduct(a.low_, b.low_);
        return bits(lows.high_ + a.low_ * b.high_ + a.high_ * b.low_, lows.low_);
    }
    friend constexpr TwoHalfInt operator/(TwoHalfInt a, TwoHalfInt b) {
        TwoHalfInt quotient, remainder;
        divide(a, b, quotient, remainder);
        return quotient;
    }
    friend constexpr TwoHalfInt operator%(TwoHalfInt a, TwoHalfInt b) {
        TwoHalfInt quotient, remainder;
        divide(a, b, quotient, remainder);
        return remainder;
    }
    friend constexpr TwoHalfInt operator&(TwoHalfInt a, TwoHalfInt b) {
        return bits(a.high_ & b.high_, a.low_ & b.low_);
    }
    friend constexpr TwoHalfInt operator<<(TwoHalfInt a, int places) {
        if (places == 0)
            return a;
        if (places >= 64)
            return bits(a.low_ << (places - 64), 0);
        return bits((a.high_ << places) | (a.low_ >> (64 - places)), a.low_ << places);
    }
    friend constexpr TwoHalfInt operator>>(TwoHalfInt a, int places) {
        const std::int64_t high = a.high();
        if (places == 0)
            return a;
        if (places >= 64)
            return bits(static_cast<std::uint64_t>(high >> 63),
                        static_cast<std::uint64_t>(high >> (places - 64)));
        return bits(static_cast<std::uint64_t>(high >> places),
                    (a.low_ >> places) | (a.high_ << (64 - places)));
    }

    constexpr TwoHalfInt& operator+=(TwoHalfInt o) { return *this = *this + o; }
    constexpr TwoHalfInt& operator-=(TwoHalfInt o) { return *this = *this - o; }
    constexpr TwoHalfInt& operator*=(TwoHalfInt o) { return *this = *this * o; }
    constexpr TwoHalfInt& operator/=(TwoHalfInt o) { return *this = *this / o; }
    constexpr TwoHalfInt& operator%=(TwoHalfInt o) { return *this = *this % o; }
    constexpr TwoHalfInt& operator++() { return *this += 1; }

private:
    static constexpr TwoHalfInt bits(std::uint64_t high, std::uint64_t low) {
        TwoHalfInt v;
        v.high_ = high;
        v.low_ = low;
        return v;
    }
    static constexpr TwoHalfInt fullProduct(std::uint64_t a, std::uint64_t b) {
        constexpr std::uint64_t mask = 0xffffffff;
        const std::uint64_t a0 = a & mask, a1 = a >> 32, b0 = b & mask, b1 = b >> 32;
        const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        const std::uint64_t middle = (p00 >> 32) + (p01 & mask) + (p10 & mask); // below 3 * 2^32
        return bits(p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & mask));
    }
    // Both taken as unsigned 128-bit magnitudes.
    static constexpr bool belowUnsigned(TwoHalfInt a, TwoHalfInt b) {
        return a.high_ != b.high_ ? a.high_ < b.high_ : a.low_ < b.low_;
    }
    static constexpr int leadingZeros(TwoHalfInt a) {
        return a.high_ != 0 ? std::countl_zero(a.high_) : 64 + std::countl_zero(a.low_);
    }
    static constexpr void divideUnsigned(TwoHalfInt n, TwoHalfInt d, TwoHalfInt& quotient,
                                         TwoHalfInt& remainder);
    static constexpr void divide(TwoHalfInt a, TwoHalfInt b, TwoHalfInt& quotient, TwoHalfInt& remainder);

    std::uint64_t low_ = 0;
    std::uint64_t high_ = 0;
};

constexpr void TwoHalfInt::divideUnsigned(TwoHalfInt n, TwoHalfInt d, TwoHalfInt& quotient,
                                          TwoHalfInt& remainder) {
    if (n.high_ == 0 && d.high_ == 0) {
        quotient = n.low_ / d.low_;
        remainder = n.low_ % d.low_;
        return;
    }
    if (d.high_ == 0 && d.low_ <= 0xffffffff) {
        // A divisor of 32 bits (10, 10^4, 10^9: the usual ones) goes through the dividend a 32-bit
        // digit at a time, each step a 64-bit division.
        const std::uint64_t digits[4] = {n.high_ >> 32, n.high_ & 0xffffffff, n.low_ >> 32,
                                         n.low_ & 0xffffffff};
        std::uint64_t q[4] = {};
        std::uint64_t rest = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint64_t current = (rest << 32) | digits[i];
            q[i] = current / d.low_;
            rest = current % d.low_;
        }
        quotient = bits((q[0] << 32) | q[1], (q[2] << 32) | q[3]);
        remainder = rest;
        return;
    }
    quotient = 0;
    if (belowUnsigned(n, d)) {
        remainder = n;
        return;
    }
    // Long division a bit at a time, from the divisor lined up under the dividend's top bit.
    const int shift = leadingZeros(d) - leadingZeros(n);
    d = d << shift;
    for (int i = 0; i <= shift; ++i) {
        quotient = quotient << 1;
        if (!belowUnsigned(n, d)) {
            n = n - d;
            quotient.low_ |= 1;
        }
        d = bits(d.high_ >> 1, (d.low_ >> 1) | (d.high_ << 63));
    }
    remainder = n;
}

constexpr void TwoHalfInt::divide(TwoHalfInt a, TwoHalfInt b, TwoHalfInt& quotient, TwoHalfInt& remainder) {
    // The most negative value negates to itself, whose bits read unsigned are its magnitude.
    const bool negativeA = a.high() < 0, negativeB = b.high() < 0;
    divideUnsigned(negativeA ? -a : a, negativeB ? -b : b, quotient, remainder);
    if (negativeA != negativeB)
        quotient = -quotient;
    if (negativeA)
        remainder = -remainder;
}

// The program's 128-bit integer: the compiler's own where it has one, at no cost.
// SORAKADO_TWO_HALF_WIDE_INT takes the class even there, to build and test the whole program as a
// compiler without one would.
#if defined(__SIZEOF_INT128__)
using NativeWideInt = __int128;
#endif
#if defined(__SIZEOF_INT128__) && !defined(SORAKADO_TWO_HALF_WIDE_INT)
using WideInt = NativeWideInt;
#else
using WideInt = TwoHalfInt;
#endif

// Exact decimal digits, '-' before a negative value, the most negative one included.
std::string decimalText(TwoHalfInt v);
#if defined(__SIZEOF_INT128__)
std::string decimalText(NativeWideInt v);
#endif

} // namespace sorakado
