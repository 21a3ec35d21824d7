#pragma once

#include "engine/recorder.h"

#include <QObject>

// The document: holds the recording engine (the sample store with its two
// series, the panel texts and the recording rules) and tells its views when
// they must redraw.
class CDTDoc : public QObject {
    Q_OBJECT
public:
    explicit CDTDoc(QObject* parent = nullptr) : QObject(parent) {}

    // The recording engine the document holds; its views and the window act
    // on it through its named operations.
    Recorder& recorder() { return m_recorder; }
    const Recorder& recorder() const { return m_recorder; }
    const Acquisition& acq() const { return m_recorder.acquisition(); }
    const SampleStore& store() const { return m_recorder.store(); }

    void UpdateAllViews() { Q_EMIT viewsNeedUpdate(); }

Q_SIGNALS:
    void viewsNeedUpdate();

private:
    Recorder m_recorder;
};
