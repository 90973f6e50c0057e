#include "canvas.h"

#include <QFontMetricsF>
#include <QPen>

namespace sorakado::report {

QFont Canvas::font(double points, bool bold) const {
    QFont f(family_);
    f.setPointSizeF(points);
    f.setBold(bold);
    // Glyphs are drawn as the font draws them; hinting for the screen would shift them on paper.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

double Canvas::textWidth(const QString& text, double points, bool bold) const {
    return QFontMetricsF(font(points, bold), painter_.device()).horizontalAdvance(text) / dotsPerMm_;
}

QString Canvas::fitted(const QString& text, double points, double widthMm, bool bold) const {
    return QFontMetricsF(font(points, bold), painter_.device()).elidedText(text, Qt::ElideRight, px(widthMm));
}

void Canvas::text(const QRectF& mm, int flags, const QString& text, double points, bool bold,
                  const QColor& colour) {
    painter_.setFont(font(points, bold));
    painter_.setPen(colour);
    painter_.drawText(px(mm), flags, text);
}

void Canvas::fill(const QRectF& mm, const QColor& colour) {
    painter_.fillRect(px(mm), colour);
}

void Canvas::line(QPointF fromMm, QPointF toMm, const QColor& colour, double widthMm) {
    painter_.setPen(QPen(colour, px(widthMm), Qt::SolidLine, Qt::FlatCap));
    painter_.drawLine(px(fromMm), px(toMm));
}

void Canvas::polyline(const QList<QPointF>& mm, const QColor& colour, double widthMm) {
    QList<QPointF> points;
    for (QPointF p : mm)
        points << px(p);
    painter_.setPen(QPen(colour, px(widthMm), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.drawPolyline(points.constData(), int(points.size()));
}

void Canvas::dot(QPointF centreMm, double radiusMm, const QColor& colour) {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(colour);
    painter_.drawEllipse(px(centreMm), px(radiusMm), px(radiusMm));
    painter_.setBrush(Qt::NoBrush);
}

} // namespace sorakado::report
