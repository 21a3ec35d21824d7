#pragma once

#include <QObject>

class QSocketNotifier;

// Ctrl+C (SIGINT), SIGTERM and SIGHUP as a Qt signal: the handler only writes
// a byte into a socket pair, and the event loop reads it and emits stopAsked(),
// so whatever the program does when asked to stop runs outside the handler.
// One instance per process.
class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Installs the handlers; false (with errno set) when the socket pair cannot
    // be made.
    bool install();
    // The signal that arrived last (SIGINT, SIGTERM, SIGHUP), 0 before any.
    int lastSignal() const { return m_nLastSignal; }

Q_SIGNALS:
    void stopAsked();

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
    int m_nLastSignal = 0;
};
