#pragma once

#include "core/config/serialdevices.h"
#include "core/result.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QSerialPort;

// Why a port did not open: the kind of failure, and the message that names the
// device and the system's reason.
struct PortOpenError {
    PortFailure failure = PortFailure::Other;
    QString message;
};

// The serial component: one port, opened by number, with fixed line settings.
// Once RThreshold or more received bytes are waiting, OnComm is raised and the
// handler reads them all with input().
class CMSComm : public QObject {
    Q_OBJECT
public:
    explicit CMSComm(QObject* parent = nullptr);
    ~CMSComm() override;

    // Maps a port number to a device path. Without a resolver COM n is
    // /dev/ttyUSB<n-1>; a bound device (--device) takes precedence over both.
    void setDeviceResolver(std::function<QString(int)> resolver);
    void bindDevice(const QString& path) { m_boundDevice = path; }
    QString devicePath(int port) const;
    QString currentDevicePath() const { return devicePath(m_nCommPort); }

    short commPort() const { return m_nCommPort; }
    void setCommPort(short port) { m_nCommPort = port; }
    QString settings() const { return m_strSettings; }
    // Accepts "baud,parity,data,stop", e.g. "2400,n,8,1"; false when malformed.
    bool setSettings(const QString& settings);
    short rThreshold() const { return m_nRThreshold; }
    void setRThreshold(short n) { m_nRThreshold = n; }
    // The bytes received and not yet read.
    qint64 inBufferCount() const;
    // Writing 0 empties the receive buffer.
    void setInBufferCount(short n);

    bool portOpen() const;
    // Opens or closes the port; an open that fails says why.
    Result<void, PortOpenError> setPortOpen(bool open);

    // Reads everything received and removes it from the buffer.
    QByteArray input();

Q_SIGNALS:
    void OnComm();
    // The line went away while open (hang-up, unplug). The port is closed.
    void lineLost(const QString& reason);
    // Another program reads the open device and takes readings from this
    // one's. Said once an opening; the port stays open.
    void lineShared(const QString& reason);

private:
    void readAvailable();
    void handleError();
    bool hungUp() const;
    QString sharedText() const;

    QSerialPort* m_port = nullptr;
    bool m_bSharedTold = false;
    std::function<QString(int)> m_resolver;
    QString m_boundDevice;
    QString m_strSettings = QStringLiteral("9600,n,8,1");
    QString m_strOpenPath;
    qint32 m_nBaud = 9600;
    short m_nCommPort = 1;
    short m_nRThreshold = 0;
};
