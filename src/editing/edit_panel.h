#pragma once

#include "panel_context.h"

#include <QFrame>
#include <QPoint>
#include <QPointer>

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
    // Moves the panel's top-left corner to point (twips of the window), or just so far left and
    // up from it that the panel lies wholly inside the window, and shows it in front.
    void showAt(QPoint pointTw);

protected:
    void setContext(const PanelContext& context) { context_ = context; }
    const PanelContext& context() const { return context_; }
    ui::DialogService& dialogs() const { return *context_.dialogs; }

    void makeTitle(const QString& name, int l, int t, int w, int h, const QString& text);
    void makeShapes(int shape1w, int shape1h, int shape2x, int shape2y, int shape2w, int shape2h);
    // Escape anywhere in the panel presses this button, which closes the panel.
    void setCancelButton(QAbstractButton* button);
    // The list the panel is opened from; the keyboard focus goes back to it when the panel
    // closes after its OK or cancel, so the next key acts where the user was.
    void setOrigin(QWidget* list) { origin_ = list; }
    // Hides the panel and hands the focus back to its list.
    void closeToOrigin();
    void focusOrigin();

    void keyPressEvent(QKeyEvent* event) override;

private:
    int index_;
    QAbstractButton* cancel_ = nullptr;
    QLabel* title_ = nullptr;
    QPointer<QWidget> origin_;
    PanelContext context_;
};

} // namespace sorakado::editing
