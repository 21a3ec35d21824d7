#pragma once

#include "ui/panels/cdatalistmodel.h"
#include "ui/panels/cdatalistview.h"

#include <QWidget>

struct ListRow;

// The data list: every committed sample (or the samples of a loaded file), one
// row each, the newest scrolled into view.
class CDataListPanel : public QWidget {
    Q_OBJECT
public:
    explicit CDataListPanel(QWidget* parent = nullptr);

    // Inserts a row and scrolls it into view.
    void appendRow(int index, CDataListModel::Row row);
    void appendRow(const ListRow& row);
    void deleteAllRows();
    void refill(std::vector<CDataListModel::Row> rows);

    CDataListModel* model() const { return m_model; }
    CDataListView* list() const { return m_list; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void scrollToRow(int row);

    CDataListModel* m_model = nullptr;
    CDataListView* m_list = nullptr;
};
