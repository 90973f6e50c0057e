#include "decode.h"

#include "texts.h"

#include <QStringDecoder>

namespace sorakado::statement {

namespace {

// Qt on Debian is built with ICU, which knows Windows' Shift_JIS by this name. Plain "Shift_JIS"
// would read the wave dash and the minus of Windows files as other characters.
constexpr const char* kCp932 = "windows-31j";

// Text files hold no control bytes but tab, line feed, carriage return and the end-of-file mark
// some Windows programs still append.
bool looksBinary(const QByteArray& bytes) {
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != 0x1A)
            return true;
        if (u == 0x7F)
            return true;
    }
    return false;
}

std::optional<QString> decodeStrictly(QStringDecoder& decoder, QByteArrayView bytes) {
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

DecodedText decodeStatement(const QByteArray& bytes) {
    DecodedText out;
    if (bytes.isEmpty()) {
        out.error = QString::fromUtf8(texts::kEmptyFile);
        return out;
    }
    if (looksBinary(bytes)) {
        out.error = QString::fromUtf8(texts::kNotText);
        return out;
    }
    static constexpr QByteArrayView kBom("\xEF\xBB\xBF");
    const bool bom = bytes.startsWith(kBom);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (auto text = decodeStrictly(utf8, bom ? QByteArrayView(bytes).sliced(kBom.size()) : bytes)) {
        out.encoding = bom ? Encoding::Utf8WithBom : Encoding::Utf8;
        out.text = std::move(*text);
    } else if (!bom) {
        QStringDecoder cp932(kCp932, QStringConverter::Flag::Stateless);
        if (auto sjis = cp932.isValid() ? decodeStrictly(cp932, bytes) : std::nullopt) {
            out.encoding = Encoding::Cp932;
            out.text = std::move(*sjis);
        } else {
            out.error = QString::fromUtf8(texts::kNotText);
        }
    } else {
        out.error = QString::fromUtf8(texts::kNotText);
    }
    if (!out.error && out.text.endsWith(QChar(0x1A)))
        out.text.chop(1);
    return out;
}

} // namespace sorakado::statement
