#include "csv.h"

namespace sorakado::csv {

std::string field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string record(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += field(fields[i]);
    }
    out += kLineEnd;
    return out;
}

std::string document(const std::vector<std::string>& headings,
                     const std::vector<std::vector<std::string>>& rows) {
    std::string out(kByteOrderMark);
    out += record(headings);
    for (const auto& row : rows)
        out += record(row);
    return out;
}

} // namespace sorakado::csv
