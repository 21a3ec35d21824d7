#pragma once

#include "store/acquisition.h"

#include <QObject>

// The document: holds the acquisition state (the sample store with its two
// series, the panel texts and the recording rules) and tells its views when
// they must redraw.
class CDTDoc : public QObject {
    Q_OBJECT
public:
    explicit CDTDoc(QObject* parent = nullptr) : QObject(parent) {}

    Acquisition m_acq;

    SampleStore& store() { return m_acq.m_store; }
    const SampleStore& store() const { return m_acq.m_store; }

    void UpdateAllViews() { Q_EMIT viewsNeedUpdate(); }

Q_SIGNALS:
    void viewsNeedUpdate();
};
