#include "ui/base/cdtdoc.h"
#include "ui/window/cmainframe.h"
#include "ui/window/commandids.h"
#include "ui/graph/cdtview.h"
#include "support/frames.h"
#include "support/recordingprompter.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

struct Rig {
    QTemporaryDir dir;
    QStringList messages;
    std::unique_ptr<CMainFrame> frame;

    Rig() {
        CMainFrame::Startup startup;
        startup.configPath = (dir.path() + "/loggerconfig.ini").toStdString();
        frame = std::make_unique<CMainFrame>(startup);
        frame->setPrompter(std::make_unique<RecordingPrompter>(&messages));
    }
};

// The menu as the user sees it: item texts, "-" for a separator.
QStringList menuItems(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return items;
}

TEST(Commands, MenusListTheirItemsInOrder) {
    Rig rig;
    const QList<QAction*> popups = rig.frame->menuBar()->actions();
    ASSERT_EQ(popups.size(), 3);
    EXPECT_EQ(popups[0]->text(), "&File(F)");
    EXPECT_EQ(popups[1]->text(), "&Tools(T)");
    EXPECT_EQ(popups[2]->text(), "&Help(H)");
    EXPECT_EQ(menuItems(popups[0]->menu()),
              (QStringList{"&Save", "-", "&Open", "-", "&Print ", "-", "&Exit"}));
    EXPECT_EQ(menuItems(popups[1]->menu()),
              (QStringList{"&Select COM", "-", "&On/Off", "-", "&UndoZoom", "-", "&Clear Screen",
                           "-", "&Clear All"}));
    EXPECT_EQ(menuItems(popups[2]->menu()), (QStringList{"&About Orvane...", "-", "&Contents"}));
    EXPECT_EQ(rig.frame->action(ID_FILE_PRINT)->statusTip(), "Print the active document");
}

TEST(Commands, PrintShowsNoShortcutTextYetCtrlPPrints) {
    Rig rig;
    // The menu draws a shortcut beside every item that has one.
    EXPECT_TRUE(rig.frame->action(ID_FILE_PRINT)->shortcut().isEmpty());
    rig.frame->m_Comm.unread(celsiusFrame(123));
    rig.frame->OnComm();
    rig.frame->show();
    rig.frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.frame.get()));
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
    Rig rig;
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
    Rig rig;
    QAction* save = rig.frame->action(ID_SAVE);
    QAction* print = rig.frame->action(ID_FILE_PRINT);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(print->isEnabled());
    EXPECT_FALSE(rig.frame->action(ID_UNDO_ZOOM)->isEnabled());
    EXPECT_TRUE(rig.frame->action(ID_OPEN)->isEnabled());

    rig.frame->m_Comm.unread(celsiusFrame(123));
    rig.frame->OnComm();
    EXPECT_TRUE(save->isEnabled()); // without opening a menu: the toolbar is never stale
    EXPECT_TRUE(print->isEnabled());

    rig.frame->action(ID_CLEAR_ALL)->trigger();
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(print->isEnabled());
}

TEST(Commands, ACommitByTheIntervalTimerEnablesSaveAndPrintAtOnce) {
    Rig rig;
    Recorder& rec = rig.frame->m_pDoc->m_recorder;
    rec.selectSampleRate(1);
    rec.overrideIntervalMs(50);
    rig.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.frame.get()));
    rig.frame->m_Comm.unread(celsiusFrame(123));
    rig.frame->OnComm();
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
    Rig rig;
    rig.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.frame.get()));
    QAction* select = rig.frame->action(ID_SELECT_COM);
    QWidget* button = rig.frame->toolBar()->widgetForAction(select);
    select->trigger();
    EXPECT_EQ(rig.frame->m_link.m_nComPort, 4);
    QTest::keyPress(rig.frame.get(), Qt::Key_Shift, Qt::ShiftModifier);
    QTest::mouseClick(button, Qt::LeftButton, Qt::ShiftModifier);
    QTest::mouseClick(button, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(rig.frame->m_link.m_nComPort, 2);
    // Shift is let go in another program's window: this one never hears of
    // it, and the next click comes without it.
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(rig.frame->m_link.m_nComPort, 3);
}

TEST(Commands, StatusBarPanesAndPrompts) {
    Rig rig;
    rig.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.frame.get()));
    CMainFrame& f = *rig.frame;
    // From the left, each next to the one before.
    EXPECT_LT(f.m_pane0->x(), 10);
    EXPECT_LT(f.m_pane1->x() - f.m_pane0->geometry().right(), 10);
    EXPECT_LT(f.m_pane2->x() - f.m_pane1->geometry().right(), 10);
    EXPECT_LT(f.m_pane3->x() - f.m_pane2->geometry().right(), 10);
    for (QLabel* pane : {f.m_pane0, f.m_pane1, f.m_pane2})
        EXPECT_EQ(pane->width(), 150);
    EXPECT_EQ(f.m_pane0->text(), "Ready");
    EXPECT_EQ(f.m_pane3->text(), ""); // Scroll Lock is off

    // Over a button with a prompt the prompt shows; over one without, nothing;
    // away from them, "Ready" again.
    QTest::mouseMove(f.toolBar()->widgetForAction(f.action(ID_FILE_PRINT)));
    EXPECT_EQ(f.m_pane0->text(), "Print the active document");
    QTest::mouseMove(f.toolBar()->widgetForAction(f.action(ID_OPEN)));
    EXPECT_EQ(f.m_pane0->text(), "");
    QTest::mouseMove(f.centralWidget());
    EXPECT_EQ(f.m_pane0->text(), "Ready");
}

TEST(Commands, EnterAndEscapeNeverReachThePanels) {
    Rig rig;
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
