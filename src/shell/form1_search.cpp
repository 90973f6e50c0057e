// The search window's wiring into the main window: opening it, following its choice to the
// entry's month, and closing it with the window.
#include "form1.h"

#include "search/ledger_search.h"
#include "search_window.h"
#include "store/ledger.h"
#include "ui/controls.h"
#include "ui/dialog_service.h"
#include "ui/guarded.h"
#include "ui/report_list.h"

#include <QAction>
#include <QShortcut>

namespace sorakado::shell {

namespace {
const QString kNotInTheList =
    QStringLiteral("この明細の品目は削除されているため、明細一覧には表示されません。");
const QString kNoMonth = QStringLiteral("この明細には日付がないため、月を表示できません。");
} // namespace

void Form1::wireSearch() {
    connect(MeiFind, &QAction::triggered, this, &Form1::MeiFind_Click);
    auto* find = new QShortcut(QKeySequence::Find, this);
    find->setObjectName(QStringLiteral("MeiFindKey"));
    connect(find, &QShortcut::activated, this, &Form1::MeiFind_Click);
    // The search follows every change the window shows, whoever made it.
    connect(ListView2->model(), &QAbstractItemModel::modelReset, this, [this] {
        if (searchWindow_ && searchWindow_->isVisible())
            searchWindow_->refresh();
    });
}

void Form1::MeiFind_Click() {
    ui::guarded(dialogs_, [this] {
        if (!ledger_)
            throw std::runtime_error("台帳ファイルが開かれていません。");
        closeAllPanels();
        if (!search_) {
            // Nothing is read before the search is first wanted; from then on the copy is kept.
            search_ = std::make_unique<search::LedgerSearch>(*ledger_);
            search_->start();
        }
        if (!searchWindow_) {
            searchWindow_ = new SearchWindow(*ledger_, *search_, dialogs_, this);
            connect(searchWindow_, &SearchWindow::entryChosen, this, &Form1::showEntry);
        } else {
            searchWindow_->refresh();
        }
        searchWindow_->show();
        searchWindow_->raise();
        searchWindow_->activateWindow();
        searchWindow_->textBox->setFocus();
        searchWindow_->textBox->selectAll();
    });
}

void Form1::showEntry(std::int64_t key, const QString& date) {
    if (date.size() < 7 || date[4] != u'/') {
        dialogs_.warn(kNoMonth);
        return;
    }
    Combo1->setEditText(date.left(4));
    Combo2->setEditText(date.mid(5, 2));
    Command1_Click();
    activateWindow();
    raise();
    const QString rowKey = u'@' + QString::number(key);
    for (int row = 0; row < ListView2->rowCount(); ++row)
        if (ListView2->rowKey(row) == rowKey) {
            ListView2->setFocus();
            ListView2->setCurrentRow(row);
            ListView2->scrollToRow(row);
            return;
        }
    if (Combo1->currentText() == date.left(4) && Combo2->currentText() == date.mid(5, 2))
        dialogs_.warn(kNotInTheList);
}

void Form1::endSearch() {
    if (searchWindow_) {
        QObject::disconnect(searchWindow_, nullptr, this, nullptr);
        delete searchWindow_;
        searchWindow_ = nullptr;
    }
    search_.reset();
}

} // namespace sorakado::shell
