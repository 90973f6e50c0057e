#include "shapes.h"

#include "twips.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace sorakado::ui {

RoundedShape::RoundedShape(QColor border, QColor fill, int radius, QWidget* parent)
    : QWidget(parent), border_(border), fill_(fill), radius_(radius) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RoundedShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(border_, 2));
    p.setBrush(fill_);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius_, radius_);
}

LineShape::LineShape(int x1, int y1, int x2, int y2, QWidget* parent)
    : QWidget(parent), from_(x1, y1), to_(x2, y2) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPoint a = pointTw(x1, y1), b = pointTw(x2, y2);
    setGeometry(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                      QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))));
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    QPoint a = pointTw(from_.x(), from_.y()) - pos();
    QPoint b = pointTw(to_.x(), to_.y()) - pos();
    p.drawLine(a, b);
}

BusyPointer::BusyPointer() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
BusyPointer::~BusyPointer() {
    QApplication::restoreOverrideCursor();
}

} // namespace sorakado::ui
