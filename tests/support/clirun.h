#pragma once

#include "core/files/dovdatcodec.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <span>
#include <vector>

#include <fcntl.h>
#include <signal.h>

// orvane-cli as a user runs it: the built program in a process of its own,
// recording from a pseudo-terminal the test writes instrument frames into.

inline constexpr int kCliWaitMs = 10000;

// The program under test inherits none of the test's descriptors: a pseudo-
// terminal's master side held by it would keep the line from hanging up.
inline void closeOnExec() {
    const QStringList fds =
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    for (const QString& name : fds) {
        const int fd = name.toInt();
        if (fd > 2)
            ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
    }
}

// One run of the program. Its default recording journal lies in a state
// folder of its own, so runs never share one unless a test names it.
class CliRun {
public:
    struct Options {
        QString workingDir = QDir::tempPath();
        QString tempDir;                            // TMPDIR; empty: the test's own
        std::function<void()> childModifier;        // runs in the child before exec
        QString locale = QStringLiteral("C.UTF-8"); // LC_ALL: the texts of the sources
    };

    explicit CliRun(const QStringList& args, Options options) {
        m_process.setWorkingDirectory(options.workingDir);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), m_state.path());
        // One language, whatever that of the computer.
        env.remove(QStringLiteral("LANGUAGE"));
        env.insert(QStringLiteral("LC_ALL"), options.locale);
        if (!options.tempDir.isEmpty())
            env.insert(QStringLiteral("TMPDIR"), options.tempDir);
        m_process.setProcessEnvironment(env);
        if (options.childModifier)
            m_process.setChildProcessModifier(options.childModifier);
        closeOnExec();
        m_process.start(QStringLiteral(ORVANE_CLI_PATH), args);
    }
    explicit CliRun(const QStringList& args, const QString& workingDir = QDir::tempPath(),
                    const QString& tempDir = QString())
        : CliRun(args, Options{workingDir, tempDir, {}}) {}
    ~CliRun() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(kCliWaitMs);
        }
    }
    CliRun(const CliRun&) = delete;
    CliRun& operator=(const CliRun&) = delete;

    // Waits until the standard error says the line is open, or `text`.
    bool waitRecording() { return waitErr(QStringLiteral("Recording from")); }
    // Waits until the standard error says `text` `times` times.
    bool waitErr(const QString& text, int times = 1) { return waitFor(m_err, text, times); }
    // Waits until `n` sample lines are on the standard output; false when they
    // do not come.
    bool waitSamples(int n) {
        return QTest::qWaitFor(
            [&] {
                m_out += m_process.readAllStandardOutput();
                return m_out.count('\n') >= n;
            },
            kCliWaitMs);
    }
    int finish() {
        // It may have ended while the test waited for its output.
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(kCliWaitMs))
            return -1;
        m_out += m_process.readAllStandardOutput();
        m_err += m_process.readAllStandardError();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -2;
    }
    void signal(int sig) { ::kill(static_cast<pid_t>(m_process.processId()), sig); }
    qint64 processId() const { return m_process.processId(); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // Every whole line on the standard output so far.
    QStringList outLines() const {
        QByteArray whole = m_out.left(m_out.lastIndexOf('\n') + 1);
        return QString::fromUtf8(whole).split('\n', Qt::SkipEmptyParts);
    }
    QString out() const { return QString::fromUtf8(m_out); }
    QString err() const { return QString::fromUtf8(m_err); }

private:
    bool waitFor(QByteArray& seen, const QString& text, int times = 1) {
        return QTest::qWaitFor(
            [&] {
                seen += m_process.readAllStandardError();
                return seen.count(text.toUtf8()) >= times;
            },
            kCliWaitMs);
    }

    QTemporaryDir m_state;
    QProcess m_process;
    QByteArray m_out;
    QByteArray m_err;
};

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline Result<DovDatContents> decodeDataFile(const QString& path) {
    const QByteArray bytes = readAll(path);
    return decodeDovDat(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size())));
}

inline std::vector<float> dataFileValues(const QString& path) {
    const Result<DovDatContents> decoded = decodeDataFile(path);
    return decoded ? decoded->values : std::vector<float>{};
}
