#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QSerialPort;

// The serial component: one port, opened by number, with fixed line settings.
// Received bytes are buffered; once RThreshold or more are waiting, OnComm is
// raised and the handler reads the whole buffer with input().
class CMSComm : public QObject {
    Q_OBJECT
public:
    static constexpr short comEvReceive = 2;

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
    short inputLen() const { return m_nInputLen; }
    void setInputLen(short n) { m_nInputLen = n; }
    long inputMode() const { return m_nInputMode; }
    void setInputMode(long mode) { m_nInputMode = mode; }
    short inBufferCount() const { return static_cast<short>(m_buffer.size()); }
    // Writing 0 empties the receive buffer.
    void setInBufferCount(short n);
    short commEvent() const { return comEvReceive; }

    bool portOpen() const;
    // Opens or closes the port. Opening failures return false and leave the
    // reason in lastError(), with the device path.
    bool setPortOpen(bool open);
    QString lastError() const { return m_strLastError; }

    // Reads what is buffered (InputLen 0: all of it) and removes it.
    QByteArray input();
    // Puts bytes back at the front of the buffer, for a reader that consumed
    // more than it could use.
    void unread(const QByteArray& bytes);

Q_SIGNALS:
    void OnComm();
    // The line went away while open (hang-up, unplug). The port is closed.
    void lineLost(const QString& reason);

private:
    void readAvailable();
    void handleError();
    void raiseIfThreshold();

    QSerialPort* m_port = nullptr;
    QByteArray m_buffer;
    std::function<QString(int)> m_resolver;
    QString m_boundDevice;
    QString m_strSettings = QStringLiteral("9600,n,8,1");
    QString m_strLastError;
    QString m_strOpenPath;
    qint32 m_nBaud = 9600;
    short m_nCommPort = 1;
    short m_nRThreshold = 0;
    short m_nInputLen = 0;
    long m_nInputMode = 0;
    bool m_bRaising = false;
    bool m_bRecheckQueued = false;
};
