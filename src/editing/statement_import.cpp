#include "statement_import.h"

#include "statement/import.h"
#include "statement/matching.h"
#include "statement/reader.h"
#include "statement_preview.h"
#include "statement_preview_contents.h"
#include "store/ledger.h"
#include "texts.h"
#include "ui/dialog_service.h"
#include "ui/guarded.h"

#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

namespace sorakado::editing {

namespace {

QString quoted(const QString& path) {
    return u'「' + QFileInfo(path).fileName() + u'」';
}

} // namespace

StatementImport::StatementImport(QWidget* window, QObject* parent) : QObject(parent), window_(window) {}

StatementPreview* StatementImport::preview() const {
    return preview_;
}

void StatementImport::MeiImport_Click() {
    const QString path =
        QFileDialog::getOpenFileName(window_, texts::kImportChooseFile, QString(), texts::kImportFileFilter);
    if (!path.isEmpty())
        importFile(path);
}

void StatementImport::importFile(const QString& path) {
    ui::guarded(*context_.dialogs, [&] {
        if (preview_)
            return; // one import at a time
        statement::StatementRead read = statement::readStatementFile(path);
        if (read.fileError) {
            context_.dialogs->warn(quoted(path) + texts::kImportFileUnreadable + *read.fileError);
            return;
        }
        if (read.payments.empty() && read.problems.empty()) {
            context_.dialogs->warn(quoted(path) + texts::kImportNothing);
            return;
        }
        Ledger& ledger = context_.ledger();
        auto contents = std::make_unique<StatementPreview::Contents>();
        contents->rows = statement::previewLines(ledger, read.payments);
        contents->categories = ledger.categories();
        contents->notPayments = read.notPayments;
        contents->problems = std::move(read.problems);
        preview_ = new StatementPreview(*context_.dialogs, std::move(contents), window_);
        preview_->setAttribute(Qt::WA_DeleteOnClose);
        connect(preview_, &QDialog::accepted, this, [this, p = preview_.data()] { write(p); });
        preview_->setWindowTitle(texts::kImportTitle + QStringLiteral(" - ") + QFileInfo(path).fileName());
        preview_->open();
    });
}

void StatementImport::write(StatementPreview* preview) {
    const auto rows = preview->chosenRows();
    if (rows.empty())
        return;
    ui::guarded(*context_.dialogs, [&] {
        statement::writeImport(context_.ledger(), rows);
        const auto latest = std::max_element(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
                                return a.date < b.date;
                            })->date;
        context_.showMonth(latest);
    });
}

} // namespace sorakado::editing
