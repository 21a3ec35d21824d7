#include "cli/recordsession.h"

#include "cli/clitext.h"
#include "cli/exitstatus.h"
#include "cli/recordingfiles.h"
#include "core/files/csvexport.h"
#include "core/files/outputtarget.h"
#include "core/files/savefilenames.h"
#include "core/journal/journalslots.h"
#include "core/journal/recordingjournal.h"
#include "core/text/valuetext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <span>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Without a data file the store is emptied before it can fill, between reads,
// so the run goes on past its limit; half of it leaves room for any read.
constexpr int kCsvOnlyResetAt = MAX_DATA / 2;

std::string systemError() {
    return std::strerror(errno);
}

// How often a write the disk refused is tried again (ORVANE_RETRY_MS in the
// environment: that many milliseconds).
int retryIntervalMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ORVANE_RETRY_MS", &ok);
    return ok && ms > 0 ? ms : 10000;
}

std::string clockTime(const std::string& iso) {
    // "2026-12-07T14:03:51+01:00" -> "14:03:51"
    return iso.size() >= 19 ? iso.substr(11, 8) : iso;
}

} // namespace

RecordSession::RecordSession(RecordRequest request, QObject* parent)
    : QObject(parent), m_request(std::move(request)),
      m_chain(QFile::encodeName(m_request.dataFile).toStdString(), ".") {
    m_bTerminal = ::isatty(STDOUT_FILENO) == 1;
    struct stat out {};
    m_bFlushEachLine = m_bTerminal || ::fstat(STDOUT_FILENO, &out) != 0 ||
                       !(S_ISREG(out.st_mode) || S_ISCHR(out.st_mode) || S_ISBLK(out.st_mode));
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(1000);
    connect(&m_flushTimer, &QTimer::timeout, this, &RecordSession::flushOutput);
    m_durationTimer.setSingleShot(true);
    m_retryTimer.setInterval(retryIntervalMs());
    connect(&m_retryTimer, &QTimer::timeout, this, &RecordSession::retryWrites);
    connect(&m_durationTimer, &QTimer::timeout, this, &RecordSession::armDuration);
    connect(&m_line, &InstrumentLine::aboutToReceive, this, &RecordSession::beforeReceive);
    connect(&m_line, &InstrumentLine::lost, this, &RecordSession::onLineLost);
    connect(&m_line, &InstrumentLine::reconnected, this,
            [this] { tell(Cli::tr("Connected to %1 again.").arg(deviceName()).toStdString()); });
    connect(&m_line, &InstrumentLine::reconnectFailed, this,
            [](const QString& reason) { printError(reason.toStdString()); });
    connect(&m_line, &InstrumentLine::shared, this, [this](const QString& reason) {
        endStatusLine();
        printError(reason.toStdString());
    });
    connect(&m_recorder, &Recorder::rowAppended, this, &RecordSession::onRow);
    connect(&m_recorder, &Recorder::alarmChanged, this, &RecordSession::onAlarm);
    connect(&m_recorder, &Recorder::storeFull, this, &RecordSession::onStoreFull);
    connect(&m_line, &InstrumentLine::silenceBegan, this, &RecordSession::onSilence);
    connect(&m_line, &InstrumentLine::readingsBack, this, [this] {
        endStatusLine();
        tell(Cli::tr("Readings from %1 again.").arg(deviceName()).toStdString());
    });
}

RecordSession::~RecordSession() {
    if (m_csvFd >= 0)
        ::close(m_csvFd);
}

