#include "core/store/acquisition.h"
#include "tests/panels/panelsupport.h"
#include "ui/panels/datalistpanel.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

ListRow listRow(int number) {
    return {number - 1, std::to_string(number), "25.3", "C", "07-26-25/08:00:00"};
}

std::vector<DataListModel::Row> rows(int count) {
    std::vector<DataListModel::Row> out;
    for (int i = 1; i <= count; ++i)
        out.push_back({QString::number(i), QStringLiteral("%1.0").arg(i % 900), QStringLiteral("F"),
                       QStringLiteral("07-26-25/08:00:00")});
    return out;
}

// Whether row `row` is wholly inside the list's visible area.
bool rowVisible(const DataListPanel& panel, int row) {
    const QTableView* list = panel.list();
    const QRect r = list->visualRect(list->model()->index(row, 0));
    return r.isValid() && list->viewport()->rect().contains(r);
}

TEST(DataList, ColumnsFontAndStyle) {
    DataListPanel panel;
    const QTableView* list = panel.list();
    const QAbstractItemModel* model = list->model();
    const char* titles[] = {"NO.", "DATA", "UNIT", "TIME"};
    const int widths[] = {44, 55, 43, 150};
    ASSERT_EQ(model->columnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titles[c]);
        EXPECT_EQ(list->columnWidth(c), widths[c]);
    }
    EXPECT_TRUE(list->showGrid());
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->font().pixelSize(), 12);
    EXPECT_EQ(list->font().family(), "Liberation Sans");
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(DataList, TenCommitsListRowsOneToTenWithTheNewestInView) {
    DataListPanel panel;
    panel.resize(290, 120); // room for a few rows only
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    for (int n = 1; n <= 10; ++n) {
        panel.appendRow(listRow(n));
        EXPECT_TRUE(rowVisible(panel, n - 1)) << n;
    }
    const DataListModel& model = *panel.model();
    ASSERT_EQ(model.rowCount(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(model.rowAt(i)[0], QString::number(i + 1));
    EXPECT_EQ(model.rowAt(9)[1], "25.3");
    EXPECT_EQ(model.rowAt(9)[2], "C");
    EXPECT_EQ(model.rowAt(9)[3], "07-26-25/08:00:00");
    EXPECT_FALSE(rowVisible(panel, 0));
    EXPECT_EQ(panel.list()->verticalScrollBar()->value(),
              panel.list()->verticalScrollBar()->maximum());
}

TEST(DataList, RefillAppendAndDeleteAllAtFullSize) {
    DataListPanel panel;
    panel.resize(290, 300);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.refill(rows(4000));
    ASSERT_EQ(panel.model()->rowCount(), 4000);
    EXPECT_TRUE(rowVisible(panel, 3999));
    EXPECT_EQ(panel.model()->rowAt(3999)[0], "4000");

    // A full store may list its last number once more (the row is inserted
    // again at index 3999).
    panel.appendRow(3999, {"4000", "1.0", "°C", "07-26-25/08:00:00"});
    EXPECT_EQ(panel.model()->rowCount(), 4001);
    EXPECT_EQ(panel.model()->rowAt(3999),
              (DataListModel::Row{"4000", "1.0", "°C", "07-26-25/08:00:00"}));
    EXPECT_EQ(panel.model()->rowAt(4000)[0], "4000");
    EXPECT_TRUE(rowVisible(panel, 3999));

    panel.deleteAllRows();
    EXPECT_EQ(panel.model()->rowCount(), 0);
    panel.appendRow(listRow(1));
    EXPECT_EQ(panel.model()->rowCount(), 1);
    EXPECT_TRUE(rowVisible(panel, 0));
}

TEST(DataList, ShiftClickSelectsARangeAndCtrlClickAddsOrRemovesARow) {
    DataListPanel panel;
    panel.resize(290, 300);
    panel.refill(rows(6));
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QTableView* list = panel.list();
    const auto click = [list](int row, Qt::KeyboardModifiers keys) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys,
                          list->visualRect(list->model()->index(row, 1)).center());
    };
    QItemSelectionModel* selection = list->selectionModel();
    click(1, Qt::NoModifier);
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(selection->selectedRows().size(), 3);
    EXPECT_TRUE(selection->isRowSelected(2));
    click(5, Qt::ControlModifier);
    click(2, Qt::ControlModifier);
    EXPECT_EQ(selection->selectedRows().size(), 3);
    EXPECT_FALSE(selection->isRowSelected(2));
    EXPECT_TRUE(selection->isRowSelected(5));
}

TEST(DataList, EnterAndEscapeAreSwallowed) {
    QWidget host;
    KeyWatch watch;
    host.installEventFilter(&watch);
    auto* panel = new DataListPanel(&host);
    panel->refill(rows(3));
    panel->list()->setCurrentIndex(panel->model()->index(1, 0));
    QSignalSpy activated(panel->list(), &QAbstractItemView::activated);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(panel->list(), key);
        QTest::keyClick(panel, key);
    }
    EXPECT_EQ(activated.count(), 0);
    EXPECT_EQ(watch.keys, 0);
    QTest::keyClick(panel->list(), Qt::Key_Down); // other keys still move the selection
    EXPECT_EQ(panel->list()->currentIndex().row(), 2);
}

} // namespace
