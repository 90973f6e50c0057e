#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>

#include <cmath>

namespace sorakado::ui {

// The window was laid out in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;

// Rounds half to even, as the layout's figures were rounded.
inline int roundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

inline int px(int twips) {
    return roundHalfEven(twips / double(kTwipsPerPixel));
}
inline int twips(int pixels) {
    return pixels * kTwipsPerPixel;
}
inline QRect rectTw(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}
inline QPoint pointTw(int x, int y) {
    return QPoint(px(x), px(y));
}

// Where a box of size goes when its top-left corner is wanted at topLeft inside area (all in
// pixels of one widget): there, unless that puts part of it outside; then moved just so far left
// or up that all of it lies inside. A box larger than the area keeps its top-left corner inside.
inline QPoint keepInside(QPoint topLeft, QSize size, QSize area) {
    const int x = std::max(0, std::min(topLeft.x(), area.width() - size.width()));
    const int y = std::max(0, std::min(topLeft.y(), area.height() - size.height()));
    return QPoint(x, y);
}

} // namespace sorakado::ui
