#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

// The rows of the data list: number, value, unit and time texts.
class DataListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Row = std::array<QString, 4>;

    explicit DataListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Inserts a row at `index` (clamped to the end).
    void insertRowAt(int index, Row row);
    void deleteAllRows();
    // Replaces every row at once.
    void refill(std::vector<Row> rows);
    const Row& rowAt(int index) const { return m_rows[static_cast<std::size_t>(index)]; }

private:
    std::vector<Row> m_rows;
};
