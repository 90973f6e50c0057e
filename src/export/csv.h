#pragma once

#include <cstddef>
#include <set>
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

// A text the family typed or a statement brought in: a text beginning with =, +, -, @, tab or CR
// would run as a formula in a spreadsheet (=HYPERLINK(...) sends data away), so it gets a leading
// apostrophe inside a quoted field, which spreadsheets show as text and do not display (the full-width
// ＝＋－＠ as well). Every other text is field(text).
std::string textField(std::string_view text);

// The columns of a record the program writes as numbers (amounts, keys): field() keeps a minus
// sign a number. Every other column is a textField().
using NumberColumns = std::set<std::size_t>;

// One record: the fields joined by commas, then CR LF.
std::string record(const std::vector<std::string>& fields, const NumberColumns& numbers = {});

// A whole file: the byte order mark, the heading record, then one record per row.
std::string document(const std::vector<std::string>& headings,
                     const std::vector<std::vector<std::string>>& rows, const NumberColumns& numbers = {});

} // namespace sorakado::csv
