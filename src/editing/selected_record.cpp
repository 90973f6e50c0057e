#include "selected_record.h"

#include "monthly/month_figures.h"
#include "ui/report_list.h"

namespace sorakado::editing {

SelectedRecord::SelectedRecord(ui::ReportList* list, QLabel* holder, QObject* parent)
    : QObject(parent), list_(list), holder_(holder) {
    connect(list, &ui::ReportList::currentRowChanged, this, [this](int row) {
        if (list_)
            currentMoved(row);
    });
    // A refill replaces every row at once: the current row goes with the old rows, then the
    // list tells when the new ones are in.
    connect(list->model(), &QAbstractItemModel::modelReset, this, [this] {
        if (holder_)
            holder_->setText(QString());
    });
    connect(list, &ui::ReportList::refilled, this, &SelectedRecord::refilled);
}

void SelectedRecord::currentMoved(int row) {
    if (!holder_)
        return;
    if (row < 0) {
        // Only a refill leaves the list without a current row; refilled() decides what follows.
        holder_->setText(QString());
        return;
    }
    remembered_ = recordKeyOf(list_->rowKey(row));
    holder_->setText(remembered_);
}

void SelectedRecord::refilled() {
    if (!list_ || !holder_ || remembered_.isEmpty() || list_->currentRow() >= 0)
        return;
    const QString rowKey = rowKeyOf(remembered_);
    for (int row = 0; row < list_->rowCount(); ++row)
        if (list_->rowKey(row) == rowKey) {
            list_->setCurrentRow(row);
            return;
        }
    remembered_.clear();
}

void SelectedRecord::select(std::int64_t key) {
    if (!list_)
        return;
    const QString rowKey = u'@' + QString::number(key);
    for (int row = 0; row < list_->rowCount(); ++row)
        if (list_->rowKey(row) == rowKey) {
            list_->setCurrentRow(row);
            list_->scrollToRow(row);
            return;
        }
}

std::optional<std::int64_t> SelectedRecord::parseKey(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    bool ok = false;
    const qlonglong key = text.toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(key) : std::nullopt;
}

std::optional<std::int64_t> SelectedRecord::key() const {
    // The holder names the current row; a row other than the one it names is never acted on.
    if (!list_ || !holder_)
        return std::nullopt;
    const int row = list_->currentRow();
    if (row < 0 || recordKeyOf(list_->rowKey(row)) != holder_->text())
        return std::nullopt;
    return parseKey(holder_->text());
}

QStringList SelectedRecord::cells() const {
    return key() ? list_->rowCells(list_->currentRow()) : QStringList();
}

} // namespace sorakado::editing
