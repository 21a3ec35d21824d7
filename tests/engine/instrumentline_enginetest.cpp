#include "engine/instrumentline.h"
#include "engine/recorder.h"
#include "support/frames.h"
#include "support/ptypair.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

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
