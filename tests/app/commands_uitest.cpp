#include "support/windowrig.h"
#include "ui/files/documentfiles.h"
#include "ui/panels/alarmbar.h"
#include "ui/window/commandids.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// The menu as the user sees it: item texts, "-" for a separator.
QStringList menuItems(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return items;
}

TEST(Commands, MenusListTheirItemsInOrder) {
    WindowRig rig;
    const QList<QAction*> popups = rig.frame->menuBar()->actions();
    ASSERT_EQ(popups.size(), 3);
    EXPECT_EQ(popups[0]->text(), "&File(F)");
    EXPECT_EQ(popups[1]->text(), "&Tools(T)");
    EXPECT_EQ(popups[2]->text(), "&Help(H)");
    EXPECT_EQ(menuItems(popups[0]->menu()),
              (QStringList{"&Save", "-", "&Open", "&View Recordings...", "Export as &CSV...", "-",
                           "&Print ", "-", "&Exit"}));
    EXPECT_EQ(
        menuItems(popups[1]->menu()),
        (QStringList{"&Select COM", "-", "&On/Off", "Continue in a &New File", "-", "&UndoZoom",
                     "&Follow the Readings", "-", "&Clear Screen", "-", "Clear &All", "-",
                     "Alarm No&tifications", "-", "Alarm Soun&d", "-", "&Publish..."}));
    EXPECT_EQ(menuItems(popups[2]->menu()), (QStringList{"&About Orvane...", "-", "&Contents"}));
    // A letter picks one item: none is shared within a menu.
    for (QAction* popup : popups) {
        QStringList letters;
        for (QAction* a : popup->menu()->actions())
            if (const qsizetype amp = a->text().indexOf('&'); amp >= 0)
                letters << a->text().mid(amp + 1, 1).toUpper();
        EXPECT_EQ(QSet<QString>(letters.begin(), letters.end()).size(), letters.size())
            << popup->text().toStdString() << ": " << letters.join(' ').toStdString();
    }
    EXPECT_EQ(rig.frame->action(ID_FILE_PRINT)->statusTip(), "Print the active document");
}

