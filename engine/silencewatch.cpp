#include "engine/silencewatch.h"

#include <QTimerEvent>

SilenceWatch::SilenceWatch(QObject* parent)
    : QObject(parent), m_nTimeoutMs(timeoutFromEnvironment()) {}

int SilenceWatch::timeoutFromEnvironment() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ORVANE_SILENCE_MS", &ok);
    return ok && ms > 0 ? ms : kTimeoutMs;
}

void SilenceWatch::start() {
    m_bSilent = false;
    m_sinceFrame.start();
    m_timer.start(m_nTimeoutMs, Qt::CoarseTimer, this);
}

void SilenceWatch::stop() {
    m_timer.stop();
    m_bSilent = false;
}

void SilenceWatch::frameArrived() {
    if (m_bSilent) {
        m_bSilent = false;
        Q_EMIT readingsBack();
    }
    m_sinceFrame.start();
    if (!m_timer.isActive())
        m_timer.start(m_nTimeoutMs, Qt::CoarseTimer, this);
}

QString SilenceWatch::silenceText(const QString& device) const {
    const int seconds = (m_nTimeoutMs + 999) / 1000;
    return tr("No readings from %1 for %2 s: is the instrument switched on, in its "
              "data mode, and on this port?")
        .arg(device)
        .arg(seconds);
}

void SilenceWatch::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    const qint64 quiet = m_sinceFrame.elapsed();
    if (quiet < m_nTimeoutMs) {
        m_timer.start(static_cast<int>(m_nTimeoutMs - quiet), Qt::CoarseTimer, this);
        return;
    }
    m_timer.stop(); // once per silence
    m_bSilent = true;
    Q_EMIT silenceBegan();
}
