#pragma once

#include "core/journal/recordingjournal.h"
#include "core/store/acquisition.h"
#include "core/store/alarmstate.h"

#include <QBasicTimer>
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The road of a reading below any window: bytes from the line in, committed
// samples out. Buffers what the line sends until a whole frame is there, finds
// frames again after noise or a start in the middle of one, decodes every
// whole frame in order, applies the recording rules, runs the interval timer
// that commits a waiting reading, and stops at a full store. What happened is
// told through the signals; the state is read through const access and changed
// only through the operations below.
class Recorder : public QObject {
    Q_OBJECT
public:
    explicit Recorder(QObject* parent = nullptr);

    // ---- the line
    // Bytes read from the line. Whole frames are handled at once; the start of
    // a frame still arriving is kept for the next call.
    void receive(std::span<const std::uint8_t> bytes);
    // How many more bytes complete the frame being assembled (1..14): the
    // serial component's receive threshold.
    int bytesWanted() const;
    // The port was just opened: what was buffered is not a reading of this run.
    void discardBuffered();
    // The calendar clock stamped on readings: the system's, to the millisecond;
    // tests and tools may give their own of whole seconds since the epoch.
    void setClock(std::function<std::int64_t()> clock);

    // ---- recording control
    // The selection read from the configuration file at start-up.
    void setStartupSampleRate(int index);
    // The user picked sample rate `index` (-1: nothing selected); a new
    // interval re-arms the timer and returns true.
    bool selectSampleRate(int index);
    // On/Off, before the port is toggled: takes the start-up selection while
    // the user has not chosen one; says whether a full store must be offered
    // for saving and emptied (resetStore()).
    OnOffPlan prepareOnOff();
    // Empties both series after the save question of a full store.
    void resetStore();
    // Going on into the next file: a full store is reported by storeFull()
    // without closing anything; the owner writes it and calls startNextFile()
    // from the handler, and what followed the filling frame goes into the
    // emptied store. Interval commits report a filled store at once.
    void setContinueIntoNextFile(bool on);
    bool continuesIntoNextFile() const { return m_acq.continueIntoNextFile(); }
    // The full store was written: it is emptied (the journal with it) and the
    // recording goes on.
    void startNextFile() { resetStore(); }
    // The full store could not be written and is kept elsewhere in memory:
    // it is emptied and the recording goes on, but the journal keeps it.
    void startNextFileKeepingJournal();
    // Clear Screen: the graph series restarts. Clear All: everything is
    // emptied and the panel blanked.
    void clearScreen();
    void clearAll();
    // A data file was loaded into the graph series; the next live frame
    // empties the store first.
    void loadGraph(const std::vector<float>& values, const std::vector<std::string>& units,
                   const std::vector<std::string>& times);
    // A recording kept by the journal comes back (see Acquisition::restore);
    // the list, the panel and the graph are told as for live samples.
    void restore(const JournalRecording& recording);
    // A loaded file becomes the recorded series (printing a loaded file).
    void adoptLoadedSeries();
    // The recording was written to a file.
    void markSaved();
    // The graph took note of the new data.
    void newDataSeen();
    // The data-input indicator goes dark until the next frame.
    void blinkOff();
    // Starts the commit timer with the current interval (at start-up).
    void startCommitTimer() { armTimer(); }
    // The commit timer's tick: commits the waiting reading, if any.
    void commitPending();

    // ---- alarms
    // The alarm limits, kept here alone: the alarm state, the graph, the panel
    // and the window all read them from here and follow alarmLimitsChanged.
    // A high limit below the low one is taken the other way round. The next
    // committed reading is compared with the new limits.
    void setAlarmLimits(int high, int low);
    AlarmLimits alarmLimits() const { return m_limits; }
    // How far back inside a limit a reading must be before its alarm ends.
    void setAlarmDeadband(float degrees) { m_alarm.setDeadband(degrees); }
    AlarmLevel alarmLevel() const { return m_alarm.level(); }

    // ---- state
    const Acquisition& acquisition() const { return m_acq; }
    // Whole frames decoded so far: a frame came when it moved.
    std::uint64_t framesDecoded() const { return m_nFramesDecoded; }
    const SampleStore& store() const { return m_acq.store(); }
    // The period the commit timer runs with (0: not running).
    int commitTimerMs() const { return m_nCommitTimerMs; }

    // ---- the journal
    // Every committed sample goes to `journal` (opened by the owner) before the
    // next read is handled; Clear Screen and Save are marked in it, and it is
    // emptied with the store. It reaches the disk at most once a second while
    // recording and at once in stopJournal(). Null: no journalling.
    void setJournal(std::unique_ptr<RecordingJournal> journal);
    RecordingJournal* journal() const { return m_journal.get(); }
    // The recording was declined (not saved at exit): nothing to restore.
    void discardJournal();
    // A clean stop: what was journalled reaches the disk, and the lock goes.
    void stopJournal();

    // A shorter period for the current interval, for tests and demonstrations.
    void overrideIntervalMs(int ms);
    // A smaller store, for tests that reach its limit quickly.
    void setCapacity(int samples);

Q_SIGNALS:
    // The first frame after a load emptied the store: the list starts again.
    void listCleared();
    // A sample was committed: its data-list row.
    void rowAppended(const ListRow& row);
    // Display-panel regions (PanelRegion bits) whose content changed.
    void panelChanged(unsigned regions);
    // The graph series changed: views redraw.
    void graphChanged();
    // 4000 samples are committed: the line must close, or the store be
    // written and emptied when the recording goes on into the next file.
    void storeFull();
    // What the commands depend on changed: whether anything is recorded, the
    // unsaved mark, a full store; and the list was emptied or restored.
    void recordingChanged();
    // The journal could not be written; the recording goes on in memory.
    void journalFailed(const QString& reason);
    // A committed reading changed the alarm state (after its rowAppended).
    void alarmChanged(const AlarmChange& change);
    // The alarm limits changed.
    void alarmLimitsChanged(const AlarmLimits& limits);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    friend struct StoreTestAccess; // tests and benchmarks set up exact states

    // What recordingChanged() follows.
    struct CommandState {
        bool empty = true;
        bool unsaved = false;
        bool full = false;
        bool operator==(const CommandState&) const = default;
    };
    CommandState commandState() const;
    void handle(const BlockOutcome& out, bool commandsChanged);
    void armTimer();
    void journalRows(const std::vector<ListRow>& rows);
    // The sample of `row` against the alarm limits.
    void checkAlarm(const ListRow& row);
    // After every journal write: a failure is told once, a sync is scheduled.
    void afterJournalWrite();

    std::unique_ptr<RecordingJournal> m_journal;
    AlarmState m_alarm;
    AlarmLimits m_limits;
    QBasicTimer m_syncTimer;
    static constexpr int kSyncMs = 1000;

    Acquisition m_acq;
    std::vector<std::uint8_t> m_buffer;
    std::vector<ListRow> m_rowRoom; // kept from one block to the next
    std::uint64_t m_nFramesDecoded = 0;
    std::function<std::int64_t()> m_clock; // milliseconds since the epoch
    QBasicTimer m_commitTimer;
    int m_nCommitTimerMs = 0;
};
