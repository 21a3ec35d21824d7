#pragma once

#include "core/viewer/minmaxpyramid.h"
#include "core/viewer/recordingreader.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// What the viewer shows: the recordings read and their pyramid, read-only
// once made.
struct ViewerData {
    LoadedRecordings loaded;
    MinMaxPyramid pyramid;

    const RecordingSeries& series() const { return loaded.series; }
};

// Reads recordings on a thread of its own, never on the event loop: progress
// in thousandths while it runs, then the data (the series and its pyramid).
// Cancel() stops it soon; so does destroying it, which waits for the thread.
class RecordingLoad : public QObject {
    Q_OBJECT

public:
    explicit RecordingLoad(QObject* parent = nullptr);
    ~RecordingLoad() override;

    void start(std::vector<std::string> named);
    void cancel();
    bool running() const { return m_running; }

Q_SIGNALS:
    void progress(int permille);
    void finished(std::shared_ptr<const ViewerData> data);

private:
    void join();

    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_permille{-1};
    bool m_running = false;
    int m_generation = 0; // a late answer of a load started before is dropped
};
