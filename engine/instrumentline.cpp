#include "engine/instrumentline.h"

#include "core/link/frame.h"
#include "engine/linereading.h"
#include "engine/recorder.h"

#include <memory>

InstrumentLine::InstrumentLine(Recorder& recorder, QObject* parent)
    : QObject(parent), m_recorder(recorder) {
    // The instrument's fixed line settings, an event per frame; the port
    // opens only when asked.
    m_Comm.setSettings(QStringLiteral("2400,n,8,1"));
    m_Comm.setRThreshold(kFrameSize);
    m_Comm.setInBufferCount(0);
    connect(&m_Comm, &CMSComm::OnComm, this, &InstrumentLine::OnComm);
    connect(&m_Comm, &CMSComm::lineLost, this, &InstrumentLine::onLost);
    connect(&m_Comm, &CMSComm::lineShared, this, &InstrumentLine::shared);
    connect(&m_reconnect, &Reconnector::reconnected, this, [this] {
        opened();
        setState(LineState::Online);
        Q_EMIT reconnected();
    });
    connect(&m_reconnect, &Reconnector::attemptFailed, this, &InstrumentLine::reconnectFailed);
    connect(&m_silence, &SilenceWatch::silenceBegan, this, &InstrumentLine::silenceBegan);
    connect(&m_silence, &SilenceWatch::readingsBack, this, &InstrumentLine::readingsBack);
    connect(&m_recorder, &Recorder::journalFailed, this, &InstrumentLine::journalFailed);
}

void InstrumentLine::setDeviceResolver(std::function<QString(int)> resolver) {
    m_Comm.setDeviceResolver(std::move(resolver));
}

void InstrumentLine::bindDevice(const QString& path) {
    m_Comm.bindDevice(path);
}

void InstrumentLine::setPort(int port) {
    if (port == m_nPort)
        return;
    m_nPort = port;
    Q_EMIT portChanged(port);
}

Result<void, PortOpenError> InstrumentLine::open() {
    close();
    m_Comm.setCommPort(static_cast<short>(m_nPort));
    auto result = m_Comm.setPortOpen(true);
    if (result)
        opened();
    setState(result ? LineState::Online : LineState::Closed);
    return result;
}

void InstrumentLine::close() {
    m_reconnect.stop();
    m_silence.stop();
    if (m_Comm.portOpen())
        (void)m_Comm.setPortOpen(false);
    setState(LineState::Closed);
}

void InstrumentLine::setState(LineState state) {
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT stateChanged(state);
}

void InstrumentLine::opened() {
    startReading(m_Comm, m_recorder);
    m_silence.start();
}

void InstrumentLine::OnComm() {
    const std::uint64_t frames = m_recorder.framesDecoded();
    readWaiting(m_Comm, m_recorder, [this] { Q_EMIT aboutToReceive(); });
    if (m_recorder.framesDecoded() != frames)
        m_silence.frameArrived();
}

void InstrumentLine::onLost(const QString& reason) {
    // An unattended recording must not stop: the port is closed, every sample
    // is kept, and the same device is opened again as soon as it is back.
    m_silence.stop();
    m_reconnect.start();
    setState(LineState::Lost);
    Q_EMIT lost(reason);
}

JournalTaken
InstrumentLine::openJournal(const std::filesystem::path& first,
                            const std::function<bool(const RecordingJournal&)>& offerRestore) {
    // Runs recording at once journal each into one of recording.journal,
    // recording-2.journal, ...
    std::unique_ptr<RecordingJournal> journal;
    if (offerRestore) {
        for (const std::filesystem::path& candidate : numberedJournals(first)) {
            auto found = std::make_unique<RecordingJournal>();
            if (!found->open(candidate))
                continue; // another run's, or unusable: a free one is taken below
            if (found->found().recording.unsavedCount() == 0)
                continue;
            if (offerRestore(*found)) {
                m_recorder.restore(found->found().recording);
                found->resume();
                journal = std::move(found);
                break; // the others wait for the next start or orvane-cli recover
            }
            found->setAside();
            if (!journal && found->ready())
                journal = std::move(found);
        }
    }
    JournalTaken taken;
    if (journal)
        taken.journal = std::move(journal);
    else
        taken = takeFreeJournal(first);
    if (taken.journal)
        m_recorder.setJournal(std::move(taken.journal));
    return taken;
}

bool InstrumentLine::journalled() const {
    return m_recorder.journal() != nullptr;
}

void InstrumentLine::closeJournal(bool recordingKept) {
    if (recordingKept)
        m_recorder.discardJournal();
    m_recorder.stopJournal();
}
