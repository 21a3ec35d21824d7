#include "ui/panels/cdatalistmodel.h"

#include <algorithm>

CDataListModel::CDataListModel(QObject* parent) : QAbstractTableModel(parent) {
    m_rows.reserve(4005);
}

int CDataListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CDataListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant CDataListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size()))
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_rows[static_cast<std::size_t>(index.row())]
                     [static_cast<std::size_t>(index.column())];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

QVariant CDataListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const titles[] = {"NO.", "DATA", "UNIT", "TIME"};
    if (orientation != Qt::Horizontal || section < 0 || section > 3)
        return QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(titles[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

void CDataListModel::insertRowAt(int index, Row row) {
    const int at = std::clamp(index, 0, static_cast<int>(m_rows.size()));
    beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(m_rows.begin() + at, std::move(row));
    endInsertRows();
}

void CDataListModel::deleteAllRows() {
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void CDataListModel::refill(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}
