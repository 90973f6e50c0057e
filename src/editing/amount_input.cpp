#include "amount_input.h"

#include "monthly/numeric_text.h"
#include "texts.h"

namespace sorakado::editing {

AmountInput readAmount(const QString& text) {
    if (text.isEmpty())
        return {std::nullopt, texts::kBlankAmount};
    if (auto value = parseNumericText(text))
        if (auto amount = value->toAmount())
            return {amount, {}};
    return {std::nullopt, texts::kDigitsOnly};
}

} // namespace sorakado::editing
