#include "report_list.h"

#include "twips.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

namespace sorakado::ui {

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kCellCountRole = Qt::UserRole + 2;
// How far into a row's first cell the menu keys put their pretend right press, in pixels.
constexpr int kMenuPointInset = 8;
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
    // A row can be current without being selected (Ctrl+click takes the selection away): the
    // user then sees nothing picked, and nothing is.
    auto* item = currentItem();
    return item && item->isSelected() ? indexOfTopLevelItem(item) : -1;
}

QPoint ReportList::menuPointTwips(int row) const {
    QPoint inViewport(kMenuPointInset, kMenuPointInset);
    if (auto* item = topLevelItem(row)) {
        const QRect r = visualItemRect(item);
        inViewport = QPoint(r.left() + std::min(kMenuPointInset, r.width() / 2), r.center().y());
    } else if (rowCount() > 0) {
        // Below the last row, where the list is empty, when the rows leave room for it.
        const QRect last = visualItemRect(topLevelItem(rowCount() - 1));
        if (last.bottom() + kMenuPointInset < viewport()->height())
            inViewport = QPoint(kMenuPointInset, last.bottom() + kMenuPointInset);
    }
    const QPoint inList = viewport()->mapTo(this, inViewport);
    return QPoint(twips(inList.x()), twips(inList.y()));
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

void ReportList::requestMenuFromKeyboard() {
    const int row = currentRow();
    if (auto* item = topLevelItem(row))
        scrollToItem(item);
    emit menuKeyPressed(menuPointTwips(row));
}

void ReportList::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // On X11 the Menu key also arrives as a context-menu request, which may have opened the
    // menu already; the key itself then reaches the open menu, not this list.
    if (!QApplication::activePopupWidget())
        requestMenuFromKeyboard();
}

void ReportList::contextMenuEvent(QContextMenuEvent* event) {
    // Right presses are handled as presses (see mousePressEvent); only the keyboard's request
    // is taken here.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    event->accept();
    requestMenuFromKeyboard();
}

void ReportList::focusInEvent(QFocusEvent* event) {
    // Arriving by the keyboard (Tab, or back from a closed menu) on a list with no current
    // row, Qt would make the first row current: a row nobody picked, which the menus and the
    // double click would then act on. Handled as a focus by the mouse, which picks nothing.
    if (currentIndex().isValid() || event->reason() == Qt::MouseFocusReason) {
        QTreeWidget::focusInEvent(event);
        return;
    }
    QFocusEvent byMouse(QEvent::FocusIn, Qt::MouseFocusReason);
    QTreeWidget::focusInEvent(&byMouse);
}

QString ReportList::cutOffTextAt(QPoint pos) const {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return {};
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    const QSize needed = itemDelegateForIndex(index)->sizeHint(option, index);
    return needed.width() > option.rect.width() || needed.height() > option.rect.height() ? text : QString();
}

bool ReportList::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTreeWidget::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = cutOffTextAt(help->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(indexAt(help->pos())));
    return true;
}

} // namespace sorakado::ui
