#pragma once

#include <QDate>
#include <QPoint>
#include <QString>

#include <functional>

namespace sorakado {
class Ledger;
}
namespace sorakado::ui {
class DialogService;
}

namespace sorakado::editing {

// What the main window lends its edit panels.
struct PanelContext {
    ui::DialogService* dialogs = nullptr;
    // The open ledger; throws when none is open.
    std::function<Ledger&()> ledger;
    // The refresh button's handler: the whole monthly rebuild, run at once.
    std::function<void()> refresh;
    // Where a panel opened from a list's menu goes, in twips of the window.
    std::function<QPoint()> anchor;
    // The month on show, "yyyy/mm".
    std::function<QString()> monthKey;
    std::function<QDate()> today;
    // Puts the selectors on the month of date and rebuilds the window.
    std::function<void(const QDate&)> showMonth;
};

} // namespace sorakado::editing
