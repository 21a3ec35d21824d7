#pragma once

#include <QTableView>

// The data list's table. Each reading appends a row at the end of a list
// scrolled to its end: the rows in sight move up by one row in the window's
// backing store (the window scrolls its own copy of them) and only the new
// row is drawn. Rows appended at the end are laid out by giving the scroll
// range the new rows; anything else (a refill, removed rows, new columns)
// lays the table out as any table view does.
class DataListView : public QTableView {
public:
    explicit DataListView(QWidget* parent = nullptr);

    // Lays out now what the model took since the last layout, rather than
    // when the event loop comes round: the scroll range covers the new rows.
    void layOutNow() { executeDelayedItemsLayout(); }

    void setModel(QAbstractItemModel* model) override;
    void doItemsLayout() override;
    void reset() override;

protected:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    // Gives the vertical scroll range `added` more rows, as a layout would,
    // where that is all a layout would change; false where it is not.
    bool extendScrollRange(int added);

    int m_nLaidOutRows = -1;     // rows at the last layout (-1: none yet)
    bool m_bOnlyAppends = false; // since then, rows were only appended at the end
};
