#pragma once

#include "dialog_service.h"

#include <exception>

namespace sorakado::ui {

// Runs a handler so that no error ends the program: whatever it throws is shown as its own
// description (no icon, title "Sorakado") and the handler ends there. Returns false then.
template <class Fn> bool guarded(DialogService& dialogs, Fn&& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        dialogs.error(QString::fromUtf8(e.what()));
    } catch (...) {
        dialogs.error(QStringLiteral("予期しないエラーが発生しました。"));
    }
    return false;
}

} // namespace sorakado::ui
