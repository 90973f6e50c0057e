#include "table.h"

namespace sorakado::report {

namespace {

constexpr double kPoints = 8.5;
constexpr double kPadding = 1.8;

double totalWidth(const std::vector<TableColumn>& columns) {
    double w = 0;
    for (const auto& c : columns)
        w += c.widthMm;
    return w;
}

void drawRow(Canvas& c, double top, double left, const std::vector<TableColumn>& columns,
             const QStringList& cells, bool bold, const std::vector<std::optional<QColor>>& colours) {
    double x = left;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const double inner = columns[i].widthMm - 2 * kPadding;
        QString text = i < std::size_t(cells.size()) ? cells[int(i)] : QString();
        QColor colour = i < colours.size() && colours[i] ? *colours[i] : QColor(Qt::black);
        c.text(QRectF(x + kPadding, top, inner, kRowHeightMm), int(columns[i].align | Qt::AlignVCenter),
               c.fitted(text, kPoints, inner, bold), kPoints, bold, colour);
        x += columns[i].widthMm;
    }
}

} // namespace

double drawTable(Canvas& c, QPointF topLeft, const std::vector<TableColumn>& columns,
                 const std::vector<TableRow>& rows) {
    const double width = totalWidth(columns);
    double y = topLeft.y();
    c.fill(QRectF(topLeft.x(), y, width, kRowHeightMm), colours::kHeading);
    QStringList headings;
    for (const auto& col : columns)
        headings << col.heading;
    drawRow(c, y, topLeft.x(), columns, headings, true, {});
    y += kRowHeightMm;
    c.line({topLeft.x(), y}, {topLeft.x() + width, y}, colours::kAxis, 0.25);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i % 2 == 1)
            c.fill(QRectF(topLeft.x(), y, width, kRowHeightMm), colours::kStripe);
        if (rows[i].bold)
            c.line({topLeft.x(), y}, {topLeft.x() + width, y}, colours::kAxis, 0.25);
        drawRow(c, y, topLeft.x(), columns, rows[i].cells, rows[i].bold, rows[i].colours);
        y += kRowHeightMm;
    }
    c.line({topLeft.x(), y}, {topLeft.x() + width, y}, colours::kAxis, 0.25);
    return y;
}

} // namespace sorakado::report
