#pragma once

#include "ui/panels/datalistmodel.h"
#include "ui/panels/datalistview.h"

#include <QWidget>

struct ListRow;

// The data list: every committed sample (or the samples of a loaded file), one
// row each, the newest scrolled into view.
class DataListPanel : public QWidget {
    Q_OBJECT
public:
    explicit DataListPanel(QWidget* parent = nullptr);

    // Inserts a row and scrolls it into view.
    void appendRow(int index, const DataListModel::Row& row);
    void appendRow(const ListRow& row);
    void deleteAllRows();
    void refill(const std::vector<DataListModel::Row>& rows);

    DataListModel* model() const { return m_model; }
    DataListView* list() const { return m_list; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void scrollToRow(int row);

    DataListModel* m_model = nullptr;
    DataListView* m_list = nullptr;
};
