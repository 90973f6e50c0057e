#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sorakado::csv {

// Spreadsheet text as a Japanese desktop opens it without asking: UTF-8 with a byte order mark
// (without it Excel reads Shift_JIS), lines ended by CR LF, fields quoted as RFC 4180 says.

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
inline constexpr std::string_view kLineEnd = "\r\n";

// One field: quoted, with its quotes doubled, when it holds a comma, a quote, CR or LF;
// otherwise as it is. Line breaks inside a field are kept as stored.
std::string field(std::string_view text);

// One record: the fields joined by commas, then CR LF.
std::string record(const std::vector<std::string>& fields);

// A whole file: the byte order mark, the heading record, then one record per row.
std::string document(const std::vector<std::string>& headings,
                     const std::vector<std::vector<std::string>>& rows);

} // namespace sorakado::csv
