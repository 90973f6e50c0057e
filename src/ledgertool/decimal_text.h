#pragma once

#include "store/amount.h"

#include <string_view>

namespace sorakado::legacy {

// How a number written as text came into an Amount.
enum class DecimalStatus {
    Exact,      // every digit kept
    Rounded,    // more than four decimals: rounded half away from zero to four
    NotANumber, // not a decimal number (also "inf" and "nan")
    OutOfRange, // more whole yen than a 64-bit integer holds
};

struct DecimalReading {
    DecimalStatus status = DecimalStatus::NotANumber;
    Amount amount; // meaningful for Exact and Rounded
};

// Reads a decimal number digit by digit, never through floating point: an optional sign,
// digits with an optional point, and an optional exponent ("1234.5", "-500.0000",
// "9.87654321e+08", "1.5E-3"). Nothing else is accepted, not even blanks, so a value that a
// locale wrote with a decimal comma is refused rather than misread.
DecimalReading readDecimal(std::string_view text);

} // namespace sorakado::legacy
