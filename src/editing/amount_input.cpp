#include "amount_input.h"

#include "monthly/numeric_text.h"
#include "texts.h"

namespace sorakado::editing {

AmountInput readAmount(const QString& text) {
    if (text.isEmpty())
        return {std::nullopt, texts::kBlankAmount};
    const auto value = parseNumericText(text);
    if (!value)
        return {std::nullopt, texts::kDigitsOnly};
    // A number all the same: the refusal names what the ledger cannot keep.
    if (value->fraction.size() > static_cast<std::size_t>(Amount::kDecimals))
        return {std::nullopt, texts::kFourDecimalsAtMost};
    if (auto amount = value->toAmount())
        return {amount, {}};
    return {std::nullopt, texts::kDigitsOnly};
}

} // namespace sorakado::editing
