#include "ui/panels/datalistpanel.h"

#include "core/store/acquisition.h"
#include "ui/panels/cachedscrollbar.h"
#include "ui/panels/datalistdelegate.h"
#include "ui/panels/datalistview.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>

DataListPanel::DataListPanel(QWidget* parent)
    : QWidget(parent), m_model(new DataListModel(this)), m_list(new DataListView(this)) {
    setAccessibleName(tr("Data list"));
    m_list->setAccessibleName(tr("Recorded samples"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new DataListDelegate(m_list));
    m_list->setVerticalScrollBar(new CachedScrollBar(Qt::Vertical));
    m_list->setHorizontalScrollBar(new CachedScrollBar(Qt::Horizontal));
    m_list->verticalScrollBar()->setAccessibleName(tr("Scroll through the samples"));
    m_list->horizontalScrollBar()->setAccessibleName(tr("Scroll across the columns"));
    // The arrow keys move from cell to cell; Tab and Shift+Tab leave the list.
    m_list->setTabKeyNavigation(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    // Fixed row heights keep scrolling cheap with thousands of rows.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(16);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->horizontalHeader()->setHighlightSections(false);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setWeight(QFont::Medium);
    m_list->setFont(font);
    const int widths[] = {44, 55, 43, 150};
    for (int c = 0; c < 4; ++c)
        m_list->setColumnWidth(c, widths[c]);
    m_list->installEventFilter(this);
    installEventFilter(this);
    // The list covers the panel whole: nothing beneath it is drawn for it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DataListPanel::appendRow(int index, const DataListModel::Row& row) {
    m_model->insertRowAt(index, row);
    scrollToRow(std::min(index, m_model->rowCount() - 1));
}

void DataListPanel::scrollToRow(int row) {
    // The view lays out new rows later, on its own; until then its scroll
    // range ends a row short and the new row would stay out of sight.
    m_list->layOutNow();
    m_list->scrollTo(m_model->index(row, 0), QAbstractItemView::EnsureVisible);
}

void DataListPanel::appendRow(const ListRow& row) {
    m_model->insertRowAt(row.index, {row.number, row.value, row.unit, row.time});
    scrollToRow(std::min(row.index, m_model->rowCount() - 1));
}

void DataListPanel::deleteAllRows() {
    m_model->deleteAllRows();
}

void DataListPanel::refill(const std::vector<DataListModel::Row>& rows) {
    m_model->refill(rows);
    if (m_model->rowCount() > 0)
        scrollToRow(m_model->rowCount() - 1);
}

bool DataListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DataListPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_list->setGeometry(rect());
}
