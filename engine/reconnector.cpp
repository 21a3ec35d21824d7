#include "engine/reconnector.h"

#include "engine/cmscomm.h"

#include <QFileInfo>
#include <QTimerEvent>

Reconnector::Reconnector(CMSComm& comm, QObject* parent) : QObject(parent), m_comm(comm) {}

void Reconnector::start() {
    m_strLastReason.clear();
    m_timer.start(kRetryMs, this);
}

void Reconnector::stop() {
    m_timer.stop();
}

void Reconnector::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId())
        tryOpen();
    else
        QObject::timerEvent(event);
}

void Reconnector::tryOpen() {
    // Absent (unplugged, or a link not yet pointed anywhere): keep waiting quietly.
    if (!QFileInfo::exists(m_comm.currentDevicePath()))
        return;
    const auto opened = m_comm.setPortOpen(true);
    if (opened) {
        m_timer.stop();
        Q_EMIT reconnected();
        return;
    }
    const QString& reason = opened.error().message;
    if (reason != m_strLastReason) {
        m_strLastReason = reason;
        Q_EMIT attemptFailed(reason);
    }
}
