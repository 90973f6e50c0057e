#include "edit_panel.h"

#include "ui/fonts.h"
#include "ui/shapes.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>

namespace sorakado::editing {

using ui::rectTw;

EditPanel::EditPanel(const QString& objectName, int widthTw, int heightTw, int index, QWidget* parent)
    : QFrame(parent), index_(index) {
    setObjectName(objectName);
    // Its own, not only the window's: the buttons and whatever has no font of its own draw
    // Japanese in the Gothic whatever the locale, wherever the panel is put.
    setFont(ui::gothic(9));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xFF));
    setPalette(p);
    resize(ui::px(widthTw), ui::px(heightTw));
    hide();
}

void EditPanel::makeShapes(int shape1w, int shape1h, int shape2x, int shape2y, int shape2w, int shape2h) {
    auto* shape2 = new ui::RoundedShape(QColor(0x80, 0x80, 0xFF), QColor(0xE0, 0xE8, 0xFF), 12, this);
    shape2->setObjectName(QStringLiteral("Shape2(%1)").arg(index_));
    shape2->setGeometry(rectTw(shape2x, shape2y, shape2w, shape2h));
    auto* shape1 = new ui::RoundedShape(QColor(0x00, 0x00, 0xC0), QColor(0xFF, 0xFF, 0xFF), 12, this);
    shape1->setObjectName(QStringLiteral("Shape1(%1)").arg(index_));
    shape1->setGeometry(rectTw(0, 0, shape1w, shape1h));
    // Shape1 covers the panel from its corner, Shape2 lies inset over it, both behind the controls.
    shape2->lower();
    shape1->lower();
}

void EditPanel::makeTitle(const QString& name, int l, int t, int w, int h, const QString& text) {
    title_ = new QLabel(text, this);
    title_->setObjectName(name);
    title_->setGeometry(rectTw(l, t, w, h));
    title_->setFont(ui::gothic(12, true));
    title_->setAlignment(Qt::AlignCenter);
    title_->setAutoFillBackground(true);
    QPalette p = title_->palette();
    p.setColor(QPalette::Window, QColor(0x00, 0x00, 0xFF));
    p.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0xFF));
    title_->setPalette(p);
}

void EditPanel::setCancelButton(QAbstractButton* button) {
    cancel_ = button;
    connect(button, &QAbstractButton::clicked, this, &EditPanel::closeToOrigin);
}

void EditPanel::closeToOrigin() {
    hide();
    focusOrigin();
}

void EditPanel::focusOrigin() {
    // Hiding the panel that holds the focus hands it to whatever comes next in the tab chain,
    // often the other list: the next Delete or menu key would act on a record nobody picked.
    if (origin_ && origin_->isVisible() && origin_->isEnabled())
        origin_->setFocus(Qt::OtherFocusReason);
}

void EditPanel::keyPressEvent(QKeyEvent* event) {
    // The panel's controls leave Escape alone (an open drop-down list closes on its own), so it
    // arrives here: the panel goes as its cancel button sends it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancel_) {
        event->accept();
        cancel_->click();
        return;
    }
    QFrame::keyPressEvent(event);
}

void EditPanel::showAt(QPoint pointTw) {
    // A panel opened near the window's right or bottom edge would hang out of it, its fields and
    // buttons out of the mouse's reach.
    const QPoint wanted = ui::pointTw(pointTw.x(), pointTw.y());
    move(parentWidget() ? ui::keepInside(wanted, size(), parentWidget()->size()) : wanted);
    raise();
    show();
}

} // namespace sorakado::editing
