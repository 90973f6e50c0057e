// Statement files in the shapes and encodings banks and card companies give out
// (tests/fixtures/statements/, written by make_fixtures.sh), each with the rows it must give.
#include "statement/csv_records.h"
#include "statement/reader.h"

#include <QFile>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorakado::statement {
namespace {

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(SORAKADO_STATEMENT_FIXTURES "/") + QString::fromUtf8(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

struct Row {
    int line;
    QDate date;
    std::string description;
    std::int64_t yen;
};

void expectRows(const StatementRead& read, const std::vector<Row>& rows) {
    ASSERT_FALSE(read.fileError) << read.fileError->toStdString();
    ASSERT_EQ(read.payments.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& got = read.payments[i];
        EXPECT_EQ(got.line, rows[i].line) << "row " << i;
        EXPECT_EQ(got.date, rows[i].date) << "row " << i;
        EXPECT_EQ(got.description.toStdString(), rows[i].description) << "row " << i;
        EXPECT_EQ(got.amount, Amount::fromYen(rows[i].yen)) << "row " << i;
    }
}

std::vector<std::pair<int, std::string>> problems(const StatementRead& read) {
    std::vector<std::pair<int, std::string>> out;
    for (const auto& p : read.problems)
        out.emplace_back(p.line, p.why.toStdString());
    return out;
}

TEST(StatementRead, CardInShiftJisWithPreambleDividersAndTwoCards) {
    const StatementRead read = readStatement(fixture("card_cp932.csv"));
    EXPECT_EQ(read.encoding, Encoding::Cp932);
    // Windows' own characters (髙 ① Ⅲ ㈱) survive, half-width kana stays as the file has it,
    // the amount used is read rather than the payment total, and ▲ is a refund.
    expectRows(read, {{7, QDate(2026, 11, 2), "髙島屋　日本橋店", 5400},
                      {8, QDate(2026, 11, 3), "ﾌｧﾐﾘｰﾏｰﾄ", 292},
                      {9, QDate(2026, 11, 5), "①番館ベーカリー", 1080},
                      {14, QDate(2026, 11, 7), "ドラッグⅢ㈱", 1200},
                      {15, QDate(2026, 11, 8), "ﾕﾆｸﾛ 札幌店", -500}});
    EXPECT_EQ(read.notPayments, 5); // 小計, the divider, the second holder, its heading, 合計
    EXPECT_TRUE(read.problems.empty());
}

TEST(StatementRead, BankWithBomEraDatesAndDepositColumn) {
    const StatementRead read = readStatement(fixture("bank_utf8_bom.csv"));
    EXPECT_EQ(read.encoding, Encoding::Utf8WithBom);
    // Newest first as the bank lists it; the salary is a deposit, no row.
    expectRows(read, {{2, QDate(2026, 11, 25), "ｺｳｻﾞﾌﾘｶｴ ﾃﾞﾝｷ", 8640},
                      {4, QDate(2026, 11, 10), "ATM", 20000},
                      {5, QDate(2019, 4, 30), "平成の最後の日", 100}});
    EXPECT_EQ(read.notPayments, 1);
}

TEST(StatementRead, TwoDescriptionColumnsJoinedAndFullWidthAmounts) {
    const StatementRead read = readStatement(fixture("bank_two_descriptions.csv"));
    EXPECT_EQ(read.encoding, Encoding::Utf8);
    expectRows(read, {{2, QDate(2026, 11, 2), "カード ＵＮＩＱＬＯ　新宿", 1200},
                      {3, QDate(2026, 11, 3), "振込", 292},
                      {4, QDate(2026, 11, 4), "ﾄﾞﾄｰﾙ", 450},
                      {5, QDate(2026, 11, 5), "口座振替 ＮＨＫ", 2200}});
}

TEST(StatementRead, NoHeadingColumnsKnownFromContents) {
    const StatementRead read = readStatement(fixture("no_heading.csv"));
    // Two identical lines stay two; the payment month '26/12 and 1回払い are not descriptions.
    expectRows(read, {{2, QDate(2026, 11, 2), "ｾﾌﾞﾝｲﾚﾌﾞﾝ", 540},
                      {3, QDate(2026, 11, 2), "ｾﾌﾞﾝｲﾚﾌﾞﾝ", 540},
                      {4, QDate(2026, 11, 10), "ｱﾏｿﾞﾝ ﾏｰｹｯﾄﾌﾟﾚｲｽ", -3000}});
    EXPECT_EQ(read.notPayments, 1); // the total line
}

TEST(StatementRead, BadLinesAreReportedWithTheirNumbersAndTheRestIsRead) {
    const StatementRead read = readStatement(fixture("broken_lines.csv"));
    expectRows(read, {{3, QDate(2026, 11, 2), "ローソン", 310}, {7, QDate(2026, 11, 4), "ローソン", 340}});
    using P = std::pair<int, std::string>;
    EXPECT_EQ(problems(read), (std::vector<P>{{2, "引用符（\"）が閉じていません"},
                                              {4, "存在しない日付です: 2026/02/30"},
                                              {5, "金額が読めません: 三百"},
                                              {6, "存在しない日付です: R1.04.30"}}));
}

TEST(StatementRead, FilesThatCannotBeReadAtAllGiveNoRows) {
    struct Case {
        QByteArray bytes;
        const char* why;
    };
    const std::vector<Case> cases{
        {QByteArray(), "ファイルが空です"},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         "文字のファイルではありません（UTF-8 でも Shift_JIS でも読めません）"},
        {QByteArray("\xEF\xBB\xBF\xFF\xFE", 5),
         "文字のファイルではありません（UTF-8 でも Shift_JIS でも読めません）"},
        {QByteArray("\x82\xA0\xFF\xFF,1\n", 7),
         "文字のファイルではありません（UTF-8 でも Shift_JIS でも読めません）"},
        {fixture("no_amount_column.csv"), "金額の列が見つかりません"},
        {QByteArray("摘要,金額\nコンビニ,100\n"), "日付の列が見つかりません"},
        {QByteArray("明細なし\nお問い合わせ先,0120-000-000\n"), "日付と金額の列が見つかりません"},
    };
    for (const auto& c : cases) {
        const StatementRead read = readStatement(c.bytes);
        ASSERT_TRUE(read.fileError) << c.why;
        EXPECT_EQ(read.fileError->toStdString(), c.why);
        EXPECT_TRUE(read.payments.empty());
    }
}

TEST(StatementCsv, QuotesLineEndsAndBlankLines) {
    const CsvRecords csv =
        splitCsv(QStringLiteral("a,\"b,\"\"c\"\"\"\r\n\r\n\"multi\nline\",x\rlast,\"\" \n\"open,1\n2,3"));
    ASSERT_EQ(csv.records.size(), 4u);
    EXPECT_EQ(csv.records[0].fields, (QStringList{"a", "b,\"c\""}));
    EXPECT_EQ(csv.records[1].line, 3);
    EXPECT_EQ(csv.records[1].fields, (QStringList{"multi\nline", "x"}));
    EXPECT_EQ(csv.records[2].line, 5);
    EXPECT_EQ(csv.records[2].fields, (QStringList{"last", ""}));
    EXPECT_EQ(csv.records[3].line, 7);
    EXPECT_EQ(csv.records[3].fields, (QStringList{"2", "3"}));
    ASSERT_EQ(csv.problems.size(), 1u);
    EXPECT_EQ(csv.problems[0].line, 6);
}

} // namespace
} // namespace sorakado::statement
