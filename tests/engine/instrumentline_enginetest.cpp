#include "engine/instrumentline.h"
#include "engine/recorder.h"
#include "support/frames.h"
#include "support/ptypair.h"

#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

// Frames arrive in small pieces; one arrives while a reading is being handled
// (a message box runs the event loop meanwhile) and nothing follows it: it is
// listed all the same.
TEST(InstrumentLine, TakesWhatArrivesWhileAReadingIsHandled) {
    PtyPair pty;
    Recorder recorder;
    InstrumentLine line(recorder);
    line.bindDevice(pty.slavePath());
    const auto opened = line.open();
    ASSERT_TRUE(opened) << opened.error().message.toStdString();
    QStringList rows;
    QObject::connect(&recorder, &Recorder::rowAppended, &recorder, [&](const ListRow& row) {
        rows << QString::fromStdString(row.value);
        if (rows.size() == 1) {
            EXPECT_TRUE(pty.write(celsiusFrame(222)));
            QEventLoop box;
            QTimer::singleShot(300, &box, &QEventLoop::quit);
            box.exec();
        }
    });
    const QByteArray first = celsiusFrame(111);
    for (int at = 0; at < first.size(); at += 4) {
        ASSERT_TRUE(pty.write(first.mid(at, 4)));
        QTest::qWait(20);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows.size() == 2; }, 2000)) << rows.size();
    EXPECT_EQ(rows, QStringList({"11.1", "22.2"}));
}

// Another program that reads the same device takes bytes the port was told
// of: that is said once, and the line stays open and records what it gets.
TEST(InstrumentLine, AnotherReaderOfTheDeviceIsToldOnceAndTheLineStaysOpen) {
    PtyPair pty;
    // The other reader is woken first by the same bytes and takes them all.
    const int other =
        ::open(QFile::encodeName(pty.slavePath()).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    int taken = 0;
    bool stealing = true;
    QSocketNotifier otherReader(other, QSocketNotifier::Read);
    QObject::connect(&otherReader, &QSocketNotifier::activated, [&] {
        char buf[64];
        while (stealing && ::read(other, buf, sizeof buf) > 0)
            ++taken;
    });
    Recorder recorder;
    InstrumentLine line(recorder);
    line.bindDevice(pty.slavePath());
    ASSERT_TRUE(line.open());
    QStringList shared, lost;
    QObject::connect(&line, &InstrumentLine::shared, [&](const QString& r) { shared << r; });
    QObject::connect(&line, &InstrumentLine::lost, [&](const QString& r) { lost << r; });
    int rows = 0;
    QObject::connect(&recorder, &Recorder::rowAppended, [&] { ++rows; });
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(pty.write(celsiusFrame(100 + i)));
        QTest::qWait(40);
    }
    otherReader.setEnabled(false);
    stealing = false;
    ASSERT_TRUE(pty.write(celsiusFrame(250)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows > 0; }, 2000));
    ::close(other);
    EXPECT_GT(taken, 0);
    EXPECT_TRUE(lost.isEmpty()) << lost.join('\n').toStdString();
    ASSERT_EQ(shared.size(), 1);
    EXPECT_TRUE(shared[0].contains(pty.slavePath() + " too")) << shared[0].toStdString();
}

// Opening the line again starts afresh: neither what the device sent while it
// was closed nor the start of a frame kept from before is read as a reading.
TEST(InstrumentLine, OpeningAgainForgetsWhatCameBefore) {
    PtyPair pty;
    Recorder recorder;
    InstrumentLine line(recorder);
    line.bindDevice(pty.slavePath());
    QStringList rows;
    QObject::connect(&recorder, &Recorder::rowAppended, &recorder,
                     [&](const ListRow& row) { rows << QString::fromStdString(row.value); });
    ASSERT_TRUE(line.open());
    // A frame and all but the last byte of the next: the rest would complete it.
    ASSERT_TRUE(pty.write(celsiusFrame(111) + celsiusFrame(333).left(13)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows.size() == 1; }, 2000));
    line.close();
    ASSERT_TRUE(pty.write(celsiusFrame(444))); // into the device while closed
    QTest::qWait(50);
    ASSERT_TRUE(line.open());
    QTest::qWait(50);
    ASSERT_TRUE(pty.write(celsiusFrame(222)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows.size() >= 2; }, 2000));
    QTest::qWait(100);
    EXPECT_EQ(rows, QStringList({"11.1", "22.2"}));
}
