#pragma once

#include <QPoint>
#include <QRect>

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

} // namespace sorakado::ui
