#include "engine/recorder.h"

#include "core/link/frame.h"
#include "core/text/valuetext.h"

#include <QTimerEvent>

#include <chrono>

Recorder::Recorder(QObject* parent)
    : QObject(parent), m_clock([] {
          return std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::system_clock::now().time_since_epoch())
              .count();
      }) {}

void Recorder::receive(std::span<const std::uint8_t> bytes) {
    m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    while (m_buffer.size() >= kFrameSize) {
        const CommandState commands = commandState();
        BlockOutcome out;
        // The rows go into the room the last block's took.
        out.rows = std::move(m_rowRoom);
        out.rows.clear();
        const std::int64_t nowMs = m_clock();
        const std::int64_t now = nowMs / 1000 - (nowMs % 1000 < 0 ? 1 : 0);
        const std::size_t used =
            m_acq.onReceived(m_buffer, now, out, static_cast<int>(nowMs - now * 1000));
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(used));
        if (out.storeFull && !continuesIntoNextFile())
            m_buffer.clear(); // the line closes: nothing more is read from it
        handle(out, commandState() != commands);
        m_rowRoom = std::move(out.rows);
        // Going on into the next file, the owner emptied the store while
        // storeFull() was handled: what followed the filling frame goes on.
        if (!out.storeFull || store().isFull())
            break;
    }
}

void Recorder::setContinueIntoNextFile(bool on) {
    m_acq.setContinueIntoNextFile(on);
}

int Recorder::bytesWanted() const {
    return static_cast<int>(kFrameSize - std::min(m_buffer.size(), kFrameSize - 1));
}

void Recorder::discardBuffered() {
    m_buffer.clear();
}

void Recorder::setClock(std::function<std::int64_t()> clock) {
    m_clock = [clock = std::move(clock)] { return clock() * 1000; };
}

Recorder::CommandState Recorder::commandState() const {
    return {store().recCount() == 0, m_acq.unsaved(), store().isFull()};
}

void Recorder::handle(const BlockOutcome& out, bool commandsChanged) {
    if (out.clearList) {
        // The first frame after a load emptied the store: a new recording.
        if (m_journal)
            m_journal->clear();
        Q_EMIT listCleared();
    }
    journalRows(out.rows);
    if (out.decoded)
        ++m_nFramesDecoded;
    if (out.regions)
        Q_EMIT panelChanged(out.regions);
    for (const ListRow& row : out.rows) {
        Q_EMIT rowAppended(row);
        checkAlarm(row);
    }
    if (out.updateViews)
        Q_EMIT graphChanged();
    // Not for every reading: the commands follow only the state above.
    if (out.clearList || commandsChanged)
        Q_EMIT recordingChanged();
    if (out.storeFull)
        Q_EMIT storeFull();
}

void Recorder::setAlarmLimits(int high, int low) {
    const AlarmLimits limits = AlarmLimits::ordered(high, low);
    if (limits == m_limits)
        return;
    m_limits = limits;
    Q_EMIT alarmLimitsChanged(m_limits);
}

void Recorder::checkAlarm(const ListRow& row) {
    const SampleStore& s = m_acq.store();
    const auto at = static_cast<std::size_t>(row.index);
    if (const auto change = m_alarm.onReading(s.recData()[at], s.recUnit()[at], s.recTime()[at],
                                              m_limits.high, m_limits.low))
        Q_EMIT alarmChanged(*change);
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
    if (m_journal)
        m_journal->clear();
    afterJournalWrite();
    Q_EMIT listCleared();
    Q_EMIT graphChanged();
    Q_EMIT recordingChanged();
}

void Recorder::startNextFileKeepingJournal() {
    m_acq.resetStore();
    Q_EMIT listCleared();
    Q_EMIT graphChanged();
    Q_EMIT recordingChanged();
}

void Recorder::clearScreen() {
    m_acq.clearScreen();
    if (m_journal) {
        m_journal->appendClearScreen(m_acq.store().recCount());
        afterJournalWrite();
    }
    Q_EMIT graphChanged();
}

void Recorder::clearAll() {
    m_acq.clearAll();
    if (m_journal)
        m_journal->clear();
    afterJournalWrite();
    Q_EMIT panelChanged(RegionWhole);
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

void Recorder::restore(const JournalRecording& recording) {
    m_acq.restore(recording);
    Q_EMIT listCleared();
    const SampleStore& s = m_acq.store();
    // The rows read as the live list showed them: a logged reading with its
    // mark, any other with its value as it came (3000.0 too).
    for (int i = 0; i < s.recCount(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        const LogMark log = at < recording.logs.size() ? recording.logs[at] : LogMark::None;
        Q_EMIT rowAppended(ListRow{i, std::to_string(i + 1), listValueText(s.recData()[at], log),
                                   std::string(s.recUnit()[at]), std::string(s.recTimeText()[at]),
                                   log});
    }
    Q_EMIT panelChanged(RegionMax | RegionMin | RegionUnit);
    Q_EMIT graphChanged();
    Q_EMIT recordingChanged();
}

void Recorder::adoptLoadedSeries() {
    if (m_acq.showing() != Showing::LoadedFile)
        return;
    m_acq.adoptLoadedSeries();
    Q_EMIT recordingChanged();
}

void Recorder::markSaved() {
    m_acq.markSaved();
    if (m_journal) {
        m_journal->appendSaved(m_acq.store().recCount());
        m_journal->sync();
        afterJournalWrite();
    }
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
        journalRows({*row});
        Q_EMIT rowAppended(*row);
        checkAlarm(*row);
        Q_EMIT graphChanged();
        Q_EMIT recordingChanged();
        if (continuesIntoNextFile() && store().isFull())
            Q_EMIT storeFull();
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

void Recorder::setJournal(std::unique_ptr<RecordingJournal> journal) {
    m_journal = std::move(journal);
    // A failure while the owner opened, restored or set it aside is told now,
    // not at the first sample.
    afterJournalWrite();
}

void Recorder::discardJournal() {
    if (m_journal)
        m_journal->clear();
    afterJournalWrite();
}

void Recorder::stopJournal() {
    m_syncTimer.stop();
    if (m_journal) {
        m_journal->sync();
        m_journal->close();
    }
}

void Recorder::journalRows(const std::vector<ListRow>& rows) {
    if (!m_journal || rows.empty())
        return;
    for (const ListRow& row : rows)
        m_journal->appendCommitted(m_acq.store(), row.index, m_acq.runMax(), m_acq.runMin(),
                                   row.log);
    afterJournalWrite();
}

void Recorder::afterJournalWrite() {
    if (!m_journal)
        return;
    if (const auto error = m_journal->takeError())
        Q_EMIT journalFailed(QString::fromStdString(*error));
    if (m_journal->unsynced() && !m_syncTimer.isActive())
        m_syncTimer.start(kSyncMs, this);
}

void Recorder::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_syncTimer.timerId()) {
        m_syncTimer.stop();
        if (m_journal)
            m_journal->sync();
        afterJournalWrite();
    } else if (event->timerId() == m_commitTimer.timerId()) {
        commitPending();
    } else {
        QObject::timerEvent(event);
    }
}
