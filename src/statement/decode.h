#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace sorakado::statement {

// The encodings Japanese banks and card companies write their statements in.
enum class Encoding { Utf8, Utf8WithBom, Cp932 };

struct DecodedText {
    Encoding encoding = Encoding::Utf8;
    QString text;
    std::optional<QString> error; // set when the bytes are no statement text at all
};

// UTF-8 when every byte sequence is valid UTF-8 (a byte order mark decides at once), otherwise
// Shift_JIS as Windows writes it (CP932, with its NEC and IBM extensions such as 髙 ① Ⅲ ㈱).
// Refuses an empty file, a file with NUL or other control bytes (a binary), and bytes valid in
// neither encoding.
DecodedText decodeStatement(const QByteArray& bytes);

} // namespace sorakado::statement
