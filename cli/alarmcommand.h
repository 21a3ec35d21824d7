#pragma once

#include "core/store/alarmstate.h"

#include <QObject>
#include <QString>

#include <list>

class QProcess;

// The command `--on-alarm` names, run through /bin/sh on every change of the
// alarm state with the change in its environment (ORVANE_ALARM, ORVANE_VALUE,
// ORVANE_UNIT, ORVANE_LIMIT, ORVANE_TIME, ORVANE_DEVICE). Nothing waits for
// it while recording; what it prints and its exit status are told on the
// standard error only when it fails.
class AlarmCommand : public QObject {
    Q_OBJECT
public:
    AlarmCommand(QString command, QString device, QObject* parent = nullptr);
    // Gives the commands still running a moment to end, then stops them.
    ~AlarmCommand() override;

    void run(const AlarmChange& change);

    // How long the end of the run waits for commands still running.
    static constexpr int kEndWaitMs = 5000;

private:
    void onFinished(QProcess* process);

    QString m_strCommand;
    QString m_strDevice;
    std::list<QProcess*> m_running;
};
