#include "report_list.h"

#include "twips.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

namespace sorakado::ui {

namespace {
// How far into a row's first cell the menu keys put their pretend right press, in pixels.
constexpr int kMenuPointInset = 8;
} // namespace

ReportList::ReportList(QWidget* parent) : QTreeView(parent), model_(new ReportModel(this)) {
    setModel(model_);
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
    connect(this, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { emit rowClicked(index.row()); });
}

void ReportList::setColumns(const std::vector<ReportColumn>& columns) {
    QStringList headings;
    std::vector<Qt::Alignment> alignments;
    for (const auto& c : columns) {
        headings << c.heading;
        alignments.push_back(c.alignment | Qt::AlignVCenter);
    }
    model_->setColumns(headings, alignments);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i)
        header()->resizeSection(i, px(columns[i].widthTwips));
}

QFont ReportList::boldFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

void ReportList::setRows(const std::vector<ReportRow>& rows) {
    setRows(std::vector<ReportRow>(rows));
}

void ReportList::setRows(std::vector<ReportRow>&& rows) {
    const bool any = !rows.empty();
    model_->setRows(std::move(rows), boldFont());
    if (any)
        emit refilled();
}

void ReportList::setRowSource(int count, ReportModel::RowSource source) {
    model_->setRowSource(count, std::move(source), boldFont());
    if (count > 0)
        emit refilled();
}

void ReportList::clearRows() {
    model_->setRows({}, boldFont());
}

QString ReportList::rowKey(int row) const {
    const ReportRow* r = model_->row(row);
    return r ? r->key : QString();
}

QStringList ReportList::rowCells(int row) const {
    QStringList out;
    if (const ReportRow* r = model_->row(row))
        for (const auto& cell : r->cells)
            out << cell.text;
    return out;
}

QStringList ReportList::headings() const {
    QStringList out;
    for (int c = 0; c < model_->columnCount(); ++c)
        out << model_->headerData(c, Qt::Horizontal).toString();
    return out;
}

int ReportList::currentRow() const {
    // A row can be current without being selected (Ctrl+click takes the selection away): the
    // user then sees nothing picked, and nothing is.
    const QModelIndex current = currentIndex();
    return current.isValid() && selectionModel()->isSelected(model_->index(current.row(), 0)) ? current.row()
                                                                                              : -1;
}

QRect ReportList::rowRect(int row) const {
    if (!model_->row(row))
        return {};
    const int first = header()->logicalIndexAt(-header()->offset());
    const int last = header()->logicalIndexAt(header()->length() - header()->offset() - 1);
    return visualRect(model_->index(row, header()->logicalIndex(first))) |
           visualRect(model_->index(row, header()->logicalIndex(last)));
}

void ReportList::setCurrentRow(int row) {
    setCurrentIndex(model_->row(row) ? model_->index(row, 0) : QModelIndex());
}

void ReportList::scrollToRow(int row) {
    if (model_->row(row))
        scrollTo(model_->index(row, 0));
}

void ReportList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    emit currentRowChanged(current.isValid() ? current.row() : -1);
}

QPoint ReportList::menuPointTwips(int row) const {
    QPoint inViewport(kMenuPointInset, kMenuPointInset);
    if (model_->row(row)) {
        const QRect r = rowRect(row);
        inViewport = QPoint(r.left() + std::min(kMenuPointInset, r.width() / 2), r.center().y());
    } else if (rowCount() > 0) {
        // Below the last row, where the list is empty, when the rows leave room for it.
        const QRect last = rowRect(rowCount() - 1);
        if (last.bottom() + kMenuPointInset < viewport()->height())
            inViewport = QPoint(kMenuPointInset, last.bottom() + kMenuPointInset);
    }
    const QPoint inList = viewport()->mapTo(this, inViewport);
    return QPoint(twips(inList.x()), twips(inList.y()));
}

void ReportList::mousePressEvent(QMouseEvent* event) {
    // Qt selects the row under a press of any button, so the row a menu acts on is the row
    // pressed, which is what the user sees highlighted.
    QTreeView::mousePressEvent(event);
    QPoint inList = viewport()->mapTo(this, event->position().toPoint());
    emit pressed(event->button(), QPoint(twips(inList.x()), twips(inList.y())));
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        int row = currentRow();
        if (row >= 0)
            emit rowDoubleClicked(row);
    }
}

void ReportList::requestMenuFromKeyboard() {
    const int row = currentRow();
    scrollToRow(row);
    emit menuKeyPressed(menuPointTwips(row));
}

void ReportList::keyPressEvent(QKeyEvent* event) {
    // Qt's own copy takes the current cell alone; the list is copied whole, as its menu does.
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        emit copyRequested();
        return;
    }
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (!menuKey) {
        QTreeView::keyPressEvent(event);
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
    viewport()->update();
    if (currentIndex().isValid() || event->reason() == Qt::MouseFocusReason) {
        QTreeView::focusInEvent(event);
        return;
    }
    QFocusEvent byMouse(QEvent::FocusIn, Qt::MouseFocusReason);
    QTreeView::focusInEvent(&byMouse);
}

void ReportList::focusOutEvent(QFocusEvent* event) {
    viewport()->update();
    QTreeView::focusOutEvent(event);
}

void ReportList::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
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
        return QTreeView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = cutOffTextAt(help->pos());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(indexAt(help->pos())));
    return true;
}

} // namespace sorakado::ui
