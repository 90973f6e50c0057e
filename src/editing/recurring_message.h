#pragma once

// What the family is told after repeating entries were written: plain text, no window.

#include "store/recurring.h"

#include <QString>

#include <vector>

namespace sorakado::editing {

// At most this many lines name what was written; the rest are counted (「ほか N件」).
inline constexpr std::size_t kPostedLinesShown = 10;

// "定期明細を記入しました（12件）。" and a line per entry or income written, oldest first:
// "2024/03/31　住居費　家賃　\80000", "2024/03　花子の収入　\300000", then 「ほか 2件」.
QString postedMessage(const std::vector<recurring::Posted>& posted);

} // namespace sorakado::editing
