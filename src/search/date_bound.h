#pragma once

#include <QString>

#include <optional>
#include <string>

namespace sorakado::search {

// A date the user typed as one end of a range, as the start of the stored date texts it stands
// for: "2006" a year, "2006/4" or "2006/04" a month, "2006/4/5" a day ("2006/04/05"). Full-width
// digits, "-" and "." are read as well; blanks around are dropped. nullopt when the text names
// no such year, month or day (an empty text included: the caller leaves that end open).
std::optional<std::string> datePrefix(const QString& typed);

} // namespace sorakado::search
