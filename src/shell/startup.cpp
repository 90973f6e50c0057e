#include "startup.h"

#include "form1.h"

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
    opening_ = std::async(std::launch::async, [path = ledgerPath_] { return Ledger::open(path); });
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
        if (!form_->load(unloadSplash, openedAhead))
            unloadSplash();
    }
    form_->show();
}

} // namespace sorakado::shell
