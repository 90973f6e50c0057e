#include "month_key.h"

namespace sorakado {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string twoDigits(int n) {
    return (n >= 0 && n < 10 ? "0" : "") + std::to_string(n);
}

} // namespace

std::optional<MonthKey> MonthKey::of(int year, int month) {
    if (year < 0 || year > 9999 || month < 1 || month > 12)
        return std::nullopt;
    return MonthKey(year, month);
}

std::optional<MonthKey> MonthKey::parse(std::string_view text) {
    if (text.size() != 7 || text[4] != '/')
        return std::nullopt;
    int year = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        year = year * 10 + (text[i] - '0');
    }
    if (!isDigit(text[5]) || !isDigit(text[6]))
        return std::nullopt;
    return of(year, (text[5] - '0') * 10 + (text[6] - '0'));
}

std::string MonthKey::keyText(std::string_view yearText, int month) {
    return std::string(yearText) + "/" + twoDigits(month);
}

std::string MonthKey::text() const {
    return keyText(yearText(), month_);
}

std::string MonthKey::yearText() const {
    std::string digits = std::to_string(year_);
    return std::string(4 - digits.size(), '0') + digits;
}

} // namespace sorakado