bool RecordSession::start() {
    // What the outputs are is found now, not after the run; nothing is
    // created or emptied before the line is open.
    if (m_request.writeDataFile) {
        QString folder = QStringLiteral(".");
        if (!m_request.dataFile.isEmpty()) {
            const OutputTarget data =
                resolveOutput(QFile::encodeName(m_request.dataFile).toStdString());
            if (data.refused()) {
                printError(cannotWrite(m_request.dataFile.toStdString(), data.reason));
                return false;
            }
            if (data.stream() && m_request.split) {
                // The files of a chain are named after it.
                printError(Cli::tr("--split needs a file for --out, not a pipe or a device: %1")
                               .arg(m_request.dataFile)
                               .toStdString());
                return false;
            }
            folder =
                data.stream() ? QString() : QFileInfo(QFile::decodeName(data.path.c_str())).path();
        }
        if (!folder.isEmpty() &&
            ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0) {
            printError(cannotWrite(m_request.dataFile.isEmpty()
                                       ? Cli::tr("into the current folder").toStdString()
                                       : m_request.dataFile.toStdString(),
                                   systemError()));
            return false;
        }
    }
    if (!m_request.csvFile.isEmpty()) {
        m_csvTarget = resolveOutput(QFile::encodeName(m_request.csvFile).toStdString());
        if (m_csvTarget.refused()) {
            printError(cannotWrite(m_request.csvFile.toStdString(), m_csvTarget.reason));
            return false;
        }
    }

    m_line.bindDevice(m_request.device);
    m_recorder.setStartupSampleRate(m_request.sampleRate);
    m_recorder.setContinueIntoNextFile(m_request.split);
    m_recorder.setAlarmLimits(m_request.alarmHigh, m_request.alarmLow);
    m_recorder.setAlarmDeadband(m_request.alarmDeadband);
    if (!m_request.onAlarm.isEmpty())
        m_alarmCommand = std::make_unique<AlarmCommand>(m_request.onAlarm, deviceName());
    m_recorder.prepareOnOff();
    if (const auto opened = m_line.open(); !opened) {
        printError(opened.error().message.toStdString());
        if (opened.error().failure == PortFailure::Busy) {
            const auto holders = portHolders(QFile::encodeName(m_request.device).toStdString());
            if (!holders.empty())
                printError(Cli::tr("it is in use by %1")
                               .arg(QString::fromStdString(portHoldersText(holders)))
                               .toStdString());
        }
        return false;
    }
    if (!m_request.csvFile.isEmpty() && !openCsv()) {
        m_line.close();
        return false;
    }
    openJournal();
    m_bRunning = true;
    m_elapsed.start();
    armDuration();
    tell(Cli::tr("Recording from %1; Ctrl+C stops.").arg(deviceName()).toStdString());
    if (m_request.writeDataFile && !m_request.dataFile.isEmpty())
        tellDataName(QFile::encodeName(m_request.dataFile).toStdString(),
                     freeDataName(m_chain.next(static_cast<std::int64_t>(std::time(nullptr)))));
    return true;
}

void RecordSession::onSilence() {
    if (!m_bRunning)
        return;
    endStatusLine();
    QString text = m_line.silenceText(deviceName());
    text[0] = text[0].toLower();
    printWarning(text.toStdString());
    if (m_bTerminal && !m_request.quiet) {
        // Until readings come back the status line says what it waits for.
        m_bStatusLine = true;
        std::printf("\r\033[K%s",
                    qPrintable(Cli::tr("waiting for readings from %1").arg(deviceName())));
        std::fflush(stdout);
    }
}

void RecordSession::armDuration() {
    if (m_request.durationSeconds <= 0 || !m_bRunning)
        return;
    const std::int64_t left = m_request.durationSeconds * 1000 - m_elapsed.elapsed();
    if (left <= 0) {
        stop();
        return;
    }
    // A timer's period is an int: long runs wake up once an hour to look again.
    m_durationTimer.start(static_cast<int>(std::min<std::int64_t>(left, 3600 * 1000)));
}

void RecordSession::beforeReceive() {
    if (!m_request.writeDataFile && m_recorder.store().recCount() >= kCsvOnlyResetAt &&
        !m_recorder.acquisition().readingPending())
        m_recorder.resetStore();
}

void RecordSession::onRow(const ListRow& row) {
    // Rows of the read that reached the count come after the stop.
    m_bRowReported = m_bRunning;
    if (!m_bRunning)
        return;
    ++m_nRecorded;
    const SampleStore& store = m_recorder.store();
    const auto at = static_cast<std::size_t>(row.index);
    const std::int64_t time = store.recTime()[at];
    const bool log = row.log != LogMark::None;
    if (m_csvFd >= 0 && !appendCsv(csvLine({m_nRecorded, time, row.time, store.recData()[at],
                                            row.unit, log, store.recMillisecond()[at]},
                                           {CsvSeparator::Comma, m_request.csvTime}))) {
        printError(cannotWrite(m_request.csvFile.toStdString(), systemError()));
        m_bCsvFailed = true;
        stop(true);
        return;
    }
    if (!m_bOutputGone && !m_request.quiet) {
        const std::string& iso = m_isoSecond.of(time);
        if (m_bTerminal) {
            showStatus(row, iso);
        } else {
            std::string line = std::to_string(m_nRecorded);
            line += ' ';
            line += row.value;
            line += ' ';
            line += row.unit;
            line += ' ';
            line += iso;
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), stdout);
        }
        if (m_bFlushEachLine)
            flushOutput();
        else if (!m_flushTimer.isActive())
            m_flushTimer.start();
    }
    if (m_request.count > 0 && m_nRecorded >= m_request.count)
        stop();
}

