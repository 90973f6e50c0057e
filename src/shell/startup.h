#pragma once

#include "top_frm.h"

#include "store/ledger.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <future>
#include <memory>

namespace sorakado::ui {
class DialogService;
}

namespace sorakado::shell {

class Clock;
class Form1;
class StartupBackup;

// From launch to the main window: the splash, its timer, and the main window's load.
class Startup : public QObject {
    Q_OBJECT
public:
    Startup(ui::DialogService& dialogs, const Clock& clock, std::filesystem::path ledgerPath);
    ~Startup() override;
    void showSplash();
    Form1* mainWindow() const { return form_.get(); }
    TopForm* splash() const { return splash_; }
    // The splash timer's tick: load and show the main window.
    void timerTick();

private:
    ui::DialogService& dialogs_;
    const Clock& clock_;
    std::filesystem::path ledgerPath_;
    // The ledger opening while the splash shows: deriving its key is the slowest part of the
    // load, and the splash's two seconds are time enough for it. The window takes the ledger, or
    // the failure to show, at the tick, as if it had opened it then. Going without a tick, the
    // future waits for the opening and closes the ledger nobody took.
    //
    // The copy made of the ledger at each start begins as soon as the ledger is open, so it too
    // has the splash's time; the window takes it with the ledger. Declared before the opening,
    // which uses it, so it outlives it.
    std::unique_ptr<StartupBackup> backup_;
    std::future<Ledger> opening_;
    QPointer<TopForm> splash_;
    std::unique_ptr<Form1> form_;
};

// The artwork is linked in from a static library; its resources are registered by hand.
void initResources();

} // namespace sorakado::shell
