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
//
// A row counts as picked only when the user picked it (pressed it, or moved to it with the
// keys) and it is shown selected: the keyboard focus arriving on the list never picks a row by
// itself. A cell whose text is cut off shows its whole text as a tooltip.
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
    // The row the user picked and sees selected; -1 when none.
    int currentRow() const;
    // Where, in twips relative to the list, a right press on row would land (on its first cell,
    // level with its middle); for a row of -1, a point of the list's empty area.
    QPoint menuPointTwips(int row) const;

signals:
    // A mouse press anywhere in the list, position in twips relative to the list.
    void pressed(Qt::MouseButton button, QPoint positionTwips);
    // The Menu key or Shift+F10: the list's menu is wanted for the picked row, at the position
    // (twips relative to the list) a right press on that row would have had.
    void menuKeyPressed(QPoint positionTwips);
    void rowClicked(int row);
    void rowDoubleClicked(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void requestMenuFromKeyboard();
    // The whole text of the cell at pos (viewport coordinates) when it is cut off; empty otherwise.
    QString cutOffTextAt(QPoint pos) const;

    std::vector<Qt::Alignment> alignments_;
};

} // namespace sorakado::ui
