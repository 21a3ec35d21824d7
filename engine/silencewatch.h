#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

// Notices a line that brings no readings: the instrument switched off, the
// wrong port, the instrument not in its data mode. Started when the port
// opens; every decoded frame is told to it. After `timeoutMs` without a frame
// it reports the silence once, and when frames come again it says so.
class SilenceWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 10000;

    explicit SilenceWatch(QObject* parent = nullptr);

    // The port opened (again): the wait for the first frame begins.
    void start();
    // The port closed: nothing is watched.
    void stop();
    // A frame was decoded.
    void frameArrived();
    bool silent() const { return m_bSilent; }
    int timeoutMs() const { return m_nTimeoutMs; }
    // The text of a silence on `device`, as the window and orvane-cli say it.
    QString silenceText(const QString& device) const;

    // ORVANE_SILENCE_MS in the environment shortens the wait (tests,
    // demonstrations); anything else keeps kTimeoutMs.
    static int timeoutFromEnvironment();

Q_SIGNALS:
    void silenceBegan();
    void readingsBack();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    // Frames do not move the timer (it is a cost on every reading): when it
    // runs out it waits again for what is left since the last frame.
    QBasicTimer m_timer;
    QElapsedTimer m_sinceFrame;
    int m_nTimeoutMs = kTimeoutMs;
    bool m_bSilent = false;
};
