#pragma once

#include <QFont>

namespace sorakado::ui {

// The proportional Gothic the window was drawn with. IPAPGothic matches its metrics and, like
// any Japanese face, draws U+005C as a yen sign; Noto Sans CJK JP stands in where it is missing.
QFont gothic(double points, bool bold = false);
// The heavy display face of the status panel.
QFont heavyGothic(double points);

} // namespace sorakado::ui
