#pragma once

#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/twips.h"

namespace sorakado::editing {

// Controls placed by their laid-out rectangle in twips and named as laid out.
template <class W, class... Args>
W* place(QWidget* parent, const char* name, int l, int t, int w, int h, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(ui::rectTw(l, t, w, h));
    return widget;
}

inline ui::Button* placeButton(QWidget* parent, const char* name, int l, int t, const QString& text) {
    auto* b = place<ui::Button>(parent, name, l, t, 1095, 285, text);
    return b;
}

} // namespace sorakado::editing
