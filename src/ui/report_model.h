#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QStringList>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace sorakado::ui {

struct ReportCell {
    QString text;
    std::optional<QColor> colour; // nullopt: the list's own text colour
    bool bold = false;
};

struct ReportRow {
    QString key;                   // "@" and a record key, or empty
    std::vector<ReportCell> cells; // the cells the row holds, column 1 first
};

// The rows of a report list as a table model: the view asks only for the cells it shows, so
// filling a list costs the same whether it holds ten rows or ten thousand. A row may hold fewer
// cells than there are columns; a cell it does not hold has no text, colour, font or alignment.
class ReportModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReportModel(QObject* parent = nullptr);

    void setColumns(const QStringList& headings, const std::vector<Qt::Alignment>& alignments);
    // Replaces every row at once (one model reset). bold is the font of a bold cell.
    void setRows(std::vector<ReportRow> rows, const QFont& bold);
    // Rows made only when they are drawn or read, for lists of tens of thousands of rows: count
    // rows, row i as source(i) gives it. Replaces every row at once, as setRows does.
    using RowSource = std::function<ReportRow(int)>;
    void setRowSource(int count, RowSource source, const QFont& bold);

    const ReportRow* row(int index) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QStringList headings_;
    std::vector<Qt::Alignment> alignments_;
    std::vector<ReportRow> rows_;
    int sourceCount_ = 0;
    RowSource source_;
    mutable std::unordered_map<int, ReportRow> made_; // the rows of source_ lately drawn
    QFont bold_;
};

} // namespace sorakado::ui
