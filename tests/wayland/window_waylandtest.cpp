#include "ui/graph/cdtview.h"
#include "ui/window/cmainframe.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

// Run by support/onwayland.sh on a headless weston of its own.
namespace {

// The window runs on the Wayland platform itself, not through an X server,
// and draws its graph; the Scroll Lock pane says nothing, since Wayland does
// not tell a program the keyboard's lock state.
TEST(Wayland, TheWindowRunsNativelyAndTheScrollLockPaneStaysQuiet) {
    ASSERT_EQ(QGuiApplication::platformName().toStdString(), "wayland");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CMainFrame::Startup startup;
    startup.configPath = dir.filePath(QStringLiteral("loggerconfig.ini")).toStdString();
    CMainFrame frame(startup);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const QImage picture = frame.grab().toImage();
    const QPoint plot = frame.view().mapTo(&frame, frame.view().plotRect().center());
    EXPECT_EQ(picture.pixelColor(plot * picture.devicePixelRatio()), QColor(Qt::black));

    QLabel* scrollLock = nullptr;
    for (QLabel* label : frame.findChildren<QLabel*>())
        if (label->accessibleDescription() == QLatin1String("Scroll Lock"))
            scrollLock = label;
    ASSERT_NE(scrollLock, nullptr);
    QTest::keyClick(&frame, Qt::Key_ScrollLock);
    EXPECT_TRUE(scrollLock->text().isEmpty()) << scrollLock->text().toStdString();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
