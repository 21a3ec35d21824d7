#pragma once

#include "core/store/recordingsnapshot.h"
#include "core/store/samplestore.h"
#include "core/text/calendartext.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Regions of the display panel that a reading may need repainted.
enum PanelRegion : unsigned {
    RegionValue = 1u << 0,      // reading text
    RegionMode = 1u << 1,       // mode keyword
    RegionMax = 1u << 2,        // running maximum
    RegionMin = 1u << 3,        // running minimum
    RegionLock = 1u << 4,       // lock indicator
    RegionUnit = 1u << 5,       // unit letter
    RegionEmissivity = 1u << 6, // emissivity text
    RegionBlink = 1u << 7,      // data-input indicator
    RegionWhole = 1u << 8,      // the whole panel (Clear All blanks it)
};

// The texts the display panel shows; written by every decoded frame.
struct DisplayTexts {
    std::string m_strMode;
    std::string m_strEmissivity;
    std::string m_strValue;
    std::string m_strMax;
    std::string m_strMin;
    float m_fMax = 0.0f;
    float m_fMin = 0.0f;
};

// One data-list row: the 1-based number, value text, unit letter and time text,
// and whether the instrument marked the reading as logged.
struct ListRow {
    int index = 0;
    std::string number;
    std::string value;
    std::string unit;
    std::string time;
    LogMark log = LogMark::None;
};

// What the graph series holds: the live recording, or a data file loaded into
// it (until the next live frame).
enum class Showing { Recording, LoadedFile };

// What the window has to do after a received block was handled.
struct BlockOutcome {
    bool decoded = false;      // the block began with a frame
    unsigned regions = 0;      // PanelRegion bits to repaint
    bool clearList = false;    // empty the data list first (first frame after a load)
    std::vector<ListRow> rows; // committed readings to list, in order
    bool updateViews = false;  // the graph has a new reading
    bool storeFull = false;    // close the port, go offline and say so
};

// What On/Off has to do before the port is toggled.
struct OnOffPlan {
    bool askToSave = false; // the store is full: offer to save, then empty it
    bool updateViews = false;
};

// Turns received blocks into readings and decides, from the sample-rate mode and
// the frame's flags, whether each one is committed now, kept pending for the
// interval timer, or refused because the store is full. Holds the store, the
// panel texts and the link indicators; the windows show them and do the I/O.
// Its state is read through the const accessors and changed only through the
// operations.
class Acquisition {
public:
    // ---- state
    const SampleStore& store() const { return m_store; }
    const DisplayTexts& panel() const { return m_panel; }
    const std::string& unit() const { return m_strUnit; }
    bool negative() const { return m_bNegative; }
    bool locked() const { return m_bLocked; }
    bool blink() const { return m_bBlink; }
    int sampleRateSel() const { return m_nSampleRateSel; }
    bool sampleSelFromIni() const { return m_bSampleSelFromIni; }
    int sampleRateIni() const { return m_nSampleRateIni; }
    int sampleMs() const { return m_nSampleMs; }
    // A new interval was chosen: the commit timer must be armed again.
    bool restartTimer() const { return m_bRestartTimer; }
    bool readingPending() const { return m_bReadingPending; }
    // What the graph series holds: the live recording, or a loaded file (the
    // next live frame empties the store).
    Showing showing() const { return m_showing; }
    // A valid frame arrived since the graph last took note.
    bool newData() const { return m_bNewData; }
    // Samples were committed since the recorded series was last saved.
    bool unsaved() const { return m_bUnsaved; }
    float runMax() const { return g_fRunMax; }
    float runMin() const { return g_fRunMin; }
    // The selection written back to the configuration at close: the user's
    // choice, or the start-up selection while there was none.
    int sampleRateToKeep() const {
        return m_bSampleSelFromIni ? m_nSampleRateIni : m_nSampleRateSel;
    }

    // ---- the line
    // Handles one block read from the serial buffer at calendar time `now`.
    // `millisecond` (0..999, or -1) is the millisecond within that second.
    BlockOutcome onBlock(std::span<const std::uint8_t> block, std::int64_t now,
                         int millisecond = -1);

