#pragma once

#include "cli/alarmcommand.h"
#include "core/files/csvexport.h"
#include "core/files/filechain.h"
#include "core/files/outputtarget.h"
#include "core/text/calendartext.h"
#include "engine/instrumentline.h"
#include "engine/recorder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What `orvane-cli record` was asked for.
struct RecordRequest {
    QString device;
    // What the messages and --on-alarm call the device; empty: its path.
    QString deviceName;
    int sampleRate = 0; // index in the sample-rate table; 0: every reading
    // The data file; empty: the time-stamped name Save proposes, in the
    // current folder. Its text export goes beside it, named as Save names it.
    QString dataFile;
    // With a CSV file and no data file asked for, the CSV is the recording: no
    // data file is written and the store's limit does not end the run.
    bool writeDataFile = true;
    QString csvFile;
    CsvTime csvTime = CsvTime::Local;
    // A full store is written and emptied, and the recording goes on into the
    // next file: full.DovDat, full-2.DovDat, ... (or Save's names).
    bool split = false;
    // No line per sample, nor a status line; the news of the run still.
    bool quiet = false;
    int count = 0;                    // stop after this many samples; 0: no limit
    std::int64_t durationSeconds = 0; // stop after this long; 0: no limit
    // The recording journal.
    std::filesystem::path journal;
    // The journal was named on the command line (recover is then told it too).
    bool journalNamed = false;
    // The alarm limits, and the command run on every change of the alarm
    // state (empty: none).
    int alarmHigh = 150;
    int alarmLow = -50;
    float alarmDeadband = kDefaultAlarmDeadband;
    QString onAlarm;
};

// One recording without a window: opens the line as the window's On/Off does
// (and again when a lost device comes back), feeds what arrives into the
// recording engine, reports every committed sample
// (a line each on the standard output, or one status line on a terminal),
// streams it into the CSV file, journals it as the window does, and when it
// ends writes the data file and its text export as Save does.
class RecordSession : public QObject {
    Q_OBJECT
public:
    explicit RecordSession(RecordRequest request, QObject* parent = nullptr);
    ~RecordSession() override;

    // Opens the line, then the CSV file. False (the reason printed) when
    // either fails, or an output is one that is never written (a folder);
    // nothing is created or emptied then.
    bool start();
    // Ends the recording and writes what was recorded; finished() follows.
    // `failed`: the run ended by a failure, so the exit status is 1 whatever
    // was saved.
    void stop(bool failed = false);

    // The recording engine, for what else follows the committed samples.
    const Recorder& recorder() const { return m_recorder; }
    const InstrumentLine& line() const { return m_line; }
    // News of the run on the standard error, after the status line: an
    // "error:" or a "warning:" line, or a plain one.
    void error(const std::string& text);
    void warn(const std::string& text);
    void tell(const std::string& text);
    // Added to the terminal's status line ("broker away"); empty: nothing.
    void setStatusNote(std::string note) { m_strStatusNote = std::move(note); }
    // The row the recorder committed last is one of this run's samples (rows
    // of the read that reached the count come after the stop, in no file).
    bool lastRowRecorded() const { return m_bRowReported; }

Q_SIGNALS:
    // The recording has ended and its files are written: the exit status
    // (kExitEndedEarly when it ended before it was asked to or recorded
    // nothing).
    void finished(int status);

private:
    // Between two reads: a store that only feeds the CSV file is emptied
    // before it can fill.
    void beforeReceive();
    void onRow(const ListRow& row);
    void onAlarm(const AlarmChange& change);
    void onStoreFull();
    void onLineLost(const QString& reason);
    void onSilence();
    void armDuration();
    // Journals the recording unless the journal is held elsewhere, cannot be
    // opened or keeps a recording nobody saved: that one is left for recover.
    void openJournal();
    // At the end: a journal whose recording is kept elsewhere is emptied.
    void closeJournal(bool recordingKept);
    bool openCsv();
    bool appendCsv(const std::string& line);
    bool closeCsv();
    // Where a file went: the names asked for, the temporary folder, or nowhere.
    enum class Written { Asked, Rescued, Failed };
    // The samples of the current file, under the next names of the chain;
    // failing that, in the temporary folder.
    Written writeCurrent(bool tellFailure = true);
    // The files held in memory, oldest first; false when one still fails.
    bool writeHeld(bool tellFailure = true);
    // The full store, which no place took, is kept in memory.
    void holdCurrent();
    Written writeSeries(const RecordedSeries& series, std::int64_t time, bool tellFailure);
    std::optional<WrittenPair> writeDataFilesTo(const PairNames& names,
                                                const RecordedSeries& series, bool tellFailure);
    // Tries the held files (and, once stopped, the last one) again.
    void retryWrites();
    // The run is over and its files written: finished() with its status.
    void finish(bool saved);
    std::string recoverCommand() const;
    QString deviceName() const;
    void showStatus(const ListRow& row, const std::string& time);
    // The lines printed reach the standard output: at once into a pipe or
    // onto a terminal, within a second into a file.
    void flushOutput();
    // Before a message: the terminal's status line gets its line end.
    void endStatusLine();

    RecordRequest m_request;
    Recorder m_recorder;
    InstrumentLine m_line{m_recorder};
    QTimer m_durationTimer;
    QElapsedTimer m_elapsed;
    OutputTarget m_csvTarget;
    int m_csvFd = -1;
    FileChain m_chain;
    int m_nRecorded = 0;       // samples reported in this run
    int m_nInEarlierFiles = 0; // of them, those written into earlier files of the chain
    bool m_bEndedEarly = false;
    bool m_bWriteFailed = false;
    bool m_bTerminal = false;
    // The standard output is read as it comes (a pipe, a socket, a terminal):
    // each line is flushed; otherwise (a file) at most once a second.
    bool m_bFlushEachLine = true;
    QTimer m_flushTimer;
    // The ISO time of a sample's second.
    SecondText m_isoSecond{[](std::int64_t time) { return isoLocalTime(time); }};
    bool m_bOutputGone = false; // the standard output's reader went away
    bool m_bStatusLine = false; // a status line without its line end is showing
    bool m_bRunning = false;
    bool m_bCsvFailed = false;
    bool m_bJournalFailed = false; // told once a run
    bool m_bRowReported = false;   // the last committed row was reported
    std::unique_ptr<AlarmCommand> m_alarmCommand;
    // Files of the chain that no place took (a full disk), oldest first.
    struct HeldFile {
        std::vector<float> values;
        std::vector<std::string> units;
        std::vector<std::int64_t> times;
        std::vector<std::string> timeTexts;
        std::int64_t filledAt = 0;
    };
    std::vector<HeldFile> m_held;
    QTimer m_retryTimer;
    bool m_bHolding = false; // stopped, waiting for room for the last files
    bool m_bCsvKept = true;
    bool m_bFailed = false; // the run ended by a failure
    std::string m_strStatusNote;
};
