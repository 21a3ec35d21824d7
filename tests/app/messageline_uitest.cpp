#include "ui/window/messageline.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// A message of each topic until it is replaced or cleared; the line is as high
// as its rows need and hidden with none.
TEST(MessageLine, KeepsOneWholeMessageATopicAndHidesWhenEmpty) {
    QWidget window;
    window.resize(600, 300);
    auto* line = new MessageLine(&window);
    line->place(QPoint(6, 10), 540);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(line->isVisible());

    line->showMessage(MessageTopic::Line, "Waiting for /dev/ttyUSB2.", MessageLevel::Warning);
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->geometry().topLeft(), QPoint(6, 10));
    const int oneRow = line->height();
    EXPECT_GT(oneRow, 20);

    // A second topic adds a row; a long text wraps and is shown whole.
    const QString longText = QString("The recording journal cannot be written: ") +
                             QString("No space left on device. ").repeated(6);
    line->showMessage(MessageTopic::Journal, longText, MessageLevel::Error);
    EXPECT_GT(line->height(), 2 * oneRow + 10);
    EXPECT_EQ(line->text(MessageTopic::Journal), longText);

    // The same topic again replaces its message.
    line->showMessage(MessageTopic::Line, "Connected to /dev/ttyUSB2 again.",
                      MessageLevel::Information);
    EXPECT_EQ(line->text(MessageTopic::Line), "Connected to /dev/ttyUSB2 again.");
    EXPECT_EQ(line->level(MessageTopic::Line), MessageLevel::Information);

    // Its close button takes one message away and says which.
    QSignalSpy dismissed(line, &MessageLine::dismissed);
    const QList<QToolButton*> buttons = line->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QTest::mouseClick(buttons.back(), Qt::LeftButton);
    ASSERT_EQ(dismissed.size(), 1);
    const auto closed = dismissed.front().front().value<MessageTopic>();
    EXPECT_TRUE(line->text(closed).isEmpty());
    EXPECT_FALSE(line->isEmpty());

    line->clearMessage(MessageTopic::Line);
    line->clearMessage(MessageTopic::Journal);
    line->clearMessage(MessageTopic::Alarm); // none shown: nothing happens
    EXPECT_TRUE(line->isEmpty());
    EXPECT_FALSE(line->isVisible());
}

} // namespace