    // Handles what the serial buffer holds: every whole frame in it, in order,
    // until the store is full. Returns how many bytes were used up; the rest
    // (the start of a frame still arriving) is for the next read. At a full
    // store the line closes and the rest is used up unread, unless the
    // recording goes on into the next file: then what follows the filling
    // frame is left for the next read, after the store was written and emptied,
    // and nothing is used while the store stays full.
    std::size_t onReceived(std::span<const std::uint8_t> bytes, std::int64_t now, BlockOutcome& out,
                           int millisecond = -1);

    // The interval timer: commits the pending reading, if any. The row to list
    // is returned when the counts moved.
    std::optional<ListRow> onCommitTimer();

    // ---- recording control
    // Sets the selection read from the configuration file at start-up; the
    // commit interval starts from it.
    void setStartupSampleRate(int index);
    // The user picked sample rate `index` (-1: nothing selected). True when the
    // views must update (a new interval to arm).
    bool selectSampleRate(int index);
    // The commit timer was armed for the current interval.
    void timerRestarted() { m_bRestartTimer = false; }
    // A shorter period for the current interval (tests, demonstrations).
    void overrideIntervalMs(int ms);

    // On/Off, before the port is toggled: takes the start-up selection while the
    // user has not chosen one, and says whether the full store must be offered
    // for saving and emptied.
    OnOffPlan prepareOnOff();
    // Empties both series after the save question of a full store.
    void resetStore();
    // Whether a full store is written and emptied to go on recording into the
    // next file instead of closing the line.
    void setContinueIntoNextFile(bool on) { m_bContinueIntoNextFile = on; }
    bool continueIntoNextFile() const { return m_bContinueIntoNextFile; }

    // Clear Screen: restart the graph series. Clear All: empty everything and
    // blank the panel.
    void clearScreen();
    void clearAll();

    // A data file was loaded into the graph series; the next live frame empties
    // the store first.
    void loadGraph(const std::vector<float>& values, const std::vector<std::string>& units,
                   const std::vector<std::string>& times);
    // A recording kept by the journal comes back after a crash: the recorded
    // series, the last `graphCount` of it on the graph, the running extremes
    // of the panel. It counts as unsaved.
    void restore(const RecordingSnapshot& r);
    // A loaded file becomes the recorded series (it is being printed).
    void adoptLoadedSeries();
    // The recorded series was written to a file.
    void markSaved() { m_bUnsaved = false; }
    // The graph took note of the new data.
    void newDataSeen() { m_bNewData = false; }
    // The data-input indicator goes dark until the next frame.
    void blinkOff() { m_bBlink = false; }
    // A smaller store, for tests and tools that reach its limit quickly.
    void setCapacity(int samples) { m_store.setCapacity(samples); }

private:
    friend struct StoreTestAccess; // tests and benchmarks set up exact states

    // The reading that waits for the interval timer, as it was decoded; the
    // timer commits it as it is, whatever happened to the current slot since.
    struct PendingReading {
        float value = 0.0f;
        std::string unit;
        std::int64_t time = 0;
        std::string timeText;
        std::string valueText;
        int millisecond = -1;
    };

    // One block read from the serial buffer, its outcome added to `out`.
    void takeBlock(std::span<const std::uint8_t> block, std::int64_t now, int millisecond,
                   BlockOutcome& out);
    // The panel's texts of the running extremes, made when they moved.
    void showExtremes();
    // Commits the current slot; the list row when the counts moved.
    std::optional<ListRow> commitCurrent(const std::string& valueText, LogMark log = LogMark::None);
    void dropPending() { m_bReadingPending = false; }

    SampleStore m_store;
    DisplayTexts m_panel;

    // Link indicators.
    std::string m_strUnit;
    bool m_bNegative = false;
    bool m_bLocked = false;
    bool m_bBlink = false;

    // Recording control.
    int m_nSampleRateSel = 0;
    bool m_bSampleSelFromIni = true;
    int m_nSampleRateIni = 0;
    int m_nSampleMs = 0;
    bool m_bRestartTimer = false;
    bool m_bReadingPending = false;
    Showing m_showing = Showing::Recording;
    bool m_bNewData = false;
    bool m_bUnsaved = false;
    bool m_bContinueIntoNextFile = false;

    // Running extremes of decoded values since the recorded series was empty.
    float g_fRunMax = -100.0f;
    float g_fRunMin = 2000.0f;

    PendingReading m_pending;

    // What the panel's texts were last made from.
    int m_nEmissivityShown = -1;
    bool m_bExtremesShown = false;
    SecondText m_timeText{formatTimeText};
};
