#include "report_list.h"

#include "twips.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace sorakado::ui {

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kCellCountRole = Qt::UserRole + 2;
} // namespace

ReportList::ReportList(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item, int) { emit rowClicked(indexOfTopLevelItem(item)); });
}

void ReportList::setColumns(const std::vector<ReportColumn>& columns) {
    setColumnCount(static_cast<int>(columns.size()));
    QStringList headings;
    alignments_.clear();
    for (const auto& c : columns) {
        headings << c.heading;
        alignments_.push_back(c.alignment | Qt::AlignVCenter);
    }
    setHeaderLabels(headings);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        header()->resizeSection(i, px(columns[i].widthTwips));
        headerItem()->setTextAlignment(i, alignments_[i]);
    }
}

void ReportList::setRows(const std::vector<ReportRow>& rows) {
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    QFont boldFont = font();
    boldFont.setBold(true);
    for (const auto& row : rows) {
        auto* item = new QTreeWidgetItem;
        item->setData(0, kKeyRole, row.key);
        item->setData(0, kCellCountRole, static_cast<int>(row.cells.size()));
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            const auto& cell = row.cells[c];
            item->setText(c, cell.text);
            if (c < static_cast<int>(alignments_.size()))
                item->setTextAlignment(c, alignments_[c]);
            if (cell.colour)
                item->setForeground(c, *cell.colour);
            if (cell.bold)
                item->setFont(c, boldFont);
        }
        items.append(item);
    }
    setUpdatesEnabled(false);
    clear();
    addTopLevelItems(items);
    setUpdatesEnabled(true);
}

QString ReportList::rowKey(int row) const {
    auto* item = topLevelItem(row);
    return item ? item->data(0, kKeyRole).toString() : QString();
}

QStringList ReportList::rowCells(int row) const {
    QStringList out;
    auto* item = topLevelItem(row);
    if (!item)
        return out;
    int n = item->data(0, kCellCountRole).toInt();
    for (int c = 0; c < n; ++c)
        out << item->text(c);
    return out;
}

QStringList ReportList::headings() const {
    QStringList out;
    for (int c = 0; c < columnCount(); ++c)
        out << headerItem()->text(c);
    return out;
}

int ReportList::currentRow() const {
    auto* item = currentItem();
    return item ? indexOfTopLevelItem(item) : -1;
}

void ReportList::mousePressEvent(QMouseEvent* event) {
    // Qt selects the row under a press of any button, so the row a menu acts on is the row
    // pressed, which is what the user sees highlighted.
    QTreeWidget::mousePressEvent(event);
    QPoint inList = viewport()->mapTo(this, event->position().toPoint());
    emit pressed(event->button(), QPoint(twips(inList.x()), twips(inList.y())));
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        int row = currentRow();
        if (row >= 0)
            emit rowDoubleClicked(row);
    }
}

} // namespace sorakado::ui