void RecordSession::flushOutput() {
    m_flushTimer.stop();
    if (m_bOutputGone || std::fflush(stdout) == 0)
        return;
    m_bOutputGone = true;
    tell(Cli::tr("The standard output was closed (%1); the recording goes on without "
                 "printing its samples.")
             .arg(QString::fromStdString(systemError()))
             .toStdString());
}

void RecordSession::onAlarm(const AlarmChange& change) {
    // Told for every sample reported, the last one of a count included.
    if (!m_bRowReported)
        return;
    endStatusLine();
    // On the standard error with the other news of the run: the standard
    // output stays one line per sample for the programs that read it.
    std::fprintf(stderr, "alarm: %s %s %s limit %d %s\n", alarmName(change.level),
                 valueText(change.value).c_str(), change.unit.c_str(), change.limit,
                 isoLocalTime(change.time).c_str());
    if (m_alarmCommand)
        m_alarmCommand->run(change);
}

void RecordSession::showStatus(const ListRow& row, const std::string& time) {
    m_bStatusLine = true;
    const qint64 s = m_elapsed.elapsed() / 1000;
    char clock[32];
    std::snprintf(clock, sizeof clock, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    const int inFile = m_nRecorded - m_nInEarlierFiles;
    const int fileSize = m_recorder.store().maxData();
    const QString counts =
        m_nRecorded == 1 ? Cli::tr("1 sample, %1 of %2 in this file").arg(inFile).arg(fileSize)
                         : Cli::tr("%1 samples, %2 of %3 in this file")
                               .arg(m_nRecorded)
                               .arg(inFile)
                               .arg(fileSize);
    std::printf("\r\033[K%s  %s", clock,
                qPrintable(Cli::tr("%1; last %2 %3 at %4")
                               .arg(counts, QString::fromStdString(row.value),
                                    QString::fromStdString(row.unit),
                                    QString::fromStdString(clockTime(time)))));
    if (!m_strStatusNote.empty())
        std::printf("; %s", m_strStatusNote.c_str());
}

void RecordSession::error(const std::string& text) {
    endStatusLine();
    printError(text);
}

void RecordSession::warn(const std::string& text) {
    endStatusLine();
    printWarning(text);
}

void RecordSession::tell(const std::string& text) {
    endStatusLine();
    std::fprintf(stderr, "%s\n", text.c_str());
}

void RecordSession::endStatusLine() {
    if (m_bStatusLine)
        std::printf("\n");
    m_bStatusLine = false;
    std::fflush(stdout);
}

void RecordSession::onStoreFull() {
    if (!m_bRunning)
        return;
    endStatusLine();
    if (m_request.split) {
        // Written before it is emptied: the journal keeps every sample until
        // the file holding it is written. Files held before go first.
        const Written written = writeHeld() ? writeCurrent() : Written::Failed;
        if (written == Written::Rescued)
            m_bWriteFailed = true;
        m_nInEarlierFiles = m_nRecorded;
        if (written == Written::Failed) {
            holdCurrent();
            warn(Cli::tr("the %1 samples of the full file are kept in memory and written as "
                         "soon as there is room, tried every %2 s; the recording goes on")
                     .arg(m_held.back().values.size())
                     .arg(m_retryTimer.interval() / 1000)
                     .toStdString());
        }
        if (m_held.empty())
            m_recorder.startNextFile();
        else
            m_recorder.startNextFileKeepingJournal();
        return;
    }
    tell(Cli::tr("The data file's limit of %1 samples is reached; --split goes on into the "
                 "next file.")
             .arg(m_recorder.store().maxData())
             .toStdString());
    m_bEndedEarly = true;
    stop();
}

void RecordSession::onLineLost(const QString& reason) {
    if (!m_bRunning)
        return;
    // An unattended recording goes on when the device comes back; every
    // sample so far is kept.
    endStatusLine();
    std::string text = reason.toStdString();
    if (!text.ends_with('.'))
        text += '.';
    printError(
        text + " " +
        Cli::tr("Waiting for %1 to come back (Ctrl+C stops).").arg(deviceName()).toStdString());
}

void RecordSession::stop(bool failed) {
    if (m_bHolding) {
        // Asked again: the run ends without what the disk did not take.
        m_retryTimer.stop();
        m_bHolding = false;
        int lost = m_nRecorded - m_nInEarlierFiles;
        for (const HeldFile& held : m_held)
            lost += static_cast<int>(held.values.size());
        printError(Cli::tr("%1 samples were not written").arg(lost).toStdString());
        closeJournal(false);
        Q_EMIT finished(kExitFailure);
        return;
    }
    if (!m_bRunning)
        return;
    m_bRunning = false;
    m_durationTimer.stop();
    m_line.close();
    endStatusLine();
    tell((m_nRecorded == 1 ? Cli::tr("Recorded 1 sample.")
                           : Cli::tr("Recorded %1 samples.").arg(m_nRecorded))
             .toStdString());
    m_bCsvKept = closeCsv() && !m_bCsvFailed;
    m_bFailed = failed;
    if (!m_request.writeDataFile) {
        // The CSV file is the recording.
        closeJournal(m_bCsvKept);
        finish(m_bCsvKept);
        return;
    }
    const Written written = writeHeld() ? writeCurrent() : Written::Failed;
    if (written == Written::Failed) {
        // Nothing is lost while the program runs: it waits for room.
        m_bHolding = true;
        m_retryTimer.start();
        warn(Cli::tr("the recording is kept in memory and written as soon as there is room, "
                     "tried every %1 s; Ctrl+C again ends the run without it")
                 .arg(m_retryTimer.interval() / 1000)
                 .toStdString());
        return;
    }
    closeJournal(written == Written::Asked);
    finish(written == Written::Asked);
}

void RecordSession::retryWrites() {
    const bool all = writeHeld(false);
    if (m_bHolding) {
        const Written written = all ? writeCurrent(false) : Written::Failed;
        if (written == Written::Failed)
            return;
        m_bHolding = false;
        closeJournal(written == Written::Asked);
        finish(written == Written::Asked);
    }
    if (all)
        m_retryTimer.stop();
}

void RecordSession::finish(bool saved) {
    m_retryTimer.stop();
    int status = kExitOk;
    if (!saved || !m_bCsvKept || m_bFailed || m_bWriteFailed)
        status = kExitFailure;
    else if (m_bEndedEarly || m_nRecorded == 0)
        status = kExitEndedEarly;
    Q_EMIT finished(status);
}

void RecordSession::openJournal() {
    // Every run journals: a journal held by another run or keeping an unsaved
    // recording is passed over for the next of recording-2.journal, ...
    const JournalTaken taken = m_line.openJournal(m_request.journal);
    for (const std::filesystem::path& aside : taken.setAside)
        printWarning(Cli::tr("a file that was not a recording journal this program can read "
                             "was kept as %1")
                         .arg(QString::fromStdString(aside.string()))
                         .toStdString());
    for (const UnsavedJournal& u : taken.unsaved)
        printWarning(Cli::tr("an unsaved recording of %1 samples (%2 to %3) was found in %4; "
                             "'%5' turns it into a data file")
                         .arg(QString::number(u.count),
                              QString::fromStdString(printableText(u.firstTime)),
                              QString::fromStdString(printableText(u.lastTime)),
                              QString::fromStdString(u.path.string()),
                              QString::fromStdString(recoverCommand()))
                         .toStdString());
    if (!m_line.journalled()) {
        printWarning(Cli::tr("no recording journal (%1); the recording is kept in memory only "
                             "until it is saved")
                         .arg(QString::fromStdString(taken.error))
                         .toStdString());
        return;
    }
    if (m_recorder.journal()->path() != m_request.journal)
        printWarning((taken.inUse.empty() || taken.inUse.front() != m_request.journal
                          ? Cli::tr("the recording journal %1 is kept for recover; this "
                                    "recording is journalled in %2")
                          : Cli::tr("the recording journal %1 is in use by another process; "
                                    "this recording is journalled in %2"))
                         .arg(QString::fromStdString(m_request.journal.string()),
                              QString::fromStdString(m_recorder.journal()->path().string()))
                         .toStdString());
    connect(&m_line, &InstrumentLine::journalFailed, this, [this](const QString& reason) {
        if (m_bJournalFailed)
            return;
        m_bJournalFailed = true;
        endStatusLine();
        printWarning(Cli::tr("%1; the recording goes on in memory").arg(reason).toStdString());
    });
}

QString RecordSession::deviceName() const {
    return m_request.deviceName.isEmpty() ? m_request.device : m_request.deviceName;
}

std::string RecordSession::recoverCommand() const {
    std::string command = "orvane-cli recover";
    if (m_request.journalNamed)
        command += " --journal " + m_request.journal.string();
    return command;
}

void RecordSession::closeJournal(bool recordingKept) {
    if (!recordingKept && m_recorder.journal() && m_recorder.journal()->ready() &&
        m_recorder.store().recCount() > 0)
        tell(Cli::tr("The recording stays in the journal %1; '%2' turns it into a data file.")
                 .arg(QString::fromStdString(m_recorder.journal()->path().string()),
                      QString::fromStdString(recoverCommand()))
                 .toStdString());
    m_line.closeJournal(recordingKept);
}

bool RecordSession::openCsv() {
    // A pipe or a device is written into; a file (a link's, followed) is
    // started afresh.
    m_csvFd = m_csvTarget.stream() ? openOutputStream(m_csvTarget)
                                   : ::open(m_csvTarget.path.c_str(),
                                            O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_csvFd < 0 || !appendCsv(csvHeader({CsvSeparator::Comma, m_request.csvTime}))) {
        printError(cannotWrite(m_request.csvFile.toStdString(), systemError()));
        return false;
    }
    return true;
}

// One write per record: whatever ends the program, the file holds every whole
// record written before.
bool RecordSession::appendCsv(const std::string& line) {
    return writeToDescriptor(m_csvFd, line);
}

bool RecordSession::closeCsv() {
    if (m_csvFd < 0)
        return true;
    const bool ok = ::fsync(m_csvFd) == 0 || errno == EINVAL;
    const int fd = m_csvFd;
    m_csvFd = -1;
    if (::close(fd) != 0 || !ok) {
        printError(cannotWrite(m_request.csvFile.toStdString(), systemError()));
        return false;
    }
    tell(Cli::tr("Wrote %1.").arg(m_request.csvFile).toStdString());
    return true;
}

RecordSession::Written RecordSession::writeCurrent(bool tellFailure) {
    const int n = m_nRecorded - m_nInEarlierFiles;
    if (n == 0) {
        if (m_chain.files() == 0 && m_held.empty())
            tell(Cli::tr("Nothing was recorded, so no data file was written.").toStdString());
        return Written::Asked;
    }
    const SampleStore& s = m_recorder.store();
    const auto count = static_cast<std::size_t>(n);
    RecordedTexts texts{s.recUnit().strings(0, count), s.recTimeText().strings(0, count)};
    const Written written = writeSeries({std::span(s.recData()).first(count), texts.units,
                                         std::span(s.recTime()).first(count), texts.timeTexts},
                                        static_cast<std::int64_t>(std::time(nullptr)), tellFailure);
    if (written == Written::Asked)
        m_recorder.markSaved();
    return written;
}

bool RecordSession::writeHeld(bool tellFailure) {
    while (!m_held.empty()) {
        const HeldFile& held = m_held.front();
        const Written written = writeSeries({held.values, held.units, held.times, held.timeTexts},
                                            held.filledAt, tellFailure);
        if (written == Written::Failed)
            return false;
        if (written == Written::Rescued)
            m_bWriteFailed = true;
        m_held.erase(m_held.begin());
    }
    return true;
}

void RecordSession::holdCurrent() {
    const SampleStore& s = m_recorder.store();
    const auto n = static_cast<std::size_t>(s.recCount());
    m_held.push_back({{s.recData().begin(), s.recData().begin() + n},
                      s.recUnit().strings(0, n),
                      {s.recTime().begin(), s.recTime().begin() + n},
                      s.recTimeText().strings(0, n),
                      static_cast<std::int64_t>(std::time(nullptr))});
    m_retryTimer.start();
}

RecordSession::Written RecordSession::writeSeries(const RecordedSeries& series, std::int64_t time,
                                                  bool tellFailure) {
    if (const std::optional<WrittenPair> written =
            writeDataFilesTo(m_chain.next(time), series, tellFailure)) {
        m_chain.wrote(*written);
        return Written::Asked;
    }
    // The recording exists nowhere else: it goes to the temporary folder.
    FileChain rescue({}, QFile::encodeName(QDir::tempPath()).toStdString());
    if (const std::optional<WrittenPair> kept =
            writeDataFilesTo(rescue.next(time), series, tellFailure)) {
        tell(Cli::tr("The recording was kept in %1 instead.")
                 .arg(QString::fromStdString(kept->dataFile.string()))
                 .toStdString());
        return Written::Rescued;
    }
    return Written::Failed;
}

std::optional<WrittenPair> RecordSession::writeDataFilesTo(const PairNames& names,
                                                           const RecordedSeries& series,
                                                           bool tellFailure) {
    std::optional<WrittenPair> written = writeRecordingFiles(names, series, tellFailure);
    if (written)
        tell(
            Cli::tr("Wrote %1.").arg(QString::fromStdString(writtenFiles(*written))).toStdString());
    return written;
}
