#pragma once

#include <QString>

namespace sorakado::ui {

// Replaces whatever the system clipboard held with plain text; other programs can paste it.
void putOnClipboard(const QString& text);

} // namespace sorakado::ui
