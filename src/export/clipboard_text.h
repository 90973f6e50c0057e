#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace sorakado {

// A list as the clipboard receives it: the column headings joined by tabs, then for each row a
// CR LF and the cells the row holds, joined by tabs. No line break after the last line, and
// nothing escaped or quoted: a tab or line break inside a cell is copied as it is.
QString listClipboardText(const QStringList& headings, const std::vector<QStringList>& rows);

} // namespace sorakado
