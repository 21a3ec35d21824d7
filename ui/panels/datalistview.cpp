#include "ui/panels/datalistview.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

DataListView::DataListView(QWidget* parent) : QTableView(parent) {}

void DataListView::doItemsLayout() {
    const int rows = model() ? model()->rowCount() : 0;
    if (!m_bOnlyAppends || m_nLaidOutRows < 0 || rows <= m_nLaidOutRows) {
        QTableView::doItemsLayout(); // the whole viewport is drawn again
        m_nLaidOutRows = rows;
        m_bOnlyAppends = true;
        return;
    }
    // Rows that came at the end: the rows above them stay where they are.
    const int firstNew = m_nLaidOutRows;
    m_nLaidOutRows = rows;
    // The scroll range takes the new rows; where the rows' offset moves with
    // it (the list no longer ends at its last row), what is shown moves too.
    const QPoint before(horizontalHeader()->offset(), verticalHeader()->offset());
    if (!extendScrollRange(rows - firstNew))
        updateGeometries();
    const QPoint moved = before - QPoint(horizontalHeader()->offset(), verticalHeader()->offset());
    if (!moved.isNull())
        viewport()->scroll(moved.x(), moved.y());
    QWidget* vp = viewport();
    const int top = std::max(rowViewportPosition(firstNew), 0);
    if (top < vp->height())
        vp->update(QRect(0, top, vp->width(), vp->height() - top));
}

bool DataListView::extendScrollRange(int added) {
    // With the vertical bar shown and as many rows of the one height in sight
    // as the viewport holds, a layout would only lengthen the bar's range by
    // the rows added; it would also lay the bars out again and raise them, and
    // a raised bar is repainted with everything beneath it.
    QScrollBar* bar = verticalScrollBar();
    const int height = verticalHeader()->defaultSectionSize();
    if (verticalScrollMode() != ScrollPerItem || !bar->isVisible() || height <= 0 ||
        verticalHeader()->hiddenSectionCount() != 0 ||
        bar->pageStep() != std::max(viewport()->height() / height, 1) ||
        bar->maximum() + bar->pageStep() != m_nLaidOutRows - added)
        return false;
    for (int row = m_nLaidOutRows - added; row < m_nLaidOutRows; ++row)
        if (rowHeight(row) != height)
            return false;
    // The bar stays shown: the scroll area's own response to a new range (a
    // queued layout of its bars) has nothing to do.
    const QSignalBlocker quiet(bar);
    bar->setRange(bar->minimum(), bar->maximum() + added);
    return true;
}

void DataListView::setModel(QAbstractItemModel* model) {
    m_bOnlyAppends = false;
    QTableView::setModel(model);
    if (!model)
        return;
    // Whatever moves or changes columns lays the table out whole.
    const auto whole = [this] { m_bOnlyAppends = false; };
    connect(model, &QAbstractItemModel::columnsInserted, this, whole);
    connect(model, &QAbstractItemModel::columnsRemoved, this, whole);
    connect(model, &QAbstractItemModel::columnsMoved, this, whole);
    connect(model, &QAbstractItemModel::rowsMoved, this, whole);
    connect(model, &QAbstractItemModel::layoutChanged, this, whole);
}

void DataListView::reset() {
    m_bOnlyAppends = false;
    QTableView::reset();
}

void DataListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    if (end + 1 != model()->rowCount())
        m_bOnlyAppends = false;
    QTableView::rowsInserted(parent, start, end);
}

void DataListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    m_bOnlyAppends = false;
    QTableView::rowsAboutToBeRemoved(parent, start, end);
}
