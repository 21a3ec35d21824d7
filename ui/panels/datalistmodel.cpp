#include "ui/panels/datalistmodel.h"

#include <algorithm>
#include <limits>

namespace {

// A full list: 4000 rows and a few more, their texts some 30 bytes each.
constexpr std::size_t kRows = 4005;
constexpr std::size_t kRowBytes = 32;

// A row's texts in UTF-8, for as long as it lives.
struct Utf8Row {
    explicit Utf8Row(const DataListModel::Row& row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            bytes[c] = row[c].toUtf8();
            texts[c] = std::string_view(bytes[c].constData(), std::size_t(bytes[c].size()));
        }
    }
    std::array<QByteArray, 4> bytes;
    DataListModel::RowTexts texts;
};

} // namespace

DataListModel::DataListModel(QObject* parent) : QAbstractTableModel(parent) {
    m_rows.reserve(kRows);
    m_texts.reserve(kRows * kRowBytes);
}

int DataListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int DataListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QString DataListModel::text(int row, int column) const {
    const Stored& s = m_rows[static_cast<std::size_t>(row)];
    std::size_t at = s.at;
    for (int c = 0; c < column; ++c)
        at += s.length[static_cast<std::size_t>(c)];
    return QString::fromUtf8(m_texts.data() + at, s.length[static_cast<std::size_t>(column)]);
}

QVariant DataListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size()) || index.column() >= 4)
        return QVariant();
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
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

DataListModel::Stored DataListModel::store(const RowTexts& row) {
    Stored s;
    s.at = static_cast<std::uint32_t>(m_texts.size());
    for (std::size_t c = 0; c < row.size(); ++c) {
        const std::string_view t =
            row[c].substr(0, std::numeric_limits<std::uint16_t>::max()); // longer never comes
        s.length[c] = static_cast<std::uint16_t>(t.size());
        m_texts += t;
    }
    return s;
}

void DataListModel::insertRowAt(int index, const RowTexts& row) {
    const int at = std::clamp(index, 0, static_cast<int>(m_rows.size()));
    beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(m_rows.begin() + at, store(row));
    endInsertRows();
}

void DataListModel::insertRowAt(int index, const Row& row) {
    insertRowAt(index, Utf8Row(row).texts);
}

void DataListModel::deleteAllRows() {
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_texts.clear();
    endResetModel();
}

void DataListModel::refill(const std::vector<Row>& rows) {
    beginResetModel();
    m_rows.clear();
    m_texts.clear();
    for (const Row& row : rows)
        m_rows.push_back(store(Utf8Row(row).texts));
    endResetModel();
}

DataListModel::Row DataListModel::rowAt(int index) const {
    return {text(index, 0), text(index, 1), text(index, 2), text(index, 3)};
}
