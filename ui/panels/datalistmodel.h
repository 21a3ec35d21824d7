#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The rows of the data list: number, value, unit and time texts. The texts
// are kept one after the other in one buffer, as UTF-8, and made into
// QStrings only for the cells shown: a full list holds 4000 rows.
class DataListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Row = std::array<QString, 4>;
    using RowTexts = std::array<std::string_view, 4>;

    explicit DataListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Inserts a row at `index` (clamped to the end).
    void insertRowAt(int index, const RowTexts& row);
    void insertRowAt(int index, const Row& row);
    void deleteAllRows();
    // Replaces every row at once.
    void refill(const std::vector<Row>& rows);
    Row rowAt(int index) const;

private:
    struct Stored {
        std::uint32_t at = 0; // where the row's texts begin in m_texts
        std::array<std::uint16_t, 4> length{};
    };
    Stored store(const RowTexts& row);
    QString text(int row, int column) const;

    std::string m_texts;
    std::vector<Stored> m_rows;
};
