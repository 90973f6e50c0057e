#include "charts.h"

#include "texts.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace sorakado::report {

namespace {

constexpr double kAxisPoints = 7;
constexpr double kLabelPoints = 8;

QString axisLabel(double value) {
    // Axis steps come from the year's own figures, so they always fit an amount.
    return QString::fromStdString(yearly::groupedNumber(Amount::fromStoredDouble(value).value_or(Amount())));
}

QString yen(Amount amount) {
    return QString::fromStdString(yearly::groupedYen(amount));
}

void legendItem(Canvas& c, double& x, double y, const QColor& colour, const QString& label, bool asLine) {
    if (asLine) {
        c.line({x, y + 2}, {x + 6, y + 2}, colour, 0.5);
        c.dot({x + 3, y + 2}, 0.8, colour);
    } else {
        c.fill(QRectF(x + 1, y + 0.5, 4, 3), colour);
    }
    double w = c.textWidth(label, kLabelPoints);
    c.text(QRectF(x + 7, y - 1, w + 1, 6), Qt::AlignLeft | Qt::AlignVCenter, label, kLabelPoints);
    x += 7 + w + 6;
}

} // namespace

Scale niceScale(double lo, double hi) {
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
    if (hi - lo < 5)
        hi = lo + 5; // whole yen at the least, and an empty year still gets an axis
    double raw = (hi - lo) / 5;
    double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double norm = raw / magnitude;
    double step = (norm <= 1 ? 1 : norm <= 2 ? 2 : norm <= 5 ? 5 : 10) * magnitude;
    return {std::floor(lo / step) * step, std::ceil(hi / step) * step, step};
}

void drawMonthChart(Canvas& c, const QRectF& area, const yearly::YearFigures& f) {
    double legendX = area.left();
    legendItem(c, legendX, area.top(), colours::kIncome, QString::fromUtf8(texts::kIncome), false);
    legendItem(c, legendX, area.top(), colours::kSpending, QString::fromUtf8(texts::kSpending), false);
    legendItem(c, legendX, area.top(), colours::kDifference, QString::fromUtf8(texts::kDifference), true);

    double lo = 0, hi = 0;
    for (int m = 0; m < 12; ++m)
        for (Amount a : {f.income[m], f.spending[m], f.difference(m)}) {
            lo = std::min(lo, a.toDouble());
            hi = std::max(hi, a.toDouble());
        }
    Scale scale = niceScale(lo, hi);

    double labelWidth = 0;
    for (double v = scale.lo; v <= scale.hi + scale.step / 2; v += scale.step)
        labelWidth = std::max(labelWidth, c.textWidth(axisLabel(v), kAxisPoints));
    QRectF plot(area.left() + labelWidth + 2, area.top() + 8, area.width() - labelWidth - 2,
                area.height() - 14);
    auto yOf = [&](double v) {
        return plot.bottom() - (v - scale.lo) / (scale.hi - scale.lo) * plot.height();
    };

    for (double v = scale.lo; v <= scale.hi + scale.step / 2; v += scale.step) {
        double y = yOf(v);
        c.line({plot.left(), y}, {plot.right(), y}, colours::kGrid, 0.15);
        c.text(QRectF(area.left(), y - 3, labelWidth, 6), Qt::AlignRight | Qt::AlignVCenter, axisLabel(v),
               kAxisPoints, false, colours::kMuted);
    }

    const double slot = plot.width() / 12;
    const double bar = slot * 0.32;
    const double zero = yOf(0);
    QList<QPointF> differences;
    for (int m = 0; m < 12; ++m) {
        double centre = plot.left() + slot * (m + 0.5);
        auto barAt = [&](double left, Amount value, const QColor& colour) {
            double y = yOf(value.toDouble());
            c.fill(QRectF(QPointF(left, std::min(y, zero)), QPointF(left + bar, std::max(y, zero))), colour);
        };
        barAt(centre - bar, f.income[m], colours::kIncome);
        barAt(centre, f.spending[m], colours::kSpending);
        differences << QPointF(centre, yOf(f.difference(m).toDouble()));
        c.text(QRectF(centre - slot / 2, plot.bottom() + 1, slot, 5), Qt::AlignCenter,
               QString::fromUtf8(texts::kMonthName).arg(m + 1), kAxisPoints);
    }
    c.line({plot.left(), zero}, {plot.right(), zero}, colours::kAxis, 0.3);
    c.line(plot.topLeft(), plot.bottomLeft(), colours::kAxis, 0.3);
    c.polyline(differences, colours::kDifference, 0.45);
    for (QPointF p : differences)
        c.dot(p, 0.9, colours::kDifference);
}

void drawCategoryChart(Canvas& c, const QRectF& area, const std::vector<CategoryBar>& bars) {
    if (bars.empty())
        return;
    double lo = 0, hi = 0;
    double valueWidth = 0;
    for (const auto& b : bars) {
        lo = std::min(lo, b.amount.toDouble());
        hi = std::max(hi, b.amount.toDouble());
        valueWidth = std::max(valueWidth, c.textWidth(yen(b.amount), kLabelPoints));
    }
    const double nameWidth = std::min(48.0, area.width() * 0.3);
    const double barsLeft = area.left() + nameWidth + 2;
    const double barsWidth = area.width() - nameWidth - 2 - valueWidth - 2;
    const double span = (hi - lo) > 0 ? hi - lo : 1;
    auto xOf = [&](double v) { return barsLeft + (v - lo) / span * barsWidth; };
    const double row = area.height() / double(bars.size());
    const double thickness = std::min(row * 0.62, 5.0);

    for (std::size_t i = 0; i < bars.size(); ++i) {
        double top = area.top() + row * double(i);
        double mid = top + row / 2;
        c.text(QRectF(area.left(), top, nameWidth, row), Qt::AlignRight | Qt::AlignVCenter,
               c.fitted(bars[i].label, kLabelPoints, nameWidth), kLabelPoints);
        double x0 = xOf(0), x1 = xOf(bars[i].amount.toDouble());
        c.fill(QRectF(QPointF(std::min(x0, x1), mid - thickness / 2),
                      QPointF(std::max(x0, x1), mid + thickness / 2)),
               colours::kSpending);
        c.text(QRectF(std::max(x0, x1) + 1.5, top, valueWidth + 1, row), Qt::AlignLeft | Qt::AlignVCenter,
               yen(bars[i].amount), kLabelPoints);
    }
    c.line({xOf(0), area.top()}, {xOf(0), area.bottom()}, colours::kAxis, 0.3);
}

} // namespace sorakado::report
