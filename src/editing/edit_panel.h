#pragma once

#include "panel_context.h"

#include <QFrame>
#include <QPoint>

class QAbstractButton;
class QLabel;

namespace sorakado::ui {
class DialogService;
}

namespace sorakado::editing {

// An edit panel: a borderless white frame with two decorative rounded rectangles behind its
// controls and a title bar. Hidden until a command opens it at a point of the window.
class EditPanel : public QFrame {
    Q_OBJECT
public:
    // index: the panel's place among the four panels (names its shapes, Shape1(index) ...).
    EditPanel(const QString& objectName, int widthTw, int heightTw, int index, QWidget* parent);

    QLabel* title() const { return title_; }
    // Moves the panel's top-left corner to point (twips of the window), shows it in front.
    void showAt(QPoint pointTw);

protected:
    void setContext(const PanelContext& context) { context_ = context; }
    const PanelContext& context() const { return context_; }
    ui::DialogService& dialogs() const { return *context_.dialogs; }

    void makeTitle(const QString& name, int l, int t, int w, int h, const QString& text);
    void makeShapes(int shape1w, int shape1h, int shape2x, int shape2y, int shape2w, int shape2h);
    // Escape anywhere in the panel presses this button.
    void setCancelButton(QAbstractButton* button) { cancel_ = button; }

    void keyPressEvent(QKeyEvent* event) override;

private:
    int index_;
    QAbstractButton* cancel_ = nullptr;
    QLabel* title_ = nullptr;
    PanelContext context_;
};

} // namespace sorakado::editing
