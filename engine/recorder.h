#pragma once

#include "core/store/acquisition.h"

#include <QBasicTimer>
#include <QObject>

#include <cstdint>
#include <functional>
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
    // The calendar clock stamped on readings (seconds since the epoch); tests
    // and tools may give their own.
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
    // Clear Screen: the graph series restarts. Clear All: everything is
    // emptied and the panel blanked.
    void clearScreen();
    void clearAll();
    // A data file was loaded into the graph series; the next live frame
    // empties the store first.
    void loadGraph(const std::vector<float>& values, const std::vector<std::string>& units,
                   const std::vector<std::string>& times);
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

    // ---- state
    const Acquisition& acquisition() const { return m_acq; }
    const SampleStore& store() const { return m_acq.store(); }
    // The period the commit timer runs with (0: not running).
    int commitTimerMs() const { return m_nCommitTimerMs; }

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
    // 4000 samples are committed: the line must close.
    void storeFull();
    // What the commands depend on changed: counts, the unsaved mark.
    void recordingChanged();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    friend struct StoreTestAccess; // tests and benchmarks set up exact states

    void handle(const BlockOutcome& out);
    void armTimer();

    Acquisition m_acq;
    std::vector<std::uint8_t> m_buffer;
    std::function<std::int64_t()> m_clock;
    QBasicTimer m_commitTimer;
    int m_nCommitTimerMs = 0;
};
