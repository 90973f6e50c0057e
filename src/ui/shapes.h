#pragma once

#include <QColor>
#include <QWidget>

namespace sorakado::ui {

// A decorative rounded rectangle drawn behind a panel's controls. It takes no input.
class RoundedShape : public QWidget {
public:
    RoundedShape(QColor border, QColor fill, int radius, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor border_, fill_;
    int radius_;
};

// A straight line between two points of the parent, in twips.
class LineShape : public QWidget {
public:
    LineShape(int x1, int y1, int x2, int y2, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPoint from_, to_; // in twips, as laid out
};

// The busy pointer for as long as the object lives: restored on every way out of a handler.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace sorakado::ui
