#pragma once

#include <QString>
#include <QStringView>

namespace sorakado::text {

// The form in which two texts are compared when the user means the same words however they were
// typed: full-width and half-width forms, the long-vowel and space variants and the other
// compatibility forms are brought together (NFKC: ｾﾌﾞﾝ and セブン, ＡＢＣ and ABC, １２ and 12,
// ｰ and ー, the ideographic space and the space), katakana is read as hiragana (ホケン and ほけん),
// and Latin letters lose their case. Every feature that compares texts (searching the ledger,
// recognising a statement's lines) folds both sides with this one function.
QString foldForMatch(QStringView text);

} // namespace sorakado::text
