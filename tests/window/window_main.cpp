// The window tests need one QApplication for the whole run, with the program's artwork and
// default font, as the program itself sets them up.

#include "shell/startup.h"
#include "ui/fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorakado"));
    QApplication::setFont(sorakado::ui::gothic(9));
    sorakado::shell::initResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
