#include "fold.h"

namespace sorakado::text {

namespace {

// Katakana ァ..ヶ and the iteration marks ヽヾ sit 0x60 above their hiragana. ヷ..ヺ and the
// small ㇰ.. have no hiragana of their own and stay as they are.
constexpr char16_t kKatakanaFirst = u'\u30A1';
constexpr char16_t kKatakanaLast = u'\u30F6';
constexpr char16_t kIterationFirst = u'\u30FD';
constexpr char16_t kIterationLast = u'\u30FE';
constexpr char16_t kToHiragana = 0x60;

bool plainAscii(QStringView text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80 || (c >= u'A' && c <= u'Z'))
            return false;
    return true;
}

} // namespace

QString foldForMatch(QStringView text) {
    // Most descriptions repeat; plain lower-case ASCII is already in its folded form.
    if (plainAscii(text))
        return text.toString();
    QString folded = text.toString().normalized(QString::NormalizationForm_KC);
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if ((u >= kKatakanaFirst && u <= kKatakanaLast) || (u >= kIterationFirst && u <= kIterationLast))
            c = QChar(static_cast<char16_t>(u - kToHiragana));
    }
    return folded.toCaseFolded();
}

} // namespace sorakado::text
