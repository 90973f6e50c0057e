#include "shell/clock.h"
#include "shell/single_instance.h"
#include "shell/startup.h"
#include "store/ledger.h"
#include "ui/design_look.h"
#include "ui/dialog_service.h"
#include "ui/fonts.h"
#include "ui/toolkit_words.h"

#include "sorakado_version.h"

#include <QApplication>
#include <QDir>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorakado"));
    QApplication::setApplicationVersion(QStringLiteral(SORAKADO_VERSION));
    QApplication::setFont(sorakado::ui::gothic(9));
    sorakado::ui::applyDesignLook();
    sorakado::ui::useJapaneseToolkitWords(app);
    sorakado::shell::initResources();

    sorakado::ui::MessageBoxDialogs dialogs;
    sorakado::shell::SingleInstance instance(QApplication::applicationFilePath());
    if (!instance.acquire()) {
        dialogs.warn(instance.refusalText());
        std::_Exit(0); // at once: nothing else of this instance runs, the first is untouched
    }

    sorakado::shell::SystemClock clock;
    const auto ledgerPath =
        std::filesystem::path(QApplication::applicationDirPath().toStdString()) / sorakado::Ledger::kFileName;
    sorakado::shell::Startup startup(dialogs, clock, ledgerPath);
    startup.showSplash();
    return app.exec();
}
