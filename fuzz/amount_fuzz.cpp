// Amounts on any bits: an amount prints as plain decimal text that the numeric-text test reads
// back as the same amount, whole yen come back as the same 64-bit figure, and an amount the
// ledger accepts survives being stored as a REAL and read back.

#include "fuzz_check.h"
#include "monthly/numeric_text.h"
#include "store/amount.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using sorakado::Amount;

// The largest whole amount the ledger accepts, and the largest that may carry a fraction.
constexpr Amount::Raw kLargestYen = 1000000000000000LL;
constexpr Amount::Raw kLargestFractional = 100000000000LL;

Amount::Raw digitsValue(const std::string& digits) {
    Amount::Raw v = 0;
    for (char c : digits)
        v = v * 10 + (c - '0');
    return v;
}

void checkText(Amount a) {
    const std::string text = a.text();
    const auto value = sorakado::parseNumericText(QString::fromStdString(text));
    FUZZ_CHECK(value.has_value());
    FUZZ_CHECK(value->negative == (a.sign() < 0));
    FUZZ_CHECK(value->fraction.size() <= std::size_t(Amount::kDecimals));
    FUZZ_CHECK(value->isWhole() == a.isWholeYen());
    // Read back digit by digit where the figure fits in 128 bits with room to spare.
    const Amount::Raw raw = a.tenThousandths();
    const Amount::Raw yen = raw / Amount::kScale; // toward zero: no overflow at the most negative
    if (yen <= kLargestYen && yen >= -kLargestYen) {
        std::string fraction = value->fraction;
        fraction.resize(Amount::kDecimals, '0');
        const Amount::Raw back = digitsValue(value->whole) * Amount::kScale + digitsValue(fraction);
        FUZZ_CHECK((raw < 0 ? -back : back) == raw);
    }
}

void checkWholeYen(Amount a) {
    if (const auto yen = a.wholeYen()) {
        FUZZ_CHECK(a.isWholeYen());
        FUZZ_CHECK(Amount::fromYen(*yen) == a);
    }
}

// What the ledger holds as a REAL: an amount with a fraction up to 10^11 yen. Whole amounts up
// to 10^15 go in as integers, but a REAL of one must still read back exactly.
void checkStoredAsReal(Amount a) {
    const Amount::Raw raw = a.tenThousandths();
    const Amount::Raw limit = (a.isWholeYen() ? kLargestYen : kLargestFractional) * Amount::kScale;
    const bool accepted = a.isWholeYen() ? raw <= limit && raw >= -limit : raw < limit && raw > -limit;
    if (!accepted)
        return;
    FUZZ_CHECK(Amount::fromStoredDouble(a.toDouble()) == a);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Amount::Raw raw = 0;
    std::memcpy(&raw, data, size < sizeof raw ? size : sizeof raw);
    // Half the inputs are narrowed to the range the ledger deals in, where the checks bite.
    if (size > sizeof raw && (data[sizeof raw] & 1))
        raw %= (kLargestYen + 1) * Amount::kScale;
    const Amount a = Amount::fromTenThousandths(raw);
    checkText(a);
    checkWholeYen(a);
    checkStoredAsReal(a);
    return 0;
}
