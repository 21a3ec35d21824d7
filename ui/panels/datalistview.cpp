#include "ui/panels/datalistview.h"

#include <QHeaderView>

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
    updateGeometries();
    const QPoint moved = before - QPoint(horizontalHeader()->offset(), verticalHeader()->offset());
    if (!moved.isNull())
        viewport()->scroll(moved.x(), moved.y());
    QWidget* vp = viewport();
    const int top = std::max(rowViewportPosition(firstNew), 0);
    if (top < vp->height())
        vp->update(QRect(0, top, vp->width(), vp->height() - top));
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
