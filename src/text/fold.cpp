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

// Characters NFKC leaves as they are whatever stands beside them: printable ASCII, the Japanese
// punctuation 、。〃々, hiragana, katakana with ー and ・, and the common kanji. Most descriptions
// are made of nothing else, and skip the costly normalisation.
bool stableUnderNfkc(char16_t u) {
    return (u >= 0x20 && u <= 0x7E) || (u >= 0x3001 && u <= 0x3005) || (u >= 0x3041 && u <= 0x3096) ||
           (u >= 0x309D && u <= 0x309E) || (u >= 0x30A1 && u <= 0x30FE) || (u >= 0x3400 && u <= 0x4DBF) ||
           (u >= 0x4E00 && u <= 0x9FFF);
}

} // namespace

QString foldForMatch(QStringView text) {
    bool stable = true;
    for (QChar c : text)
        stable = stable && stableUnderNfkc(c.unicode());
    QString folded = stable ? text.toString() : text.toString().normalized(QString::NormalizationForm_KC);
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if ((u >= kKatakanaFirst && u <= kKatakanaLast) || (u >= kIterationFirst && u <= kIterationLast))
            c = QChar(static_cast<char16_t>(u - kToHiragana));
    }
    return folded.toCaseFolded();
}

} // namespace sorakado::text
