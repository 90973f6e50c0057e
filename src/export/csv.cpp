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

namespace {

// Japanese spreadsheets read the full-width signs as the ASCII ones when they take a cell in.
bool beginsAsFormula(std::string_view text) {
    if (text.empty())
        return false;
    if (std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        return true;
    for (std::string_view wide : {"\uFF1D", "\uFF0B", "\uFF0D", "\uFF20"})
        if (text.substr(0, wide.size()) == wide)
            return true;
    return false;
}

} // namespace

std::string textField(std::string_view text) {
    if (!beginsAsFormula(text))
        return field(text);
    std::string out = "\"'";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string record(const std::vector<std::string>& fields, const NumberColumns& numbers) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        out += numbers.count(i) ? field(fields[i]) : textField(fields[i]);
    }
    out += kLineEnd;
    return out;
}

std::string document(const std::vector<std::string>& headings,
                     const std::vector<std::vector<std::string>>& rows, const NumberColumns& numbers) {
    std::string out(kByteOrderMark);
    out += record(headings);
    for (const auto& row : rows)
        out += record(row, numbers);
    return out;
}

} // namespace sorakado::csv
