#pragma once

#include <QFrame>
#include <QTimer>

class QLabel;

namespace sorakado::shell {

// The splash window: black, borderless but for a thin frame, centred, its picture cut off at
// the right and bottom edges. Its timer hands over to the main window.
class TopForm : public QFrame {
    Q_OBJECT
public:
    explicit TopForm(QWidget* parent = nullptr);
    void showCentred();
    // Gone for good: hidden, timer stopped, deleted once control is back in the event loop (it
    // may be unloaded from inside its own timer tick).
    void unload();

    QLabel* Image1;
    QTimer* Timer1;
};

} // namespace sorakado::shell
