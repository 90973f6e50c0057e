#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace sorakado::report {

namespace colours {
inline const QColor kIncome{0x2f, 0x6f, 0xc0};
inline const QColor kSpending{0xd0, 0x4a, 0x3a};
inline const QColor kDifference{0x20, 0x20, 0x20};
inline const QColor kGrid{0xdc, 0xdc, 0xdc};
inline const QColor kAxis{0x50, 0x50, 0x50};
inline const QColor kHeading{0xe6, 0xeb, 0xf3};
inline const QColor kStripe{0xf6, 0xf7, 0xf9};
inline const QColor kMuted{0x60, 0x60, 0x60};
// The window's verdict colours: red for a deficit, blue for a surplus.
inline const QColor kDeficit{0xd0, 0x00, 0x00};
inline const QColor kSurplus{0x00, 0x00, 0xd0};
} // namespace colours

// Drawing on a page in millimetres from the top left of the printable area, whatever the
// device's resolution; text in points in the report's Japanese font.
class Canvas {
public:
    Canvas(QPainter& painter, double dotsPerMm, QString family, double widthMm, double heightMm)
        : painter_(painter), dotsPerMm_(dotsPerMm), family_(std::move(family)), width_(widthMm),
          height_(heightMm) {}

    double width() const { return width_; }
    double height() const { return height_; }

    QFont font(double points, bool bold = false) const;
    // The text cut with an ellipsis to fit widthMm.
    QString fitted(const QString& text, double points, double widthMm, bool bold = false) const;
    double textWidth(const QString& text, double points, bool bold = false) const;

    void text(const QRectF& mm, int flags, const QString& text, double points, bool bold = false,
              const QColor& colour = Qt::black);
    void fill(const QRectF& mm, const QColor& colour);
    void line(QPointF fromMm, QPointF toMm, const QColor& colour, double widthMm = 0.2);
    void polyline(const QList<QPointF>& mm, const QColor& colour, double widthMm);
    void dot(QPointF centreMm, double radiusMm, const QColor& colour);

private:
    double px(double mm) const { return mm * dotsPerMm_; }
    QPointF px(QPointF mm) const { return mm * dotsPerMm_; }
    QRectF px(const QRectF& mm) const { return {px(mm.topLeft()), px(mm.bottomRight())}; }

    QPainter& painter_;
    double dotsPerMm_;
    QString family_;
    double width_;
    double height_;
};

} // namespace sorakado::report
