#include "ui/panels/datalistmodel.h"

#include <algorithm>

DataListModel::DataListModel(QObject* parent) : QAbstractTableModel(parent) {
    m_rows.reserve(4005);
}

int DataListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int DataListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant DataListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size()))
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_rows[static_cast<std::size_t>(index.row())]
                     [static_cast<std::size_t>(index.column())];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

QVariant DataListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const titles[] = {QT_TR_NOOP("NO."), QT_TR_NOOP("DATA"), QT_TR_NOOP("UNIT"),
                                         QT_TR_NOOP("TIME")};
    if (orientation != Qt::Horizontal || section < 0 || section > 3)
        return QVariant();
    if (role == Qt::DisplayRole)
        return tr(titles[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

void DataListModel::insertRowAt(int index, Row row) {
    const int at = std::clamp(index, 0, static_cast<int>(m_rows.size()));
    beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(m_rows.begin() + at, std::move(row));
    endInsertRows();
}

void DataListModel::deleteAllRows() {
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void DataListModel::refill(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}
