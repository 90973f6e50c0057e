// The year report's pieces that decide what is drawn, and the PDF it makes, offscreen.

#include "report/charts.h"
#include "report/year_report.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <regex>

namespace sorakado::report {
namespace {

class YearReportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "year_report_test";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance())
            new QGuiApplication(argc, argv);
    }

    static int pages(const QByteArray& pdf) {
        const std::string text = pdf.toStdString();
        std::regex page("/Type\\s*/Page(?!s)");
        return int(
            std::distance(std::sregex_iterator(text.begin(), text.end(), page), std::sregex_iterator()));
    }

    static yearly::YearFigures yearWith(int categoryCount) {
        yearly::YearFigures f;
        f.year = 2006;
        for (int m = 0; m < 12; ++m) {
            f.income[m] = Amount::fromYen(300000);
            f.spending[m] = Amount::fromYen(1000 * (m + 1));
        }
        for (int i = 0; i < categoryCount; ++i)
            f.categories.push_back(
                {i + 1, "項目" + std::to_string(i + 1), Amount::fromYen(1000 * (categoryCount - i))});
        return f;
    }
};

TEST_F(YearReportTest, CategoryBarsFoldTheSmallestIntoOneSoTheBarsStillAddUp) {
    std::vector<yearly::CategorySpending> c{{1, "食費", Amount::fromYen(500)},
                                            {2, std::nullopt, Amount::fromYen(300)},
                                            {std::nullopt, std::nullopt, Amount::fromYen(200)},
                                            {4, "雑費", Amount::fromYen(7)}};
    auto all = categoryBars(c, 4);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[1].label, QStringLiteral("（名前なし）"));
    EXPECT_EQ(all[2].label, QStringLiteral("（削除された項目）"));

    auto folded = categoryBars(c, 3);
    ASSERT_EQ(folded.size(), 3u);
    EXPECT_EQ(folded[0].label, QStringLiteral("食費"));
    EXPECT_EQ(folded[2].label, QStringLiteral("その他（2項目）"));
    EXPECT_EQ(folded[2].amount, Amount::fromYen(207));
}

TEST_F(YearReportTest, TheValueAxisTakesRoundStepsAndAlwaysHoldsZero) {
    auto s = niceScale(0, 420000.5);
    EXPECT_EQ(s.lo, 0);
    EXPECT_EQ(s.step, 100000);
    EXPECT_EQ(s.hi, 500000);
    s = niceScale(-30, 90);
    EXPECT_EQ(s.step, 50);
    EXPECT_EQ(s.lo, -50);
    EXPECT_EQ(s.hi, 100);
    s = niceScale(0, 0); // an empty year still has an axis
    EXPECT_LT(s.lo, s.hi);
    EXPECT_GT(s.step, 0);
}

TEST_F(YearReportTest, IsAnA4PdfOfTwoPagesThatGrowsWithALongCategoryTable) {
    ASSERT_FALSE(reportFontFamily().isEmpty()) << "IPAPGothic or Noto Sans CJK JP must be installed";
    const ReportInfo info{QStringLiteral("2026/12/08"), QStringLiteral("1.0.3")};
    QByteArray small = renderYearReport(yearWith(3), info);
    EXPECT_TRUE(small.startsWith("%PDF-"));
    EXPECT_TRUE(small.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(pages(small), 2);
    const std::string text = small.toStdString();
    EXPECT_TRUE(std::regex_search(text, std::regex("/MediaBox \\[0 0 595(\\.0+)? 842(\\.0+)?\\]")))
        << "not A4";
    EXPECT_EQ(pages(renderYearReport(yearWith(40), info)), 3);
    EXPECT_EQ(pages(renderYearReport(yearly::YearFigures{}, info)), 2);
}

} // namespace
} // namespace sorakado::report
