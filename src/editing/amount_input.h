#pragma once

#include "store/amount.h"

#include <QString>

#include <optional>

namespace sorakado::editing {

// An amount as typed into a panel: the amount the text means, or the refusal to show.
struct AmountInput {
    std::optional<Amount> amount;
    QString refusal; // empty when the amount was read

    bool ok() const { return amount.has_value(); }
};

// Empty text is refused as blank; a number with more than four decimals as more than the ledger
// keeps; text that is not a number, or a number the ledger cannot hold exactly (beyond ±10^15
// yen), as not digits. "1,000", "\1000" and full-width digits read as 1000.
AmountInput readAmount(const QString& text);

} // namespace sorakado::editing