TEST(Commands, TheMenusShowTheKeysThatRunTheirCommands) {
    WindowRig rig;
    const struct {
        int id;
        const char* keys;
    } rows[] = {{ID_SAVE, "Ctrl+S"},
                {ID_OPEN, "Ctrl+O"},
                {ID_FILE_PRINT, "Ctrl+P"},
                {ID_APP_EXIT, "Ctrl+Q"},
                {ID_HELP_CONTENTS, "F1"},
                {ID_EXPORT_CSV, ""},
                {ID_VIEW_RECORDINGS, "Ctrl+Shift+O"},
                {ID_CLEAR_ALL, ""}};
    for (const auto& row : rows)
        EXPECT_EQ(rig.frame->action(row.id)->shortcut().toString(), row.keys) << row.keys;

    rig.record({123, 124});
    rig.frame->show();
    rig.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.frame.get()));
    // Ctrl+S and Ctrl+O are File > Save and File > Open: the data file's
    // dialog, its time-stamped name and the text export beside it; they work
    // while an alarm limit is being typed too.
    rig.prompter->m_savePaths << rig.path("keys.DovDat");
    QLineEdit* limit = rig.frame->view().alarmBar()->highEdit();
    limit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return limit->hasFocus(); }, 1000));
    QTest::keyClick(limit, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(rig.prompter->m_filters, QStringList{DocumentFiles::kFilter});
    EXPECT_TRUE(rig.prompter->m_proposed.endsWith(".DovDat"));
    EXPECT_EQ(rig.filesIn().filter(".txt").size(), 1) << rig.filesIn().join(',').toStdString();
    EXPECT_TRUE(rig.filesIn().contains("keys.DovDat"));
    rig.prompter->m_filters.clear();
    QTest::keyClick(rig.frame.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(rig.prompter->m_filters, QStringList{DocumentFiles::kFilter});

    bool dialogShown = false;
    QTimer::singleShot(0, rig.frame.get(), [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            dialogShown = true;
            dialog->reject();
        }
    });
    QTest::keyClick(rig.frame.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(dialogShown);
}

TEST(Commands, ToolbarHasTheNineButtonsInOrder) {
    WindowRig rig;
    QStringList tips;
    for (QAction* a : rig.frame->toolBar()->actions())
        if (!a->isSeparator()) {
            tips << a->toolTip();
            EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
        }
    EXPECT_EQ(tips, (QStringList{"Save", "Open", "Print ", "Select COM", "On/Off", "UndoZoom",
                                 "Clear Screen", "Clear All", "Help"}));
    EXPECT_EQ(rig.frame->toolBar()->iconSize(), QSize(32, 22));
}

TEST(Commands, SaveAndPrintWaitForTheFirstCommittedReading) {
    WindowRig rig;
    QAction* save = rig.frame->action(ID_SAVE);
    QAction* print = rig.frame->action(ID_FILE_PRINT);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(print->isEnabled());
    EXPECT_FALSE(rig.frame->action(ID_UNDO_ZOOM)->isEnabled());
    EXPECT_TRUE(rig.frame->action(ID_OPEN)->isEnabled());

    rig.record({123});
    EXPECT_TRUE(save->isEnabled()); // without opening a menu: the toolbar is never stale
    EXPECT_TRUE(print->isEnabled());

    rig.frame->action(ID_CLEAR_ALL)->trigger();
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(print->isEnabled());
}

TEST(Commands, ACommitByTheIntervalTimerEnablesSaveAndPrintAtOnce) {
    WindowRig rig;
    Recorder& rec = rig.rec();
    rec.selectSampleRate(1);
    rec.overrideIntervalMs(50);
    ASSERT_TRUE(rig.show());
    rig.record({123});
    ASSERT_EQ(rec.store().recCount(), 0); // waits for the timer

    // The program idles as it does between frames: no menu opens, nothing else
    // arrives.
    QEventLoop idle;
    QTimer::singleShot(400, &idle, &QEventLoop::quit);
    idle.exec();
    ASSERT_EQ(rec.store().recCount(), 1);
    EXPECT_TRUE(rig.frame->action(ID_SAVE)->isEnabled());
    EXPECT_TRUE(rig.frame->action(ID_FILE_PRINT)->isEnabled());
}

TEST(Commands, SelectComStepsDownWhileShiftIsHeldWhenItRuns) {
    WindowRig rig;
    ASSERT_TRUE(rig.show());
    QAction* select = rig.frame->action(ID_SELECT_COM);
    QWidget* button = rig.frame->toolBar()->widgetForAction(select);
    select->trigger();
    EXPECT_EQ(rig.frame->line().port(), 4);
    QTest::keyPress(rig.frame.get(), Qt::Key_Shift, Qt::ShiftModifier);
    QTest::mouseClick(button, Qt::LeftButton, Qt::ShiftModifier);
    QTest::mouseClick(button, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(rig.frame->line().port(), 2);
    // Shift is let go in another program's window: this one never hears of
    // it, and the next click comes without it.
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(rig.frame->line().port(), 3);
}

TEST(Commands, StatusBarPanesAndPrompts) {
    WindowRig rig;
    ASSERT_TRUE(rig.show());
    CMainFrame& f = *rig.frame;
    // From the left, each next to the one before.
    EXPECT_LT(f.pane(0)->x(), 10);
    EXPECT_LT(f.pane(1)->x() - f.pane(0)->geometry().right(), 10);
    EXPECT_LT(f.pane(2)->x() - f.pane(1)->geometry().right(), 10);
    EXPECT_LT(f.pane(3)->x() - f.pane(2)->geometry().right(), 10);
    for (QLabel* pane : {f.pane(0), f.pane(1), f.pane(2)})
        EXPECT_EQ(pane->width(), 150);
    EXPECT_EQ(f.pane(0)->text(), "Ready");
    EXPECT_EQ(f.pane(3)->text(), ""); // Scroll Lock is off

    // Over a button with a prompt the prompt shows; over one without, nothing;
    // away from them, "Ready" again.
    QTest::mouseMove(f.toolBar()->widgetForAction(f.action(ID_FILE_PRINT)));
    EXPECT_EQ(f.pane(0)->text(), "Print the active document");
    QTest::mouseMove(f.toolBar()->widgetForAction(f.action(ID_OPEN)));
    EXPECT_EQ(f.pane(0)->text(), "");
    QTest::mouseMove(f.centralWidget());
    EXPECT_EQ(f.pane(0)->text(), "Ready");
}

TEST(Commands, EnterAndEscapeNeverReachThePanels) {
    WindowRig rig;
    rig.frame->show();
    QWidget* target = rig.frame->centralWidget();
    bool reached = false;
    struct Spy : QObject {
        bool* hit;
        explicit Spy(bool* h) : hit(h) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress)
                *hit = true;
            return false;
        }
    } spy(&reached);
    target->installEventFilter(&spy);
    QTest::keyClick(target, Qt::Key_Return);
    QTest::keyClick(target, Qt::Key_Escape);
    EXPECT_FALSE(reached);
    QTest::keyClick(target, Qt::Key_A);
    EXPECT_TRUE(reached);
}

} // namespace
