#include "startup.h"

#include "clock.h"
#include "form1.h"
#include "startup_backup.h"

static void initSorakadoResources() {
    Q_INIT_RESOURCE(sorakado);
}

namespace sorakado::shell {

void initResources() {
    initSorakadoResources();
}

Startup::Startup(ui::DialogService& dialogs, const Clock& clock, std::filesystem::path ledgerPath)
    : dialogs_(dialogs), clock_(clock), ledgerPath_(std::move(ledgerPath)) {}

Startup::~Startup() {
    if (splash_)
        delete splash_.data();
}

void Startup::showSplash() {
    backup_ = std::make_unique<StartupBackup>(ledgerPath_, StartupBackup::timeOf(clock_.now()));
    opening_ = std::async(std::launch::async, [path = ledgerPath_, copy = backup_.get()] {
        Ledger ledger = Ledger::open(path);
        // Nothing of the session is changed before the window has the ledger; the copy's
        // failure waits in it for the window to show it.
        copy->start();
        return ledger;
    });
    splash_ = new TopForm;
    connect(splash_->Timer1, &QTimer::timeout, this, &Startup::timerTick);
    splash_->showCentred();
}

void Startup::timerTick() {
    if (!form_) {
        form_ = std::make_unique<Form1>(dialogs_, clock_, ledgerPath_);
        auto unloadSplash = [this] {
            if (splash_)
                splash_->unload();
        };
        // A failed load leaves the bare window; the splash goes too, rather than loading the
        // window again every two seconds.
        std::function<Ledger()> openedAhead;
        if (opening_.valid())
            openedAhead = [this] { return opening_.get(); };
        if (backup_)
            form_->adoptBackup(std::move(backup_));
        if (!form_->load(unloadSplash, openedAhead))
            unloadSplash();
    }
    form_->show();
}

} // namespace sorakado::shell
