#pragma once

#include "charts.h"
#include "export/year_figures.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace sorakado::report {

// Why no report could be drawn, in one Japanese line.
class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ReportInfo {
    QString createdOn;      // "2026/12/08", from the caller's clock
    QString programVersion; // "1.0.3"
};

// The Japanese face the report is set in: the window's proportional Gothic (IPAPGothic), else
// Noto Sans CJK JP; empty when neither is installed. Needs a QGuiApplication.
QString reportFontFamily();

// A category as the report names it: its name, or a stand-in for a Null name or a category
// that is gone.
QString categoryLabel(const yearly::CategorySpending& category);

// The category chart's bars, in the order given: at most maxBars, the smallest ones beyond
// that folded into one "その他" bar so the bars still add up to the year's spending.
std::vector<CategoryBar> categoryBars(const std::vector<yearly::CategorySpending>& categories,
                                      std::size_t maxBars);

// The year report as the bytes of an A4 PDF: the year's totals, the months as a bar chart with
// the difference and as a table, then the spending by category as a sorted bar chart and a
// table over as many pages as it takes. Needs a QGuiApplication; throws ReportError when no
// Japanese font is installed.
QByteArray renderYearReport(const yearly::YearFigures& figures, const ReportInfo& info);

} // namespace sorakado::report
