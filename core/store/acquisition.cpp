#include "core/store/acquisition.h"

#include "core/link/frame.h"
#include "core/store/samplerate.h"
#include "core/text/valuetext.h"

#include <algorithm>
#include <bit>

namespace {

// Sets `field` to `text` and reports whether it changed.
bool assign(std::string& field, std::string text) {
    if (field == text)
        return false;
    field = std::move(text);
    return true;
}

} // namespace

void Acquisition::setStartupSampleRate(int index) {
    m_nSampleRateIni = index;
    m_nSampleMs = sampleRateMs(index);
}

BlockOutcome Acquisition::onBlock(std::span<const std::uint8_t> block, std::int64_t now,
                                  int millisecond) {
    BlockOutcome out;
    takeBlock(block, now, millisecond, out);
    return out;
}

void Acquisition::takeBlock(std::span<const std::uint8_t> block, std::int64_t now, int millisecond,
                            BlockOutcome& out) {
    SampleStore& s = m_store;
    if (s.recCount() == 0) {
        g_fRunMax = kNoRunMax;
        g_fRunMin = kNoRunMin;
    }

    if (const auto frame = decodeFrame(block)) {
        out.decoded = true;
        m_bBlink = !m_bBlink;

        if (m_showing == Showing::LoadedFile) {
            m_showing = Showing::Recording;
            s.reset();
            m_bUnsaved = false;
            // A new recording: what this block brought before is gone.
            out.rows.clear();
            out.regions = 0;
            out.updateViews = false;
            out.clearList = true;
            // The store is empty again: the extremes restart from this frame.
            g_fRunMax = kNoRunMax;
            g_fRunMin = kNoRunMin;
        }
        out.regions |= RegionBlink;
        m_bNewData = true;

        if (const char* keyword = modeKeyword(frame->modeByte);
            keyword && assign(m_panel.m_strMode, keyword))
            out.regions |= RegionMode;
        // The texts are made again only when what they show moved.
        if (frame->emissivityCount != m_nEmissivityShown) {
            m_nEmissivityShown = frame->emissivityCount;
            if (assign(m_panel.m_strEmissivity, fixedText(frame->emissivityCount / 100.0, 2)))
                out.regions |= RegionEmissivity;
        }

        m_bNegative = frame->negative();
        const float t = static_cast<float>(frame->temperatureCount * 0.1);
        const float v = m_bNegative ? -t : t;
        if (assign(m_panel.m_strValue, tenthsText(frame->temperatureCount, m_bNegative)))
            out.regions |= RegionValue;

        // A new extreme is the reading: its text is the value's.
        if (g_fRunMax < v) {
            g_fRunMax = m_panel.m_fMax = v;
            m_panel.m_strMax = m_panel.m_strValue;
            out.regions |= RegionMax;
        }
        if (g_fRunMin > v) {
            g_fRunMin = m_panel.m_fMin = v;
            m_panel.m_strMin = m_panel.m_strValue;
            out.regions |= RegionMin;
        }
        showExtremes();

        if (assign(m_strUnit, frame->celsius() ? "C" : "F"))
            out.regions |= RegionUnit;
        if (m_bLocked != frame->locked()) {
            m_bLocked = frame->locked();
            out.regions |= RegionLock;
        }

        m_pending.value = frame->logWithoutValue() ? kNoValue : v;
        m_pending.unit = m_strUnit;
        m_pending.time = now;
        m_pending.timeText = m_timeText.of(now);
        m_pending.valueText = m_panel.m_strValue;
        m_pending.millisecond = millisecond;
        s.storeCurrent(m_pending.value, m_pending.unit, m_pending.time, m_pending.timeText,
                       millisecond);

        const bool interval = isIntervalRate(m_nSampleRateSel);
        if (interval && !s.isFull())
            m_bReadingPending = true;
        if (!interval || frame->logFrame()) {
            const LogMark log = !frame->logFrame()     ? LogMark::None
                                : frame->logHasValue() ? LogMark::WithValue
                                                       : LogMark::WithoutValue;
            if (auto row = commitCurrent(
                    log == LogMark::None ? m_panel.m_strValue : listValueText(v, log), log))
                out.rows.push_back(std::move(*row));
        }
        out.updateViews = true;
    }

    out.storeFull = s.isFull();
}

void Acquisition::showExtremes() {
    // Compared bit for bit: -0.0 reads otherwise than 0.0.
    const auto same = [](float a, float b) {
        return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
    };
    if (!m_bExtremesShown || !same(m_panel.m_fMax, g_fRunMax))
        m_panel.m_strMax = fixedText(g_fRunMax, 1);
    if (!m_bExtremesShown || !same(m_panel.m_fMin, g_fRunMin))
        m_panel.m_strMin = fixedText(g_fRunMin, 1);
    m_panel.m_fMax = g_fRunMax;
    m_panel.m_fMin = g_fRunMin;
    m_bExtremesShown = true;
}

