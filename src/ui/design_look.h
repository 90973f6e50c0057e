#pragma once

#include <QPalette>

class QWidget;

namespace sorakado::ui {

// The light colours the window was designed in: black text on white lists, light grey window
// and buttons. The design fixes many text and background colours (blue and black list text,
// peach and cyan headings); a dark desktop scheme under them would leave them unreadable.
QPalette designPalette();

// At start-up: the design's colours for every window of the program, and, where the desktop's
// style is a dark one that draws buttons and headings in its own dark colours whatever the
// palette, Qt's Fusion style in its place. A light desktop style is kept.
void applyDesignLook();

// Gives w the design's colours whatever the desktop's scheme, together with the windows it
// opens as its children (pop-up menus, drop-down lists).
void keepDesignColours(QWidget* w);

} // namespace sorakado::ui
