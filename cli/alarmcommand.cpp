#include "cli/alarmcommand.h"

#include "cli/exitstatus.h"
#include "core/files/csvexport.h"
#include "core/files/valuetext.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>

AlarmCommand::AlarmCommand(QString command, QString device, QObject* parent)
    : QObject(parent), m_strCommand(std::move(command)), m_strDevice(std::move(device)) {}

AlarmCommand::~AlarmCommand() {
    const QDeadlineTimer deadline(kEndWaitMs);
    while (!m_running.empty()) {
        QProcess* process = m_running.front();
        if (!process->waitForFinished(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
            printError("the alarm command was still running at the end and was stopped");
            process->kill();
            process->waitForFinished(1000);
        }
        onFinished(process);
    }
}

void AlarmCommand::run(const AlarmChange& change) {
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
    connect(process, &QProcess::finished, this, [this, process] { onFinished(process); });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onFinished(process);
    });
    m_running.push_back(process);
    process->start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), m_strCommand});
}

void AlarmCommand::onFinished(QProcess* process) {
    const auto it = std::find(m_running.begin(), m_running.end(), process);
    if (it == m_running.end())
        return;
    m_running.erase(it);
    QByteArray output = process->readAll();
    if (process->error() == QProcess::FailedToStart)
        printError("the alarm command could not be started: " +
                   process->errorString().toStdString());
    else if (process->exitStatus() == QProcess::CrashExit)
        printError("the alarm command was ended by a signal");
    else if (process->exitCode() != 0)
        printError("the alarm command exited with status " + std::to_string(process->exitCode()));
    else
        output.clear();
    if (!output.isEmpty())
        std::fwrite(output.constData(), 1, static_cast<std::size_t>(output.size()), stderr);
    process->deleteLater();
}
