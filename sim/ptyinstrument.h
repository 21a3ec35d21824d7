#pragma once

#include "core/link/frame.h"
#include "core/result.h"
#include "core/sim/signalprofile.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QSerialPort;

// The simulated thermometer. It either creates a pseudo-terminal, whose slave
// side the logger opens like any serial port, or drives a real serial device at
// 2400 baud 8N1, and writes instrument frames to it on a timer. Everything runs
// on the caller's event loop; nothing blocks.
class PtyInstrument : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString device;   // serial device to drive; empty: create a pseudo-terminal
        QString linkPath; // pseudo-terminal only: symlink to the slave, removed at stop
        SignalProfile::Params profile;
        int periodMs = 500; // time between frames (between bursts); never below the wire time
        int modeIndex = 0;  // 0..8: "EMS" .. "LOG"
        double emissivity = 0.95;
        bool locked = false;
        int logEvery = 0; // every N-th frame is a log frame; 0: none
        bool logWithValue = true;
        bool startMidFrame = false; // the first write is only the tail of a frame
        int garbageEvery = 0;       // a few stray bytes after every N-th frame; 0: none
        int burst = 1;              // frames sent back to back at the wire rate every period
        int count = 0;              // stop writing after this many frames; 0: endless
        bool maxRate = false;       // frames back to back at the wire rate, period ignored
    };

    static constexpr int kBaud = 2400;
    static constexpr double kByteMs = 10 * 1000.0 / kBaud;   // start, 8 data and stop bit
    static constexpr double kFrameMs = kFrameSize * kByteMs; // 58.33 ms per frame on the wire

    // The instrument the programs' --simulator plays: a slow sine around
    // 100 degrees with a little noise and a log frame now and then.
    static Options builtInOptions();

    explicit PtyInstrument(QObject* parent = nullptr);
    explicit PtyInstrument(const Options& options, QObject* parent = nullptr);
    ~PtyInstrument() override;
    PtyInstrument(const PtyInstrument&) = delete;
    PtyInstrument& operator=(const PtyInstrument&) = delete;

    // Takes effect at the next start().
    void setOptions(const Options& options) { m_options = options; }
    const Options& options() const { return m_options; }

    // Opens the line and starts writing, or says why it could not. A running
    // instrument is stopped first.
    Result<void, QString> start();
    // Stops writing, closes the line and removes the symlink. Safe to repeat.
    void stop();
    bool isRunning() const { return m_running; }
    // The path a reader opens: the pseudo-terminal's slave or the given device;
    // empty when not running.
    QString slavePath() const { return m_slavePath; }
    int framesWritten() const { return m_framesWritten; }

Q_SIGNALS:
    // Frame n (1 for the first complete frame) has been handed to the line.
    void frameWritten(int n);
    // The last of Options::count frames has left: it was read from the
    // pseudo-terminal, or handed to the device driver, or nobody took it within
    // a second. The line stays open until stop().
    void finished();
    // The serial device failed (for example it was unplugged); writing stopped.
    void failed(const QString& reason);

private:
    Result<void, QString> openPty();
    Result<void, QString> openDevice();
    Result<void, QString> makeLink();
    void removeLink();
    void tick();
    void scheduleNext(double nowMs);
    void armAt(double dueMs, double nowMs);
    void send(const QByteArray& bytes, double nowMs);
    void flushPending();
    void discardStaleInput();
    void checkDrained();
    int slaveQueued() const;
    double elapsedMs() const;

    Options m_options;
    SignalProfile m_profile{SignalProfile::Params{}};
    bool m_running = false;
    QString m_slavePath;
    QString m_linkMade; // the symlink this instrument created, if any
    int m_masterFd = -1;
    int m_slaveFd = -1;
    QSerialPort* m_port = nullptr;

    QTimer m_tickTimer;
    QTimer m_drainTimer;
    QElapsedTimer m_clock;
    QElapsedTimer m_drainClock;
    double m_wireFreeAtMs = 0; // when the bytes written so far have left at 2400 baud
    double m_burstStartMs = 0; // nominal start of the current burst
    int m_inBurst = 0;
    bool m_tailPending = false;
    int m_framesWritten = 0;
    int m_garbageWritten = 0;
    QByteArray m_pending; // bytes the pseudo-terminal did not take yet
};
