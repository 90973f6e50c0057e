// The repeating entries in the main window: written when the ledger opens, and their window.
#include "form1.h"

#include "clock.h"
#include "editing/recurring_message.h"
#include "editing/recurring_panel.h"
#include "startup_backup.h"
#include "store/ledger.h"
#include "store/ledger_error.h"
#include "store/recurring.h"
#include "ui/dialog_service.h"

#include <QTimer>

namespace sorakado::shell {

void Form1::postRecurring() {
    const QDate date = clock_.today();
    std::vector<recurring::Posted> posted;
    try {
        // Nothing of the session is written before the copy made at opening: it is waited for
        // only when something is due.
        posted = recurring::postDue(*ledger_, {date.year(), date.month(), date.day()},
                                    [this] { waitForBackupPages(); });
    } catch (const LedgerError& e) {
        // The month opens all the same; what is due is written at the next opening.
        const QString text = QString::fromStdString(e.description());
        QTimer::singleShot(0, this, [this, text] { dialogs_.error(text); });
        return;
    }
    if (posted.empty())
        return;
    // Told once the window is up, over it.
    const QString text = editing::postedMessage(posted);
    QTimer::singleShot(0, this, [this, text] { dialogs_.inform(text); });
}

void Form1::MeiTeiki_Click() {
    closeAllPanels();
    recurring_->open();
}

} // namespace sorakado::shell