std::size_t Acquisition::onReceived(std::span<const std::uint8_t> bytes, std::int64_t now,
                                    BlockOutcome& out, int millisecond) {
    if (m_bContinueIntoNextFile && m_store.isFull()) {
        out.storeFull = true; // the next file is not started yet
        return 0;
    }
    std::size_t used = 0;
    while (const auto at = nextFrame(bytes, used)) {
        takeBlock(bytes.subspan(*at, kFrameSize), now, millisecond, out);
        if (out.storeFull) {
            // The port closes now: what follows the filling frame is not read,
            // unless it goes into the next file.
            return m_bContinueIntoNextFile ? *at + kFrameSize : bytes.size();
        }
    }
    out.storeFull = m_store.isFull();
    return used;
}

std::optional<ListRow> Acquisition::onCommitTimer() {
    if (!m_bReadingPending)
        return std::nullopt;
    // Clear Screen may have moved the current slot since the reading came.
    m_store.storeCurrent(m_pending.value, m_pending.unit, m_pending.time, m_pending.timeText,
                         m_pending.millisecond);
    return commitCurrent(m_pending.valueText);
}

std::optional<ListRow> Acquisition::commitCurrent(const std::string& valueText, LogMark log) {
    if (!m_store.commit(log))
        return std::nullopt;
    dropPending();
    m_bUnsaved = true;
    const int n = m_store.recCount();
    const auto at = static_cast<std::size_t>(n - 1);
    return ListRow{n - 1,
                   std::to_string(n),
                   valueText,
                   std::string(m_store.recUnit()[at]),
                   std::string(m_store.recTimeText()[at]),
                   log};
}

void Acquisition::restore(const RecordingSnapshot& r) {
    m_store.reset();
    const std::size_t n = std::min<std::size_t>(r.values.size(), MAX_DATA);
    const std::size_t graphFrom = n - std::min<std::size_t>(n, std::max(r.graphCount, 0));
    for (std::size_t i = 0; i < n; ++i) {
        // Samples before the last Clear Screen are in the recorded series only.
        if (i == graphFrom)
            m_store.clearGraph();
        m_store.storeCurrent(r.values[i], r.units[i], r.times[i], r.timeTexts[i],
                             i < r.milliseconds.size() ? r.milliseconds[i] : -1);
        m_store.commit(i < r.logs.size() ? r.logs[i] : LogMark::None);
    }
    if (graphFrom == n)
        m_store.clearGraph();
    dropPending();
    m_showing = Showing::Recording;
    m_bUnsaved = n > 0;
    g_fRunMax = r.runMax;
    g_fRunMin = r.runMin;
    m_bExtremesShown = false;
    showExtremes();
    if (n > 0)
        m_strUnit = r.units[n - 1];
}

void Acquisition::adoptLoadedSeries() {
    if (m_showing == Showing::LoadedFile)
        m_store.adoptGraphSeries();
}

bool Acquisition::selectSampleRate(int index) {
    m_nSampleRateSel = index;
    m_bSampleSelFromIni = false;
    dropPending();
    if (!isIntervalRate(index))
        return false;
    m_nSampleMs = sampleRateMs(index);
    m_bRestartTimer = true;
    return true;
}

OnOffPlan Acquisition::prepareOnOff() {
    OnOffPlan plan;
    if (m_bSampleSelFromIni) {
        m_nSampleRateSel = m_nSampleRateIni;
        if (isIntervalRate(m_nSampleRateSel)) {
            m_nSampleMs = sampleRateMs(m_nSampleRateSel);
            m_bRestartTimer = true;
            plan.updateViews = true;
        }
    }
    plan.askToSave = m_store.isFull();
    return plan;
}

void Acquisition::resetStore() {
    m_store.reset();
    dropPending();
    m_bUnsaved = false;
}

void Acquisition::clearScreen() {
    m_store.clearGraph();
}

void Acquisition::clearAll() {
    m_store.reset();
    dropPending();
    m_bUnsaved = false;
    const std::string eight(8, ' ');
    const std::string nine(9, ' ');
    m_panel.m_strValue = eight;
    m_panel.m_strEmissivity = eight;
    m_panel.m_strMode = eight;
    m_strUnit = eight;
    m_panel.m_strMax = nine;
    m_panel.m_strMin = nine;
    // The next frame writes every text again.
    m_nEmissivityShown = -1;
    m_bExtremesShown = false;
}

void Acquisition::overrideIntervalMs(int ms) {
    m_nSampleMs = ms;
    m_bRestartTimer = true;
}

void Acquisition::loadGraph(const std::vector<float>& values, const std::vector<std::string>& units,
                            const std::vector<std::string>& times) {
    m_store.loadGraph(values, units, times);
    m_showing = Showing::LoadedFile;
    // A reading taken before the load belongs to neither recording.
    dropPending();
}
