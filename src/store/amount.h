#pragma once

#include "wide_int.h"

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace sorakado {

// An amount of yen kept exactly as ten-thousandths of a yen. Whole-yen figures stay exact
// 64-bit integers on the way in and out; a stored fraction keeps at most four decimals.
// 128 bits hold sums of a lifetime of entries at the largest amount the ledger accepts.
class Amount {
public:
    using Raw = WideInt;
    static constexpr int kDecimals = 4;
    static constexpr std::int64_t kScale = 10000;

    constexpr Amount() = default;
    static constexpr Amount fromYen(std::int64_t yen) { return Amount(Raw(yen) * kScale); }
    static constexpr Amount fromTenThousandths(Raw raw) { return Amount(raw); }
    // A REAL read from the ledger: rounded to the nearest ten-thousandth, so 0.1 + 0.2 reads 0.3.
    // nullopt for an infinity or a value of 2^63 yen or more either way, which only another
    // tool could have stored: no amount of the ledger is that large.
    static std::optional<Amount> fromStoredDouble(double value);
    // The bound fromStoredDouble keeps to: every value strictly inside it reads.
    static constexpr double kStoredDoubleLimit = 9223372036854775808.0; // 2^63

    constexpr Raw tenThousandths() const { return raw_; }
    constexpr bool isWholeYen() const { return raw_ % kScale == 0; }
    // Whole yen when the amount is whole and fits in 64 bits.
    std::optional<std::int64_t> wholeYen() const;
    double toDouble() const;
    constexpr int sign() const { return raw_ < 0 ? -1 : (raw_ > 0 ? 1 : 0); }

    // Plain decimal: no grouping, no exponent, at most four decimals with trailing zeros dropped.
    std::string text() const;

    constexpr Amount operator+(Amount o) const { return Amount(raw_ + o.raw_); }
    constexpr Amount operator-(Amount o) const { return Amount(raw_ - o.raw_); }
    constexpr Amount& operator+=(Amount o) {
        raw_ += o.raw_;
        return *this;
    }
    constexpr bool operator==(const Amount&) const = default;
    constexpr auto operator<=>(const Amount& o) const {
        return raw_ < o.raw_ ? std::strong_ordering::less
                             : (raw_ > o.raw_ ? std::strong_ordering::greater : std::strong_ordering::equal);
    }

private:
    constexpr explicit Amount(Raw raw) : raw_(raw) {}
    Raw raw_ = 0;
};

} // namespace sorakado
