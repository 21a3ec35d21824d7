#include "app/cdtdoc.h"
#include "app/cmainframe.h"
#include "app/commandids.h"
#include "support/frames.h"
#include "support/recordingprompter.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
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
    EXPECT_EQ(rig.frame->action(ID_FILE_PRINT)->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(rig.frame->action(ID_FILE_PRINT)->statusTip(), "Print the active document");
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

TEST(Commands, SelectComStepsUpAndWithShiftDown) {
    Rig rig;
    QAction* select = rig.frame->action(ID_SELECT_COM);
    select->trigger();
    EXPECT_EQ(rig.frame->m_link.m_nComPort, 4);
    QTest::keyPress(rig.frame.get(), Qt::Key_Shift);
    select->trigger();
    select->trigger();
    QTest::keyRelease(rig.frame.get(), Qt::Key_Shift);
    EXPECT_EQ(rig.frame->m_link.m_nComPort, 2);
    select->trigger();
    EXPECT_EQ(rig.frame->m_link.m_nComPort, 3);
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
