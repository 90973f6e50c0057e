#pragma once

#include "canvas.h"
#include "export/year_figures.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace sorakado::report {

// A value axis from lo to hi in round steps, zero always inside.
struct Scale {
    double lo = 0;
    double hi = 1;
    double step = 1;
};
Scale niceScale(double lo, double hi);

// Income and spending of each month as side-by-side bars, the difference as a line across
// them, a legend above and the amount axis on the left.
void drawMonthChart(Canvas& canvas, const QRectF& areaMm, const yearly::YearFigures& figures);

// One bar of the category chart.
struct CategoryBar {
    QString label;
    Amount amount;
};

// Horizontal bars, top to bottom as given, each with its name on the left and its amount at
// the bar's end.
void drawCategoryChart(Canvas& canvas, const QRectF& areaMm, const std::vector<CategoryBar>& bars);

} // namespace sorakado::report
