#pragma once

#include "top_frm.h"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <memory>

namespace sorakado::ui {
class DialogService;
}

namespace sorakado::shell {

class Clock;
class Form1;

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
    QPointer<TopForm> splash_;
    std::unique_ptr<Form1> form_;
};

// The artwork is linked in from a static library; its resources are registered by hand.
void initResources();

} // namespace sorakado::shell
