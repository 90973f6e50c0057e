// The one folding every comparison of texts goes through: what a person does not mean as a
// difference is none, and what they do mean stays one.

#include "text/fold.h"

#include <gtest/gtest.h>

namespace sorakado::text {
namespace {

struct Same {
    const char* typed;
    const char* stored;
};

class FoldsTogether : public ::testing::TestWithParam<Same> {};

TEST_P(FoldsTogether, BothSidesFoldToOneText) {
    const QString a = foldForMatch(QString::fromUtf8(GetParam().typed));
    const QString b = foldForMatch(QString::fromUtf8(GetParam().stored));
    EXPECT_EQ(a, b) << GetParam().typed << " / " << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(Widths, FoldsTogether,
                         ::testing::Values(Same{"ｾﾌﾞﾝ", "セブン"}, Same{"ＡＢＣ", "ABC"}, Same{"１２", "12"},
                                           Same{"ｶﾞｿﾘﾝ", "ガソリン"}, Same{"ﾊﾟﾝ", "パン"},
                                           Same{"（３点）", "(3点)"}, Same{"＠ｈｏｍｅ", "@home"}));
INSTANTIATE_TEST_SUITE_P(Kana, FoldsTogether,
                         ::testing::Values(Same{"ほけん", "ホケン"}, Same{"ｽｰﾊﾟｰ", "すーぱー"},
                                           Same{"ヴ", "ゔ"}, Same{"ヽヾ", "ゝゞ"}, Same{"ァィゥ", "ぁぃぅ"}));
INSTANTIATE_TEST_SUITE_P(LatinCase, FoldsTogether,
                         ::testing::Values(Same{"abc", "ABC"}, Same{"Ａｍａｚｏｎ", "amazon"},
                                           Same{"ÉCOLE", "école"}));
INSTANTIATE_TEST_SUITE_P(LongVowelsAndSpaces, FoldsTogether,
                         ::testing::Values(Same{"ｺｰﾋｰ", "コーヒー"}, Same{"家族　旅行", "家族 旅行"},
                                           Same{"ＣＤ－Ｒ", "CD-R"}));

struct Apart {
    const char* a;
    const char* b;
};

class StaysApart : public ::testing::TestWithParam<Apart> {};

TEST_P(StaysApart, DifferentWordsFoldToDifferentTexts) {
    EXPECT_NE(foldForMatch(QString::fromUtf8(GetParam().a)), foldForMatch(QString::fromUtf8(GetParam().b)))
        << GetParam().a << " / " << GetParam().b;
}

INSTANTIATE_TEST_SUITE_P(Meant, StaysApart,
                         ::testing::Values(Apart{"か", "が"}, Apart{"ﾊﾝ", "パン"}, Apart{"保険", "ほけん"},
                                           Apart{"ー", "-"}, Apart{"1", "１０"}, Apart{"つ", "っ"}));

TEST(FoldForMatch, KeepsTheTextOtherwiseAndIsStable) {
    EXPECT_EQ(foldForMatch(u"スーパーで買い物"), QStringLiteral("すーぱーで買い物"));
    EXPECT_EQ(foldForMatch(u"ＡＢＣ１２３ｾﾌﾞﾝ"), QStringLiteral("abc123せぶん"));
    EXPECT_EQ(foldForMatch(u""), QString());
    EXPECT_EQ(foldForMatch(u"plain text 42"), QStringLiteral("plain text 42"));
    const QString once = foldForMatch(u"ｶﾞｿﾘﾝ　ＳＴＡＮＤ");
    EXPECT_EQ(foldForMatch(once), once); // folding a folded text changes nothing
}

} // namespace
} // namespace sorakado::text
