#pragma once

#include <QColor>
#include <QStringList>
#include <QTreeWidget>

#include <optional>
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

struct ReportColumn {
    QString heading;
    int widthTwips;
    Qt::Alignment alignment;
};

// A report-style list: column headings, keyed rows whose cells carry their own colour and
// boldness, and a row that may hold fewer cells than there are columns. Refilled whole.
class ReportList : public QTreeWidget {
    Q_OBJECT
public:
    explicit ReportList(QWidget* parent = nullptr);

    void setColumns(const std::vector<ReportColumn>& columns);
    void setRows(const std::vector<ReportRow>& rows);
    void clearRows() { clear(); }

    int rowCount() const { return topLevelItemCount(); }
    QString rowKey(int row) const;
    // The texts of the cells row holds (not padded to the column count).
    QStringList rowCells(int row) const;
    QStringList headings() const;
    // The row the user last pressed or moved to; -1 when none.
    int currentRow() const;

signals:
    // A mouse press anywhere in the list, position in twips relative to the list.
    void pressed(Qt::MouseButton button, QPoint positionTwips);
    void rowClicked(int row);
    void rowDoubleClicked(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::vector<Qt::Alignment> alignments_;
};

} // namespace sorakado::ui
