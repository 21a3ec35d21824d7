#pragma once

#include <QBasicTimer>
#include <QWidget>

class CDTDoc;
class CDataListPanel;
class CDisplayPanel;
class QScrollBar;
struct LinkState;

// The graph view: paints the recorded series, runs the commit timer that turns
// a pending reading into a sample, and owns the panels laid out around it.
class CDTView : public QWidget {
    Q_OBJECT
public:
    // Start-up values read from the configuration file by the caller.
    struct Startup {
        int sampleRateIni = 0;
        int alarmHigh = 150;
        int alarmLow = -50;
    };

    CDTView(CDTDoc& doc, const LinkState& link, const Startup& startup, QWidget* frame);
    ~CDTView() override;

    // Starts the commit timer; called once the window is set up.
    void OnInitialUpdate();
    // Moves the panels for the frame's client rectangle (below the menu bar).
    void layoutPanels(const QRect& rc);
    // The graph is zoomed (UndoZoom is enabled).
    bool isZoomed() const { return false; }
    // UndoZoom: back to the unzoomed graph in one step.
    void undoZoom() {}
    // Print: the test report, through the print dialog.
    void printReport() {}
    // The plot rectangle of the current view size.
    QRect plotRect() const;

    CDTDoc& m_doc;
    CDisplayPanel* m_dlgPanel = nullptr;
    CDataListPanel* m_dlgList = nullptr;
    QWidget* m_dlgScroll = nullptr;
    QScrollBar* m_scrollY = nullptr;
    QWidget* m_dlgAlarm = nullptr;

    int m_nAlarmHigh = 150;
    int m_nAlarmLow = -50;
    int m_nYScrollPos = 72;
    bool m_bDragging = false;
    int m_nCommitTimerMs = 0; // period timer 1 runs with (0: not running)

Q_SIGNALS:
    // The status bar's readout of the sample under the pointer ("time:...",
    // "temp:..."); both plain labels when nothing is under it.
    void hoverReadout(const QString& timeText, const QString& tempText);

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void commitPending();
    void restartCommitTimer();

    QBasicTimer m_commitTimer;
};
