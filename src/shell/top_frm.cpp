#include "top_frm.h"

#include "ui/twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace sorakado::shell {

TopForm::TopForm(QWidget* parent) : QFrame(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("top_frm"));
    setWindowTitle(QString());
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setFixedSize(ui::px(4740), ui::px(1515));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
    setPalette(p);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/splash.png")));
    Image1->setGeometry(0, 0, ui::px(5040), ui::px(1650)); // larger than the window: cut off

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
}

void TopForm::showCentred() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    Timer1->start();
    show();
}

void TopForm::unload() {
    Timer1->stop();
    hide();
    deleteLater();
}

} // namespace sorakado::shell
