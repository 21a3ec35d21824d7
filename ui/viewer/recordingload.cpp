#include "ui/viewer/recordingload.h"

#include <QMetaObject>

RecordingLoad::RecordingLoad(QObject* parent) : QObject(parent) {}

RecordingLoad::~RecordingLoad() {
    cancel();
    join();
}

void RecordingLoad::join() {
    if (m_thread.joinable())
        m_thread.join();
}

void RecordingLoad::cancel() {
    m_cancel = true;
}

void RecordingLoad::start(std::vector<std::string> named) {
    cancel();
    join();
    m_cancel = false;
    m_permille = -1;
    m_running = true;
    const int generation = ++m_generation;
    m_thread = std::thread([this, generation, named = std::move(named)] {
        LoadControl control;
        control.cancel = &m_cancel;
        control.progress = [this](std::uint64_t done, std::uint64_t total) {
            const int permille = total ? static_cast<int>(done * 1000 / total) : 0;
            if (m_permille.exchange(permille) == permille)
                return;
            QMetaObject::invokeMethod(
                this, [this, permille] { Q_EMIT progress(permille); }, Qt::QueuedConnection);
        };
        auto data = std::make_shared<ViewerData>();
        data->loaded = readRecordings(named, control);
        if (!data->loaded.cancelled)
            data->pyramid = MinMaxPyramid(data->loaded.series);
        QMetaObject::invokeMethod(
            this,
            [this, generation, data = std::shared_ptr<const ViewerData>(std::move(data))] {
                if (generation != m_generation)
                    return;
                m_running = false;
                join();
                Q_EMIT finished(data);
            },
            Qt::QueuedConnection);
    });
}
