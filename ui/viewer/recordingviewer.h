#pragma once

#include "core/viewer/spanstatistics.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <memory>

class EpisodeList;
class QAction;
class QLabel;
class QPagedPaintDevice;
class StatisticsPanel;
class QProgressDialog;
class Prompter;
class RecordingLoad;
class ViewerOverview;
class ViewerPlot;
struct ViewerData;

// The recording viewer: a read-only window that shows recordings of any
// length (data-file chains, CSV files, folders) on a clock, with an overview
// strip, the hover readout in the status bar, export of the visible span or
// all as CSV and the picture as PNG. Reading runs on a thread of its own, with
// a progress bar and Cancel when it takes longer than half a second.
class RecordingViewer : public QMainWindow {
    Q_OBJECT

public:
    struct Startup {
        std::filesystem::path configPath; // where the window's geometry is kept
        int alarmHigh = 150;
        int alarmLow = -50;
        Prompter* prompter = nullptr; // the program's message boxes by default
    };

    explicit RecordingViewer(const Startup& startup, QWidget* parent = nullptr);
    ~RecordingViewer() override;

    // Reads the files and folders and shows them in place of what was shown.
    void open(const QStringList& named);
    bool loading() const;
    ViewerPlot* plot() const { return m_plot; }
    StatisticsPanel* statistics() const { return m_statistics; }
    EpisodeList* episodeList() const { return m_episodeList; }
    // The report of the visible span onto `device`; the number of pages (0: not printed).
    int printReport(QPagedPaintDevice& device);

Q_SIGNALS:
    // The data of a load is shown (or the load ended without any).
    void loaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void onLoaded(std::shared_ptr<const ViewerData> data);
    void updateTitle();
    void updateSpanText();
    void chooseRecordings();
    void exportCsv(bool visibleOnly);
    void savePicture();
    void askValueRange();
    void askAlarmLimits();
    void keepGeometry();
    void findEpisodes();
    void updateStatistics();
    void zoomTo(const AlarmEpisode& episode);
    void exportEpisodes();
    void askReport(bool pdf);
    QString unit() const;

    Startup m_startup;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter = nullptr;
    ViewerPlot* m_plot = nullptr;
    ViewerOverview* m_overview = nullptr;
    StatisticsPanel* m_statistics = nullptr;
    EpisodeList* m_episodeList = nullptr;
    QAction* m_withTable = nullptr;
    AlarmEpisodes m_episodes;
    QLabel* m_readout = nullptr;
    QLabel* m_spanText = nullptr;
    RecordingLoad* m_load = nullptr;
    QProgressDialog* m_progress = nullptr;
    std::shared_ptr<const ViewerData> m_data;
    QStringList m_named;
};
