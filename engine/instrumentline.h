#pragma once

#include "core/journal/journalslots.h"
#include "engine/cmscomm.h"
#include "engine/reconnector.h"
#include "engine/silencewatch.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>

class Recorder;

// Where the line is: closed, open on its device (on line), or lost and waiting
// for its device to come back.
enum class LineState { Closed, Online, Lost };

// The line to one instrument, as the window and orvane-cli run it: opens the
// device with the instrument's line settings, hands what arrives to the
// Recorder, journals the recording, notices a lost line and opens the same
// device again when it is back, and watches for a line that brings no
// readings. What happens is told through the signals.
class InstrumentLine : public QObject {
    Q_OBJECT
public:
    explicit InstrumentLine(Recorder& recorder, QObject* parent = nullptr);

    // ---- the device
    // Maps a port number to a device path (see CMSComm::setDeviceResolver).
    void setDeviceResolver(std::function<QString(int)> resolver);
    // Every port number opens `path` (--device).
    void bindDevice(const QString& path);
    // The port the next open() opens; an open line stays on the device it
    // has until then.
    void setPort(int port);
    int port() const { return m_nPort; }
    QString devicePath(int port) const { return m_Comm.devicePath(port); }
    // The port and device the line is open on, waits for, or last tried.
    int openPort() const { return m_Comm.commPort(); }
    QString devicePath() const { return m_Comm.currentDevicePath(); }
    // The line is open (or waits) on another port than the one set.
    bool portPending() const { return m_state != LineState::Closed && openPort() != m_nPort; }

    // Opens the device of the port set (closing it first if open). What it
    // sent before is not a reading of this run; the silence watch starts.
    Result<void, PortOpenError> open();
    // Closes the line: the port, the wait for a lost device, the silence watch.
    void close();
    bool isOpen() const { return m_Comm.portOpen(); }
    LineState state() const { return m_state; }
    // The line was lost and the device is waited for.
    bool waitingForDevice() const { return m_state == LineState::Lost; }
    // What to say of the current silence (see SilenceWatch::silenceText), of
    // the device called `name` (empty: its path).
    QString silenceText(const QString& name = {}) const {
        return m_silence.silenceText(name.isEmpty() ? devicePath() : name);
    }

    // ---- the journal
    // Journals the recording from now on in one journal of the set `first`
    // begins. With `offerRestore`, each unsaved recording found there is
    // offered to it first, in number order: the first it takes is restored
    // into the Recorder and journalled on; each it declines is set aside.
    // Otherwise (or when it takes none) the first free journal is used (see
    // takeFreeJournal). What was found is returned; journalled() says whether
    // a journal was opened.
    JournalTaken openJournal(const std::filesystem::path& first,
                             const std::function<bool(const RecordingJournal&)>& offerRestore = {});
    bool journalled() const;
    // At the end of the run. `recordingKept` (saved elsewhere, or declined):
    // the journal is emptied. Either way what it holds reaches the disk and
    // its lock goes.
    void closeJournal(bool recordingKept);

Q_SIGNALS:
    // The state changed; the port set changed.
    void stateChanged(LineState state);
    void portChanged(int port);
    // Bytes are about to go to the Recorder: the moment between two reads.
    void aboutToReceive();
    // The line went away (`reason` names the device). The port is closed and
    // the device is waited for.
    void lost(const QString& reason);
    // Another program reads the open device too and takes readings from
    // this one (said once an opening); the line stays open.
    void shared(const QString& reason);
    // The lost device is open again.
    void reconnected();
    // The lost device is there but would not open; the waiting goes on.
    void reconnectFailed(const QString& reason);
    // No frame came for the silence watch's time; frames came again.
    void silenceBegan();
    void readingsBack();
    // The journal could not be written; the recording goes on in memory.
    void journalFailed(const QString& reason);

private:
    void OnComm();
    void onLost(const QString& reason);
    // After an open: an empty buffer, and the wait for the first frame.
    void opened();
    void setState(LineState state);

    Recorder& m_recorder;
    CMSComm m_Comm;
    Reconnector m_reconnect{m_Comm};
    SilenceWatch m_silence;
    int m_nPort = 1;
    LineState m_state = LineState::Closed;
};
