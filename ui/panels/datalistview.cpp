#include "ui/panels/datalistview.h"

#include <QEvent>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

DataListView::DataListView(QWidget* parent) : QTableView(parent) {
    const auto columnsChanged = [this] { invalidatePicture(); };
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, columnsChanged);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, columnsChanged);
}

void DataListView::expectAppendAtEnd(int row) {
    if (m_nFirstNewRow < 0) {
        m_nFirstNewRow = row;
        m_nOffsetBefore = verticalHeader()->offset();
    }
    m_nFirstNewRow = std::min(m_nFirstNewRow, row);
}

void DataListView::renderIntoPicture(const QRect& area) {
    m_bRendering = true;
    viewport()->render(&m_picture, area.topLeft(), QRegion(area), QWidget::DrawWindowBackground);
    m_bRendering = false;
}

bool DataListView::pictureFits() const {
    const QWidget* vp = viewport();
    return !m_picture.isNull() && m_picture.size() == vp->size() * vp->devicePixelRatio() &&
           m_picture.devicePixelRatio() == vp->devicePixelRatio();
}

void DataListView::refreshPicture() {
    m_bRefreshQueued = false;
    QWidget* vp = viewport();
    if (!vp->isVisible() || vp->size().isEmpty())
        return;
    if (!pictureFits()) {
        m_picture = QPixmap(vp->size() * vp->devicePixelRatio());
        m_picture.setDevicePixelRatio(vp->devicePixelRatio());
    }
    renderIntoPicture(vp->rect());
    m_bPictureValid = true;
    m_nFirstNewRow = -1;
    ++m_nFullPaints;
}

void DataListView::takeAppendedRows() {
    const int firstNew = m_nFirstNewRow;
    const int shift = m_nOffsetBefore - verticalHeader()->offset(); // pixels the rows moved
    m_nFirstNewRow = -1;
    if (firstNew < 0 || !m_bPictureValid || !pictureFits())
        return; // the next paint draws every row
    QWidget* vp = viewport();
    const int height = vp->height();
    // Rows moved up by `shift`; what lies below them, and every new row, is
    // drawn afresh.
    if (shift != 0)
        m_picture.scroll(0, qRound(shift * vp->devicePixelRatio()), m_picture.rect());
    int top = height + shift;
    if (firstNew < model()->rowCount())
        top = std::min(top, rowViewportPosition(firstNew));
    top = std::clamp(top, 0, height);
    if (top < height)
        renderIntoPicture(QRect(0, top, vp->width(), height - top));
    ++m_nRowPaints;
}

void DataListView::paintEvent(QPaintEvent* event) {
    if (m_bRendering || !m_bPictureValid || !pictureFits()) {
        // Drawn as any table is; the picture is taken again once this paint
        // is over, outside it.
        if (!m_bRendering && !m_bRefreshQueued) {
            m_bRefreshQueued = true;
            QMetaObject::invokeMethod(this, &DataListView::refreshPicture, Qt::QueuedConnection);
        }
        QTableView::paintEvent(event);
        return;
    }
    QWidget* vp = viewport();
    const qreal ratio = vp->devicePixelRatio();
    QPainter p(vp);
    for (const QRect& r : event->region()) {
        p.setClipRect(r);
        p.drawPixmap(r.topLeft(), m_picture,
                     QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
    }
}

void DataListView::scrollContentsBy(int dx, int dy) {
    // Only a scroll that brings appended rows into sight keeps the picture.
    if (dx != 0 || m_nFirstNewRow < 0)
        invalidatePicture();
    QTableView::scrollContentsBy(dx, dy);
}

bool DataListView::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::HoverMove:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
        invalidatePicture();
        break;
    default:
        break;
    }
    return QTableView::viewportEvent(event);
}

void DataListView::changeEvent(QEvent* event) {
    invalidatePicture(); // palette, font, style, activation, enabled state
    QTableView::changeEvent(event);
}

void DataListView::focusInEvent(QFocusEvent* event) {
    invalidatePicture();
    QTableView::focusInEvent(event);
}

void DataListView::focusOutEvent(QFocusEvent* event) {
    invalidatePicture();
    QTableView::focusOutEvent(event);
}

void DataListView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    invalidatePicture();
    QTableView::selectionChanged(selected, deselected);
}

void DataListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    invalidatePicture();
    QTableView::currentChanged(current, previous);
}

void DataListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>& roles) {
    invalidatePicture();
    QTableView::dataChanged(topLeft, bottomRight, roles);
}

void DataListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    if (m_nFirstNewRow < 0 || start < m_nFirstNewRow || end + 1 != model()->rowCount())
        invalidatePicture();
    QTableView::rowsInserted(parent, start, end);
}

void DataListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    invalidatePicture();
    QTableView::rowsAboutToBeRemoved(parent, start, end);
}

void DataListView::reset() {
    invalidatePicture();
    m_nFirstNewRow = -1;
    QTableView::reset();
}
