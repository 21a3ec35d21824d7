#include "cli/alarmcommand.h"

#include "cli/clitext.h"
#include "cli/exitstatus.h"
#include "core/files/csvexport.h"
#include "core/text/valuetext.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <csignal>
#include <cstdio>

#include <unistd.h>

AlarmCommand::AlarmCommand(QString command, QString device, QObject* parent)
    : QObject(parent), m_strCommand(std::move(command)), m_strDevice(std::move(device)) {}

AlarmCommand::~AlarmCommand() {
    // ORVANE_ALARM_END_MS shortens the wait for tests.
    bool ok = false;
    const int wait = qEnvironmentVariableIntValue("ORVANE_ALARM_END_MS", &ok);
    const QDeadlineTimer deadline(ok && wait > 0 ? wait : kEndWaitMs);
    while (m_running) {
        QProcess* process = m_running;
        // Read as it comes: a command that prints much is not stalled on a full pipe.
        while (process->state() != QProcess::NotRunning && !deadline.hasExpired()) {
            process->waitForReadyRead(
                static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 1, 100)));
            keepOutput();
        }
        if (process->state() != QProcess::NotRunning) {
            m_bStartWaiting = false; // the time is over
            if (!endGroup()) {
                printError(Cli::tr("the alarm command (process %1) was still running at the end "
                                   "and could not be stopped")
                               .arg(process->processId())
                               .toStdString());
                process->disconnect(this);
                m_running = nullptr;
                break;
            }
            printError(Cli::tr("the alarm command was still running at the end and was stopped")
                           .toStdString());
        }
        onFinished(); // the change waiting runs while there is time left
    }
    if (m_waiting)
        printError(Cli::tr("the change to %1 at %2 was not passed to the alarm command: the run "
                           "ended first")
                       .arg(QLatin1String(alarmName(m_waiting->level)),
                            QString::fromStdString(isoLocalTime(m_waiting->time)))
                       .toStdString());
}

void AlarmCommand::run(const AlarmChange& change) {
    if (m_running)
        m_waiting = change;
    else
        start(change);
}

void AlarmCommand::start(const AlarmChange& change) {
    auto* process = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_ALARM"), QString::fromLatin1(alarmName(change.level)));
    env.insert(QStringLiteral("ORVANE_VALUE"), QString::fromStdString(valueText(change.value)));
    env.insert(QStringLiteral("ORVANE_UNIT"), QString::fromStdString(change.unit));
    env.insert(QStringLiteral("ORVANE_LIMIT"), QString::number(change.limit));
    env.insert(QStringLiteral("ORVANE_TIME"), QString::fromStdString(isoLocalTime(change.time)));
    env.insert(QStringLiteral("ORVANE_DEVICE"), m_strDevice);
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    // A group of its own: whatever the command starts is ended with it.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(process, &QProcess::readyReadStandardOutput, this, &AlarmCommand::keepOutput);
    connect(process, &QProcess::finished, this, &AlarmCommand::onFinished);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onFinished();
    });
    m_running = process;
    m_tail.clear();
    m_bCut = false;
    process->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), m_strCommand});
}

void AlarmCommand::keepOutput() {
    if (!m_running)
        return;
    m_tail += m_running->readAll();
    if (m_tail.size() > kTailBytes) {
        m_tail.remove(0, m_tail.size() - kTailBytes);
        m_bCut = true;
    }
}

bool AlarmCommand::endGroup() {
    const auto pid = static_cast<pid_t>(m_running->processId());
    m_bEnding = true;
    if (pid <= 0)
        return m_running->waitForFinished(1000);
    for (const int sig : {SIGTERM, SIGKILL}) {
        ::kill(-pid, sig);
        if (m_running->waitForFinished(1000)) {
            // What outlived the shell in its group goes too.
            if (::kill(-pid, 0) == 0)
                ::kill(-pid, SIGKILL);
            return true;
        }
    }
    return false;
}

void AlarmCommand::onFinished() {
    QProcess* process = m_running;
    if (!process || process->state() != QProcess::NotRunning)
        return;
    m_running = nullptr;
    process->disconnect(this);
    m_tail += process->readAll();
    if (m_tail.size() > kTailBytes) {
        m_tail.remove(0, m_tail.size() - kTailBytes);
        m_bCut = true;
    }
    bool failed = true;
    if (m_bEnding) {
        // Its end is told by the end of the run; its output follows.
    } else if (process->error() == QProcess::FailedToStart) {
        printError(Cli::tr("the alarm command could not be started: %1")
                       .arg(process->errorString())
                       .toStdString());
    } else if (process->exitStatus() == QProcess::CrashExit) {
        printError(Cli::tr("the alarm command was ended by a signal").toStdString());
    } else if (process->exitCode() != 0) {
        printError(Cli::tr("the alarm command exited with status %1")
                       .arg(process->exitCode())
                       .toStdString());
    } else {
        failed = false;
    }
    m_bEnding = false;
    if (failed && !m_tail.isEmpty()) {
        if (m_bCut)
            std::fprintf(
                stderr, "%s\n",
                qPrintable(Cli::tr("[the last %1 bytes of its output]").arg(m_tail.size())));
        std::fwrite(m_tail.constData(), 1, static_cast<std::size_t>(m_tail.size()), stderr);
        if (!m_tail.endsWith('\n'))
            std::fputc('\n', stderr);
    }
    m_tail.clear();
    process->deleteLater();
    if (m_waiting && m_bStartWaiting) {
        const AlarmChange next = *m_waiting;
        m_waiting.reset();
        start(next);
    }
}
