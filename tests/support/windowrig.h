#pragma once

#include "support/frames.h"
#include "support/ptypair.h"
#include "support/recordingprompter.h"
#include "ui/base/cdtdoc.h"
#include "ui/graph/cdtview.h"
#include "ui/panels/datalistpanel.h"
#include "ui/window/cmainframe.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>

class DocumentFiles;

// A main window for tests: a configuration file in a folder of its own (never
// the user's), a prompter that answers every question alike and keeps what was
// shown, and on request a pseudo-terminal on which the test plays the instrument.
struct WindowRig {
    struct Options {
        bool answerYes = false; // the answer to every question
        bool pty = false;       // every port number opens a fresh pseudo-terminal
        QString device{};       // or this device path
        QString configPath{};   // empty: config/loggerconfig.ini in the rig's folder
        bool show = false;      // shown and exposed before the test starts
    };

    WindowRig();
    explicit WindowRig(const Options& options);
    WindowRig(const WindowRig&) = delete;
    WindowRig& operator=(const WindowRig&) = delete;

    QTemporaryDir dir;
    QStringList messages; // every message and question, in order
    RecordingPrompter* prompter = nullptr;
    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<CMainFrame> frame;

    const Acquisition& acq() const { return frame->doc().acq(); }
    Recorder& rec() { return frame->doc().recorder(); }
    DataListModel& list() const { return *frame->view().dataList()->model(); }
    int rows() const { return list().rowCount(); }
    QString cell(int row, int col) const { return list().rowAt(row)[std::size_t(col)]; }
    DocumentFiles& docFiles() { return frame->files(); }

    // A file in the rig's folder, and the files there (or in a folder below it).
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    QStringList filesIn(const QString& sub = QString()) const {
        return QDir(dir.path() + sub).entryList(QDir::Files | QDir::Hidden);
    }

    // Shows the window; whether it was exposed.
    [[nodiscard]] bool show() {
        frame->show();
        return QTest::qWaitForWindowExposed(frame.get());
    }
    // Shows the window and paints it and every panel once.
    void showAndPaint() {
        ASSERT_TRUE(show());
        (void)frame->grab();
    }
    // On/Off; whether it brought the line online (if not, what was shown).
    [[nodiscard]] ::testing::AssertionResult connect();

    // Feeds bytes as the line hands them over.
    void feed(const QByteArray& bytes) {
        rec().receive(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                static_cast<std::size_t>(bytes.size())));
    }
    // Feeds readings, a frame each.
    void record(std::initializer_list<int> tenths) {
        for (int c : tenths)
            feed(celsiusFrame(c));
    }
    // Writes to the pseudo-terminal and waits until the logger has decoded it:
    // a row was listed or the reading changed. (The indicator alone is no
    // proof: the panel's clock also switches it off.)
    bool send(const QByteArray& bytes);

    // Every listed row matches the recorded sample it stands for.
    void expectListMatchesStore() const;
};

// The process's CPU time so far (user and system), in seconds.
double cpuSeconds();
