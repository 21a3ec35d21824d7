#include "core/store/samplestore.h"

#include "core/text/calendartext.h"

#include <algorithm>
#include <ctime>

namespace {

// A time text is "%m-%d-%y/%H:%M:%S", a unit a letter or two.
constexpr std::size_t kTimeTextBytes = 17;
constexpr std::size_t kUnitBytes = 2;

} // namespace

SampleStore::SampleStore()
    : m_fGraphData(kStoreSlots, 0.0f), m_strGraphTime(kStoreSlots, kTimeTextBytes),
      m_strGraphUnit(kStoreSlots, kUnitBytes), m_fRecData(kStoreSlots, 0.0f),
      m_tRecTime(kStoreSlots, 0), m_nRecMillisecond(kStoreSlots, -1),
      m_strRecTime(kStoreSlots, kTimeTextBytes), m_strRecUnit(kStoreSlots, kUnitBytes),
      m_recLog(kStoreSlots) {
    // The first graph value until the first reading replaces it.
    m_fGraphData[0] = -500.0f;
}

void SampleStore::storeCurrent(float value, const std::string& unit, std::int64_t time,
                               const std::string& timeText, int millisecond) {
    m_fGraphData[m_nGraphCount] = value;
    m_strGraphUnit.set(static_cast<std::size_t>(m_nGraphCount), unit);
    m_strGraphTime.set(static_cast<std::size_t>(m_nGraphCount), timeText);
    m_fRecData[m_nRecCount] = value;
    m_strRecUnit.set(static_cast<std::size_t>(m_nRecCount), unit);
    m_strRecTime.set(static_cast<std::size_t>(m_nRecCount), timeText);
    m_tRecTime[m_nRecCount] = time;
    m_nRecMillisecond[m_nRecCount] = static_cast<std::int16_t>(millisecond);
}

bool SampleStore::commit(LogMark log) {
    if (m_nRecCount >= m_nMaxData)
        return false;
    m_recLog[m_nRecCount] = log;
    ++m_nRecCount;
    // The graph count follows; after Clear Screen it runs behind, never ahead.
    m_nGraphCount = std::min(m_nGraphCount + 1, m_nMaxData);
    return true;
}

void SampleStore::loadGraph(const std::vector<float>& values, const std::vector<std::string>& units,
                            const std::vector<std::string>& times) {
    const int n = static_cast<int>(std::min<std::size_t>(values.size(), MAX_DATA));
    for (int i = 0; i < n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        m_fGraphData[at] = values[at];
        m_strGraphUnit.set(at, at < units.size() ? std::string_view(units[at]) : "");
        m_strGraphTime.set(at, at < times.size() ? std::string_view(times[at]) : "");
    }
    m_nGraphCount = n;
    ++m_nGraphLoads;
}

void SampleStore::adoptGraphSeries() {
    m_nRecCount = std::clamp(m_nGraphCount, 0, m_nMaxData);
    for (int i = 0; i < m_nRecCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        m_fRecData[i] = m_fGraphData[i];
        m_strRecUnit.set(at, m_strGraphUnit[at]);
        m_strRecTime.set(at, m_strGraphTime[at]);
        // The text export formats the seconds again; keep them with the text.
        m_tRecTime[i] = parseTimeText(std::string(m_strGraphTime[at])).value_or(0);
        m_nRecMillisecond[i] = -1;
        m_recLog[i] = std::nullopt; // a data file does not keep the mark
    }
}

void SampleStore::setCapacity(int samples) {
    m_nMaxData = std::clamp(samples, 1, MAX_DATA);
}

std::string formatTimeText(std::int64_t time) {
    const std::optional<std::tm> local = localCalendarTime(time);
    return local ? calendarText(*local, "%m-%d-%y/%H:%M:%S") : std::string();
}

std::optional<std::int64_t> parseTimeText(const std::string& text) {
    std::tm local{};
    const char* end = strptime(text.c_str(), "%m-%d-%y/%H:%M:%S", &local);
    if (!end || *end != '\0')
        return std::nullopt;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return static_cast<std::int64_t>(t);
}

RecordedSeries SampleStore::recorded(RecordedTexts& texts) const {
    const auto n = static_cast<std::size_t>(m_nRecCount);
    texts.units = m_strRecUnit.strings(0, n);
    texts.timeTexts = m_strRecTime.strings(0, n);
    return {std::span(m_fRecData).first(n), texts.units, std::span(m_tRecTime).first(n),
            texts.timeTexts};
}

std::span<const float> SampleStore::graphValues() const {
    const int n = std::clamp(m_nGraphCount, 0, static_cast<int>(m_fGraphData.size()));
    return std::span(m_fGraphData).first(static_cast<std::size_t>(n));
}
