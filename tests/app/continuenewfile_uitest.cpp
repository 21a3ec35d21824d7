#include "core/files/dovdatcodec.h"
#include "support/frames.h"
#include "support/windowrig.h"
#include "ui/window/commandids.h"
#include "ui/window/messageline.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

// Unattended recording in the window: Continue in a New File and the silent
// line.
namespace {

std::vector<float> dataFileValues(const QString& path) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const Result<DovDatContents> decoded =
        decodeDovDat(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())));
    return decoded ? decoded->values : std::vector<float>{};
}

TEST(ContinueInNewFile, AFullStoreIsSavedAndRecordingGoesOnWithoutABox) {
    WindowRig rig({.pty = true, .show = true});
    QAction* command = rig.frame->action(ID_CONTINUE_NEW_FILE);
    ASSERT_TRUE(command->isCheckable());
    EXPECT_FALSE(command->isChecked());
    ASSERT_TRUE(QDir(rig.dir.path()).mkdir(QStringLiteral("out")));
    rig.frame->OnContinueInNewFile(); // cancelled: stays off
    EXPECT_FALSE(command->isChecked());
    rig.prompter->m_folderPaths = {rig.path(QStringLiteral("out"))};
    rig.frame->OnContinueInNewFile();
    EXPECT_TRUE(command->isChecked());

    rig.rec().setCapacity(3);
    ASSERT_TRUE(rig.connect());
    QByteArray frames;
    for (int i = 1; i <= 8; ++i)
        frames += celsiusFrame(i * 10);
    ASSERT_TRUE(rig.pty->write(frames)); // frames keep coming while a file is written
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.rows() == 2; }, 2000));
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('\n').toStdString();
    EXPECT_EQ(rig.frame->line().state(), LineState::Online);
    // Oldest first.
    const QStringList files =
        QDir(rig.path(QStringLiteral("out"))).entryList(QDir::Files, QDir::Time | QDir::Reversed);
    ASSERT_EQ(files.filter(QStringLiteral(".DovDat")).size(), 2) << files.join(' ').toStdString();
    EXPECT_EQ(files.filter(QStringLiteral(" .txt")).size(), 2);
    std::vector<float> values;
    for (const QString& name : files.filter(QStringLiteral(".DovDat"))) {
        const std::vector<float> file = dataFileValues(rig.path("out/" + name));
        values.insert(values.end(), file.begin(), file.end());
    }
    EXPECT_EQ(values, (std::vector<float>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(rig.cell(1, 1), "8.0");
    EXPECT_TRUE(rig.frame->pane(0)->toolTip().contains(QStringLiteral("recording goes on")));
    EXPECT_TRUE(
        rig.frame->messageLine().text(MessageTopic::File).startsWith(QStringLiteral("Wrote ")));

    // Kept, with its folder: the next window starts with it on and asks nothing.
    WindowRig next({.configPath = rig.path(QStringLiteral("config/loggerconfig.ini"))});
    EXPECT_TRUE(next.frame->action(ID_CONTINUE_NEW_FILE)->isChecked());
    next.frame->OnContinueInNewFile();
    next.frame->OnContinueInNewFile();
    EXPECT_TRUE(next.frame->action(ID_CONTINUE_NEW_FILE)->isChecked());
    EXPECT_TRUE(next.prompter->m_folderStart.isEmpty());
}

TEST(ContinueInNewFile, ASilentLineIsSaidInTheStatusBarAndSoIsItsEnd) {
    qputenv("ORVANE_SILENCE_MS", "200");
    WindowRig rig({.pty = true, .show = true});
    qunsetenv("ORVANE_SILENCE_MS");
    ASSERT_TRUE(rig.connect());
    QLabel* pane = rig.frame->pane(0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return pane->text().startsWith(QStringLiteral("No readings from")); }, 2000));
    EXPECT_EQ(rig.frame->messageLine().level(MessageTopic::Silence), MessageLevel::Warning);
    ASSERT_TRUE(rig.send(celsiusFrame(250)));
    EXPECT_EQ(pane->text(), QStringLiteral("Readings from %1 again.").arg(rig.pty->slavePath()));
    EXPECT_TRUE(rig.frame->messageLine().text(MessageTopic::Silence).isEmpty());
    EXPECT_TRUE(rig.messages.isEmpty());
}

} // namespace
