#pragma once

#include "report_model.h"

#include <QStringList>
#include <QTreeView>

#include <vector>

namespace sorakado::ui {

struct ReportColumn {
    QString heading;
    int widthTwips;
    Qt::Alignment alignment;
};

// A report-style list: column headings, keyed rows whose cells carry their own colour and
// boldness, and a row that may hold fewer cells than there are columns. Refilled whole. A view
// on a ReportModel: it draws only the rows in sight, so a month of thousands of entries fills as
// fast as a month of ten.
//
// A row counts as picked only when the user picked it (pressed it, or moved to it with the
// keys) and it is shown selected: the keyboard focus arriving on the list never picks a row by
// itself. A cell whose text is cut off shows its whole text as a tooltip. The list that has the
// keyboard focus is framed in the highlight colour, picked row or not: three lists sit side by
// side and the keys act on whichever has it.
class ReportList : public QTreeView {
    Q_OBJECT
public:
    explicit ReportList(QWidget* parent = nullptr);

    void setColumns(const std::vector<ReportColumn>& columns);
    void setRows(const std::vector<ReportRow>& rows);
    void setRows(std::vector<ReportRow>&& rows);
    void clearRows();
    // count rows made only as they are drawn or read (ReportModel::setRowSource).
    void setRowSource(int count, ReportModel::RowSource source);

    int rowCount() const { return model_->rowCount(); }
    int columnCount() const { return model_->columnCount(); }
    QString rowKey(int row) const;
    // The texts of the cells row holds (not padded to the column count).
    QStringList rowCells(int row) const;
    QStringList headings() const;
    // The row the user picked and sees selected; -1 when none.
    int currentRow() const;
    // Where, in twips relative to the list, a right press on row would land (on its first cell,
    // level with its middle); for a row of -1, a point of the list's empty area.
    QPoint menuPointTwips(int row) const;
    // The row's rectangle in the viewport, across the columns in sight; empty for no row.
    QRect rowRect(int row) const;
    // Makes row current and selected, as a press on it would; -1 makes none current.
    void setCurrentRow(int row);
    void scrollToRow(int row);

signals:
    // A mouse press anywhere in the list, position in twips relative to the list.
    void pressed(Qt::MouseButton button, QPoint positionTwips);
    // The Menu key or Shift+F10: the list's menu is wanted for the picked row, at the position
    // (twips relative to the list) a right press on that row would have had.
    void menuKeyPressed(QPoint positionTwips);
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    // The current row moved (a press, the keys, setCurrentRow); -1 when none is current.
    void currentRowChanged(int row);
    // Ctrl+C (the platform's copy key): the list is wanted on the clipboard.
    void copyRequested();
    // setRows put rows in the list (after the model's reset, which takes the current row away).
    void refilled();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void requestMenuFromKeyboard();
    // The whole text of the cell at pos (viewport coordinates) when it is cut off; empty otherwise.
    QString cutOffTextAt(QPoint pos) const;

    QFont boldFont() const;

    ReportModel* model_;
};

} // namespace sorakado::ui
