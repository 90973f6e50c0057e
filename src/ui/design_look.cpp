#include "design_look.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace sorakado::ui {

QPalette designPalette() {
    // From a light button face Qt derives black text on white bases and the bevel shades.
    QPalette p(QColor(0xF0, 0xF0, 0xF0));
    p.setColor(QPalette::Highlight, QColor(0x33, 0x99, 0xFF));
    p.setColor(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
    p.setColor(QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7));
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    p.setColor(QPalette::ToolTipText, QColor(0x00, 0x00, 0x00));
    p.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Link, QColor(0x00, 0x00, 0xFF));
    p.setColor(QPalette::LinkVisited, QColor(0x80, 0x00, 0x80));
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0xA0, 0xA0, 0xA0));
    return p;
}

void applyDesignLook() {
    const QColor styleWindow = QApplication::style()->standardPalette().color(QPalette::Window);
    if (styleWindow.lightness() < 128)
        if (QStyle* light = QStyleFactory::create(QStringLiteral("Fusion")))
            QApplication::setStyle(light);
    QApplication::setPalette(designPalette());
}

void keepDesignColours(QWidget* w) {
    w->setPalette(designPalette());
    for (QWidget* child : w->findChildren<QWidget*>())
        if (child->isWindow())
            child->setAttribute(Qt::WA_WindowPropagation);
}

} // namespace sorakado::ui
