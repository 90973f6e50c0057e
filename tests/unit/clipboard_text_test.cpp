// The text a list becomes on the clipboard.

#include "export/clipboard_text.h"

#include <gtest/gtest.h>

namespace sorakado {
namespace {

std::string text(const QStringList& headings, const std::vector<QStringList>& rows) {
    return listClipboardText(headings, rows).toStdString();
}

TEST(ClipboardTextTest, AListWithoutRowsIsItsHeadingLineAlone) {
    EXPECT_EQ(text({QStringLiteral("名前(右ｸﾘｯｸ編集)"), QStringLiteral("収入")}, {}),
              "名前(右ｸﾘｯｸ編集)\t収入");
}

TEST(ClipboardTextTest, EachRowFollowsALineBreakWithTheCellsItHoldsAndNoBreakAtTheEnd) {
    const std::vector<QStringList> rows{
        {QStringLiteral("2006/04/05(水)"), QStringLiteral("食費"), QStringLiteral("米"),
         QStringLiteral("\\2000")},
        {QStringLiteral("今月合計"), QString(), QString(), QStringLiteral("\\2000")}, // empty cells kept
        {QStringLiteral("2006年各月集計")},                                           // one cell only
        {},                                                                           // no cells at all
    };
    EXPECT_EQ(text({QStringLiteral("日付"), QStringLiteral("項目名"), QStringLiteral("詳細"),
                    QStringLiteral("金額")},
                   rows),
              "日付\t項目名\t詳細\t金額\r\n"
              "2006/04/05(水)\t食費\t米\t\\2000\r\n"
              "今月合計\t\t\t\\2000\r\n"
              "2006年各月集計\r\n");
}

TEST(ClipboardTextTest, TabsLineBreaksAndQuotesInsideCellsAreCopiedAsTheyAre) {
    EXPECT_EQ(text({QStringLiteral("項目名"), QStringLiteral("項目合計")},
                   {{QStringLiteral("a\tb \"c\" 'd'"), QStringLiteral("一\r\n二😀")}}),
              "項目名\t項目合計\r\na\tb \"c\" 'd'\t一\r\n二😀");
}

} // namespace
} // namespace sorakado
