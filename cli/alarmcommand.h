#pragma once

#include "core/store/alarmstate.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class QProcess;

// The command `--on-alarm` names, run through /bin/sh on every change of the
// alarm state with the change in its environment (ORVANE_ALARM, ORVANE_VALUE,
// ORVANE_UNIT, ORVANE_LIMIT, ORVANE_TIME, ORVANE_DEVICE). Nothing waits for
// it while recording; what it prints and its exit status are told on the
// standard error only when it fails.
//
// One command runs at a time: a change that comes while one runs waits for
// it, and a later change replaces the one waiting (the command is always told
// the latest state). Each command is a process group of its own, so that
// what it starts ends with it; of its output only the last kTailBytes are
// kept.
class AlarmCommand : public QObject {
    Q_OBJECT
public:
    AlarmCommand(QString command, QString device, QObject* parent = nullptr);
    // Gives the command still running, and then the change waiting, a moment
    // to end, then ends the command's process group.
    ~AlarmCommand() override;

    void run(const AlarmChange& change);

    // How long the end of the run waits for the commands (ORVANE_ALARM_END_MS
    // in the environment: that many milliseconds).
    static constexpr int kEndWaitMs = 5000;
    // How much of a command's output is kept, from its end.
    static constexpr qsizetype kTailBytes = 4096;

private:
    void start(const AlarmChange& change);
    void keepOutput();
    void onFinished();
    // Ends the running command's process group; false when it would not end.
    bool endGroup();

    QString m_strCommand;
    QString m_strDevice;
    QProcess* m_running = nullptr;
    std::optional<AlarmChange> m_waiting;
    QByteArray m_tail;
    bool m_bCut = false;         // the output was longer than its tail
    bool m_bStartWaiting = true; // false once the end's wait is over
    bool m_bEnding = false;      // the running command is being ended
};
