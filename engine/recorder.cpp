#include "engine/recorder.h"

#include "core/link/frame.h"

#include <QTimerEvent>

#include <ctime>

Recorder::Recorder(QObject* parent)
    : QObject(parent), m_clock([] { return static_cast<std::int64_t>(std::time(nullptr)); }) {}

void Recorder::receive(std::span<const std::uint8_t> bytes) {
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    if (m_buffer.size() < kFrameSize)
        return;
    BlockOutcome out;
    const std::size_t used = m_acq.onReceived(m_buffer, m_clock(), out);
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(used));
    if (out.storeFull)
        m_buffer.clear(); // the line closes: nothing more is read from it
    handle(out);
}

int Recorder::bytesWanted() const {
    return static_cast<int>(kFrameSize - std::min(m_buffer.size(), kFrameSize - 1));
}

void Recorder::discardBuffered() {
    m_buffer.clear();
}

void Recorder::setClock(std::function<std::int64_t()> clock) {
    m_clock = std::move(clock);
}

void Recorder::handle(const BlockOutcome& out) {
    if (out.clearList)
        Q_EMIT listCleared();
    if (out.regions)
        Q_EMIT panelChanged(out.regions);
    for (const ListRow& row : out.rows)
        Q_EMIT rowAppended(row);
    if (out.updateViews)
        Q_EMIT graphChanged();
    if (out.clearList || !out.rows.empty())
        Q_EMIT recordingChanged();
    if (out.storeFull)
        Q_EMIT storeFull();
}

void Recorder::setStartupSampleRate(int index) {
    m_acq.setStartupSampleRate(index);
}

bool Recorder::selectSampleRate(int index) {
    if (!m_acq.selectSampleRate(index))
        return false;
    armTimer();
    return true;
}

void Recorder::overrideIntervalMs(int ms) {
    m_acq.overrideIntervalMs(ms);
    armTimer();
}

OnOffPlan Recorder::prepareOnOff() {
    const OnOffPlan plan = m_acq.prepareOnOff();
    if (m_acq.restartTimer())
        armTimer();
    return plan;
}

void Recorder::resetStore() {
    m_acq.resetStore();
    Q_EMIT listCleared();
    Q_EMIT graphChanged();
    Q_EMIT recordingChanged();
}

void Recorder::clearScreen() {
    m_acq.clearScreen();
    Q_EMIT graphChanged();
}

void Recorder::clearAll() {
    m_acq.clearAll();
    Q_EMIT panelChanged(~0u);
    Q_EMIT listCleared();
    Q_EMIT graphChanged();
    Q_EMIT recordingChanged();
}

void Recorder::loadGraph(const std::vector<float>& values, const std::vector<std::string>& units,
                         const std::vector<std::string>& times) {
    m_acq.loadGraph(values, units, times);
    Q_EMIT graphChanged();
    Q_EMIT recordingChanged();
}

void Recorder::adoptLoadedSeries() {
    if (m_acq.resetOnNextFrame() != 1)
        return;
    m_acq.adoptLoadedSeries();
    Q_EMIT recordingChanged();
}

void Recorder::markSaved() {
    m_acq.markSaved();
    Q_EMIT recordingChanged();
}

void Recorder::newDataSeen() {
    m_acq.newDataSeen();
}

void Recorder::blinkOff() {
    m_acq.blinkOff();
}

void Recorder::setCapacity(int samples) {
    m_acq.setCapacity(samples);
}

void Recorder::commitPending() {
    if (const auto row = m_acq.onCommitTimer()) {
        Q_EMIT rowAppended(*row);
        Q_EMIT graphChanged();
        Q_EMIT recordingChanged();
    }
}

void Recorder::armTimer() {
    m_acq.timerRestarted();
    const int ms = m_acq.sampleMs();
    // With "Auto" nothing ever waits: the timer keeps whatever period it had.
    if (ms > 0) {
        m_commitTimer.start(ms, this);
        m_nCommitTimerMs = ms;
    }
}

void Recorder::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_commitTimer.timerId())
        commitPending();
    else
        QObject::timerEvent(event);
}
