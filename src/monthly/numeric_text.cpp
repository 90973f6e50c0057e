#include "numeric_text.h"

namespace sorakado {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == QChar(0x3000);
}

// Full-width ASCII forms (U+FF01 to U+FF5E) read as their ASCII counterparts.
QChar narrow(QChar c) {
    char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QChar(char16_t(u - 0xFF01 + 0x21));
    return c;
}

bool isYenSign(QChar c) {
    return c == u'\\' || c == QChar(0x00A5) || c == QChar(0xFFE5);
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

std::optional<NumericValue> parseNumericText(const QString& input) {
    QString s;
    s.reserve(input.size());
    for (QChar c : input)
        s.append(narrow(c));
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;

    NumericValue v;
    qsizetype i = b;
    bool sawSign = false, sawYen = false;
    for (int k = 0; k < 2 && i < e; ++k) {
        if (!sawSign && (s[i] == u'+' || s[i] == u'-')) {
            v.negative = s[i] == u'-';
            sawSign = true;
            ++i;
        } else if (!sawYen && isYenSign(s[i])) {
            sawYen = true;
            ++i;
        }
    }

    // Integer part: plain digits, or groups of three after a first group of one to three.
    std::string whole;
    bool grouped = false;
    qsizetype groupLen = 0;
    while (i < e && (isDigit(s[i]) || s[i] == u',')) {
        if (s[i] == u',') {
            if (whole.empty() || (grouped && groupLen != 3) || (!grouped && groupLen > 3))
                return std::nullopt;
            grouped = true;
            groupLen = 0;
        } else {
            whole.push_back(char(s[i].unicode()));
            ++groupLen;
        }
        ++i;
    }
    if (grouped && groupLen != 3)
        return std::nullopt;

    std::string fraction;
    bool point = false;
    if (i < e && s[i] == u'.') {
        point = true;
        ++i;
        while (i < e && isDigit(s[i]))
            fraction.push_back(char(s[i++].unicode()));
    }
    if (i != e || (whole.empty() && fraction.empty()))
        return std::nullopt;
    (void)point;

    auto firstNonZero = whole.find_first_not_of('0');
    v.whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    v.fraction = fraction;
    if (v.isZero())
        v.negative = false;
    return v;
}

int NumericValue::compare(long long other) const {
    std::string otherDigits =
        std::to_string(other < 0 ? -(other + 1) + 1ULL : static_cast<unsigned long long>(other));
    bool otherNegative = other < 0;
    if (negative != otherNegative)
        return negative ? -1 : 1;
    int magnitude;
    if (whole.size() != otherDigits.size())
        magnitude = whole.size() < otherDigits.size() ? -1 : 1;
    else if (whole != otherDigits)
        magnitude = whole < otherDigits ? -1 : 1;
    else
        magnitude = fraction.empty() ? 0 : 1;
    return negative ? -magnitude : magnitude;
}

std::string NumericValue::wholeText() const {
    return (negative ? "-" : "") + whole;
}

std::optional<Amount> NumericValue::toAmount() const {
    if (fraction.size() > static_cast<size_t>(Amount::kDecimals) || whole.size() > 16)
        return std::nullopt;
    Amount::Raw raw = 0;
    for (char c : whole)
        raw = raw * 10 + (c - '0');
    if (raw > Amount::Raw(1000000000000000LL))
        return std::nullopt;
    std::string frac = fraction;
    frac.resize(Amount::kDecimals, '0');
    raw *= Amount::kScale;
    Amount::Raw f = 0;
    for (char c : frac)
        f = f * 10 + (c - '0');
    raw += f;
    if (raw > Amount::Raw(1000000000000000LL) * Amount::kScale)
        return std::nullopt;
    if (!fraction.empty() && raw >= Amount::Raw(100000000000LL) * Amount::kScale)
        return std::nullopt;
    return Amount::fromTenThousandths(negative ? -raw : raw);
}

} // namespace sorakado
