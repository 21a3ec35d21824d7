#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QString>

class CMSComm;

// Waits for a lost serial device to come back. Once started it tries to open
// the same port again about once a second, with the settings the port already
// has; nothing spins while the device is away. A device that is there but
// cannot be opened (no permission, busy) is reported once per reason, and the
// waiting goes on.
class Reconnector : public QObject {
    Q_OBJECT
public:
    explicit Reconnector(CMSComm& comm, QObject* parent = nullptr);

    void start();
    void stop();
    bool waiting() const { return m_timer.isActive(); }

    static constexpr int kRetryMs = 1000;

Q_SIGNALS:
    // The port is open again.
    void reconnected();
    // The device is there but would not open; the reason names it.
    void attemptFailed(const QString& reason);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void tryOpen();

    CMSComm& m_comm;
    QBasicTimer m_timer;
    QString m_strLastReason;
};
