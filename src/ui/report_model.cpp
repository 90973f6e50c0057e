#include "report_model.h"

#include <QBrush>

namespace sorakado::ui {

ReportModel::ReportModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportModel::setColumns(const QStringList& headings, const std::vector<Qt::Alignment>& alignments) {
    beginResetModel();
    headings_ = headings;
    alignments_ = alignments;
    rows_.clear();
    source_ = nullptr;
    sourceCount_ = 0;
    made_.clear();
    endResetModel();
}

namespace {
// A few screens of rows: what a view draws and what a copy reads in a row stay made.
constexpr std::size_t kRowsKeptMade = 2048;
} // namespace

void ReportModel::setRows(std::vector<ReportRow> rows, const QFont& bold) {
    beginResetModel();
    rows_ = std::move(rows);
    source_ = nullptr;
    sourceCount_ = 0;
    made_.clear();
    bold_ = bold;
    endResetModel();
}

void ReportModel::setRowSource(int count, RowSource source, const QFont& bold) {
    beginResetModel();
    rows_.clear();
    source_ = std::move(source);
    sourceCount_ = source_ ? count : 0;
    made_.clear();
    bold_ = bold;
    endResetModel();
}

const ReportRow* ReportModel::row(int index) const {
    if (source_) {
        if (index < 0 || index >= sourceCount_)
            return nullptr;
        if (auto found = made_.find(index); found != made_.end())
            return &found->second;
        // The pointer handed out stays good until the next call.
        if (made_.size() >= kRowsKeptMade)
            made_.clear();
        return &made_.emplace(index, source_(index)).first->second;
    }
    return index >= 0 && index < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(index)]
                                                                : nullptr;
}

int ReportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (source_ ? sourceCount_ : static_cast<int>(rows_.size()));
}

int ReportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
    const ReportRow* r = row(index.row());
    const int column = index.column();
    if (!r || column < 0 || column >= static_cast<int>(r->cells.size()))
        return {};
    const ReportCell& cell = r->cells[static_cast<std::size_t>(column)];
    switch (role) {
    case Qt::DisplayRole:
        return cell.text;
    case Qt::ForegroundRole:
        return cell.colour ? QVariant(QBrush(*cell.colour)) : QVariant();
    case Qt::FontRole:
        return cell.bold ? QVariant(bold_) : QVariant();
    case Qt::TextAlignmentRole:
        return column < static_cast<int>(alignments_.size())
                   ? QVariant(static_cast<int>(alignments_[static_cast<std::size_t>(column)]))
                   : QVariant();
    default:
        return {};
    }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= headings_.size())
        return {};
    if (role == Qt::DisplayRole)
        return headings_[section];
    if (role == Qt::TextAlignmentRole && section < static_cast<int>(alignments_.size()))
        return static_cast<int>(alignments_[static_cast<std::size_t>(section)]);
    return {};
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}

} // namespace sorakado::ui
