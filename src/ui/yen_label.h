#pragma once

#include <QLabel>

namespace sorakado::ui {

// A label whose text keeps the currency prefix U+005C while it is drawn as a yen sign, as
// Japanese fonts draw it; the heavy display face draws a backslash there otherwise.
class YenLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace sorakado::ui
