#pragma once

#include "store/amount.h"

#include <QString>

#include <optional>
#include <string>

namespace sorakado {

// A number as the user typed it, reduced to sign and plain ASCII digits.
struct NumericValue {
    bool negative = false;
    std::string whole;    // no leading zeros; "0" for zero
    std::string fraction; // no trailing zeros; empty for a whole number

    bool isWhole() const { return fraction.empty(); }
    bool isZero() const { return whole == "0" && fraction.empty(); }
    // Compares the value with a whole number: -1, 0 or 1.
    int compare(long long other) const;
    // The whole value as plain digits with its sign ("-12", "2006"); only for whole values.
    std::string wholeText() const;
    // The amount the text means, or nullopt when the ledger cannot hold it exactly: more than
    // four decimals, beyond ±10^15 yen, or a fraction on an amount of 10^11 yen or more (the
    // ledger keeps such an amount as a double, which holds 15 significant digits).
    std::optional<Amount> toAmount() const;
};

// The numeric-text test used for every number the user types (years, months, amounts).
// Accepted, after blanks (spaces, tabs, ideographic spaces) around the text are dropped and
// full-width characters are read as their ASCII forms:
//   - an optional sign, "+" or "-";
//   - an optional yen sign ("\", "¥" or "￥"), before or after the sign;
//   - digits, either plain ("1000") or grouped by commas in threes ("1,000", "12,345,678");
//   - an optional decimal point with digits on at least one side ("12.5", ".5", "5.").
// Refused: empty text, blanks inside the number, exponents ("1e3"), hexadecimal, a sign
// after the digits, parentheses, commas out of place ("1,00", ",100") and anything else.
std::optional<NumericValue> parseNumericText(const QString& text);

inline bool isNumericText(const QString& text) {
    return parseNumericText(text).has_value();
}

} // namespace sorakado
