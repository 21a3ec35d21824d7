#pragma once

#include "core/store/recordingsnapshot.h" // LogMark
#include "core/store/textslots.h"
#include "core/text/valuetext.h" // the no-value mark of a sample

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Capacity of the store: committed samples per series, plus spare slots. Slot
// [count] is the current slot, which always holds the latest reading, so slot
// MAX_DATA must exist for a full series.
inline constexpr int MAX_DATA = 4000;
inline constexpr int kStoreSlots = MAX_DATA + 5;

// A recorded series as the data file and its text export take it: the four
// spans have the same length.
struct RecordedSeries {
    std::span<const float> values;
    std::span<const std::string> units;
    std::span<const std::int64_t> times;
    std::span<const std::string> timeTexts;
};

// The texts a RecordedSeries made from the store points at, for as long as
// it is used.
struct RecordedTexts {
    std::vector<std::string> units;
    std::vector<std::string> timeTexts;
};

// The two parallel series of samples: the graph series (what the graph shows, and
// what Open fills) and the recorded series (what the list, Save, the export and
// the report use). Both are written together by live readings.
class SampleStore {
public:
    SampleStore();

    // Graph series.
    const std::vector<float>& graphData() const { return m_fGraphData; }
    const TextSlots& graphTime() const { return m_strGraphTime; }
    const TextSlots& graphUnit() const { return m_strGraphUnit; }
    int graphCount() const { return m_nGraphCount; }
    // The graph series' values, ready for the graph and the report.
    std::span<const float> graphValues() const;

    // Recorded series.
    const std::vector<float>& recData() const { return m_fRecData; }
    const std::vector<std::int64_t>& recTime() const { return m_tRecTime; }
    // The millisecond (0..999) within recTime's second; -1 where it is not known
    // (a loaded file keeps whole seconds).
    const std::vector<std::int16_t>& recMillisecond() const { return m_nRecMillisecond; }
    const TextSlots& recTimeText() const { return m_strRecTime; }
    const TextSlots& recUnit() const { return m_strRecUnit; }
    // Whether the instrument marked each sample as logged; not known for a
    // loaded file taken as the recording.
    const std::vector<std::optional<LogMark>>& recLog() const { return m_recLog; }
    int recCount() const { return m_nRecCount; }
    // The recorded samples, ready for the files and the report; their texts
    // are copied into `texts`.
    RecordedSeries recorded(RecordedTexts& texts) const;

    int maxData() const { return m_nMaxData; }
    // Times the graph series was emptied. The graph starts its live scale
    // afresh after each, also when the series was refilled before any paint.
    int graphEmptied() const { return m_nGraphEmptied; }
    // Times a file was loaded into the graph series.
    int graphLoads() const { return m_nGraphLoads; }
    bool isFull() const { return m_nRecCount >= m_nMaxData; }

    // Writes a reading into the current slot of both series.
    void storeCurrent(float value, const std::string& unit, std::int64_t time,
                      const std::string& timeText, int millisecond = -1);
    // Advances both counts unless the store is full, the sample committed
    // carrying `log`; true when they moved.
    bool commit(LogMark log = LogMark::None);

    void clearGraph() {
        m_nGraphCount = 0;
        ++m_nGraphEmptied;
    }
    void reset() {
        m_nGraphCount = m_nRecCount = 0;
        ++m_nGraphEmptied;
    }
    // Replaces the graph series with a loaded one; the recorded series is kept.
    // Values beyond the capacity are ignored.
    void loadGraph(const std::vector<float>& values, const std::vector<std::string>& units,
                   const std::vector<std::string>& times);
    // The graph series (a loaded file) becomes the recorded series.
    void adoptGraphSeries();
    // Fewer samples than MAX_DATA make the store full (tests, tools).
    void setCapacity(int samples);

private:
    friend struct StoreTestAccess; // tests and benchmarks set up exact series

    std::vector<float> m_fGraphData;
    TextSlots m_strGraphTime;
    TextSlots m_strGraphUnit;
    int m_nGraphCount = 0;

    std::vector<float> m_fRecData;
    std::vector<std::int64_t> m_tRecTime;
    std::vector<std::int16_t> m_nRecMillisecond;
    TextSlots m_strRecTime;
    TextSlots m_strRecUnit;
    std::vector<std::optional<LogMark>> m_recLog;
    int m_nRecCount = 0;

    int m_nMaxData = MAX_DATA;
    int m_nGraphEmptied = 0;
    int m_nGraphLoads = 0;
};

// The time text of a sample: local time, "%m-%d-%y/%H:%M:%S".
std::string formatTimeText(std::int64_t time);
// The calendar time of a time text, read as local time; nothing when the text
// is not of that form.
std::optional<std::int64_t> parseTimeText(const std::string& text);
