#pragma once

class QCoreApplication;

namespace sorakado::ui {

// Qt's own words (the Undo, Cut, Copy and Paste menu of a text box, the calendar of the date
// picker) in Japanese whatever the desktop's language, from Qt's Japanese catalogue. Returns
// false, leaving Qt's English, when the catalogue is not installed.
bool useJapaneseToolkitWords(QCoreApplication& app);

} // namespace sorakado::ui
