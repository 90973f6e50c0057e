#pragma once

#include "canvas.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sorakado::report {

struct TableColumn {
    QString heading;
    double widthMm = 20;
    Qt::Alignment align = Qt::AlignLeft;
};

struct TableRow {
    QStringList cells;
    bool bold = false;
    std::vector<std::optional<QColor>> colours; // per cell; missing or nullopt: black
};

inline constexpr double kRowHeightMm = 6;

// Draws a heading row and the rows from topMm down, striped, texts cut to their column.
// Returns where the table ends.
double drawTable(Canvas& canvas, QPointF topLeftMm, const std::vector<TableColumn>& columns,
                 const std::vector<TableRow>& rows);

} // namespace sorakado::report
