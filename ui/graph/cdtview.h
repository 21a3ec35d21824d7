#pragma once

#include "core/graph/graphscene.h"
#include "core/graph/graphstate.h"
#include "ui/panels/textcache.h"

#include <QBasicTimer>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <optional>

class AlarmBar;
class CDTDoc;
class DataListPanel;
class CDisplayPanel;
class ValueScrollPanel;
class QPainter;
class InstrumentLine;

// The graph view: paints the recorded series, lets the user zoom into it and read
// single samples with the mouse, runs the commit timer that turns a pending
// reading into a sample, and owns the panels laid out around it.
//
// The view holds the value scroll position (the alarm limits are the
// recorder's: the view draws them and passes on what is typed); the zoom chain,
// the hover line, the drag box and what the last paint saw are the one
// GraphState m_graph, changed by the mouse handlers through its operations and
// replaced by every paint with the state that paint leaves. Fit mode and the
// new-data flag belong to the acquisition: every paint reads them from there and
// clears the flag when it has taken the sample.
//
// Painting: a paint that follows a change of the graph (new samples, zoom,
// scroll, limits, resize) rebuilds the whole picture off screen; the hover line
// and the zoom box are drawn over that picture by inverting its pixels, so moving
// them repaints only their strips and never rebuilds the graph.
class CDTView : public QWidget {
    Q_OBJECT
public:
    // Start-up values read from the configuration file by the caller.
    struct Startup {
        int sampleRateIni = 0;
    };

    CDTView(CDTDoc& doc, const InstrumentLine& line, const Startup& startup, QWidget* frame);
    ~CDTView() override;

    // Starts the commit timer; called once the window is set up.
    void OnInitialUpdate();
    // Moves the panels for the frame's client rectangle (below the menu bar);
    // `grownHeight` is how much higher the frame is than at its smallest.
    void layoutPanels(const QRect& rc, int grownHeight);
    // The graph is zoomed (UndoZoom is enabled).
    bool isZoomed() const;
    // UndoZoom: back to the unzoomed graph in one step.
    void undoZoom();
    // Print: the test report, through the print dialog, with the value window
    // of the unzoomed graph.
    void printReport();
    // The plot rectangle of the current view size (view pixels; right and
    // bottom are the last pixel rows inside the plot).
    QRect plotRect() const;
    // The view's rows above `row` are taken by the message line: the graph is
    // laid out below them (0: the whole view is the graph's).
    void setFirstFreeRow(int row);
    // The graph changed: the next paint rebuilds the picture.
    void invalidateGraph();
    // The value window's scroll position changed (0..72).
    void setYScrollPos(int position);
    int yScrollPos() const { return m_nYScrollPos; }
    // Whether the unzoomed value window follows the readings (the newest live
    // one, a file's on Open); when not, arrows say that readings lie beyond it.
    void setFollowReadings(bool on);
    bool followReadings() const { return m_bFollowReadings; }
    // The graph's zoom, hover and last-paint state.
    const GraphState& graph() const { return m_graph; }
    // Zooms into the box between two view points as a drag of the mouse does
    // (for the tests and the benchmarks).
    ZoomOutcome zoomBox(QPoint press, QPoint release);
    // What the last full paint drew.
    const GraphScene& scene() const { return m_scene; }
    // Paints that only added curve pieces to the last picture (for the tests).
    int pieceRenders() const { return m_nPieceRenders; }
    // Forgets the picture: the next paint draws the graph whole (for the tests).
    void dropPicture() { m_bCanvasStale = true; }
    // The label font of the axes: SimSun 10 pt where installed, otherwise a
    // 13-pixel Liberation Sans of about the same size.
    static QFont labelFont();

    // The panels laid out around the graph.
    CDisplayPanel* displayPanel() const { return m_dlgPanel; }
    DataListPanel* dataList() const { return m_dlgList; }
    ValueScrollPanel* valueScroll() const { return m_dlgScroll; }
    AlarmBar* alarmBar() const { return m_dlgAlarm; }

Q_SIGNALS:
    // The status bar's readout of the sample under the pointer ("time:...",
    // "temp:..."); both plain labels when nothing is under it.
    void hoverReadout(const QString& timeText, const QString& tempText);
    // The graph was zoomed, or is back to the unzoomed graph (UndoZoom's state).
    void zoomChanged(bool zoomed);
    // Limits were typed; `exchanged`: the high one is below the low one, so
    // they are taken the other way round.
    void limitsTyped(bool exchanged);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void watchDrag();
    void onPanMoved(int position);
    // A typed limit goes to the recorder, which owns the limits.
    void takeTypedLimits();
    int graphCount() const;
    // The view's client rectangle less the rows the message line takes.
    ClientRect graphClient() const;
    PlotRect plot() const;

    // Builds the scene from the store and the graph state and applies what it
    // sets outside the picture (scroll bars, status bar, further repaint).
    void buildScene();
    // The part of the view the picture covers: the plot, its value labels and
    // the sample numbers, from the view's left edge. The rest of the view is
    // under the panels or plain button face.
    QRect canvasArea(qreal ratio) const;
    // Whether the picture covers canvasArea at this device pixel ratio.
    bool canvasFits(qreal ratio) const;
    // Draws m_scene into m_canvas, made at `ratio` device pixels a view pixel.
    void renderCanvas(qreal ratio);
    // Draws the curve pieces m_scene has beyond those of m_drawn, and the
    // alarm lines again over them; gives the area that changed.
    QRect renderNewPieces();
    void drawPlot(QPainter& p) const;
    void drawCurve(QPainter& p, std::size_t first) const;
    void drawAlarmLines(QPainter& p) const;
    void drawEdgeArrows(QPainter& p) const;
    void drawMargin(QPainter& p) const;
    void drawSampleLabels(QPainter& p) const;
    void drawText(QPainter& p, const SceneText& text) const;
    // The hover line and the zoom box over the picture.
    void drawOverlays(QPainter& p, const QRegion& exposed) const;
    void drawInverted(QPainter& p, const QRect& r, bool dotted) const;
    QRegion hoverStrip(int x) const;
    static QRegion boxFrame(const QRect& box);
    // Where frame-client coordinates lie in this view.
    QPoint frameClientOffset() const;
    // Sends zoomChanged when the zoom state is not the one last told.
    void tellZoom();

    CDTDoc& m_doc;
    CDisplayPanel* m_dlgPanel = nullptr;
    DataListPanel* m_dlgList = nullptr;
    ValueScrollPanel* m_dlgScroll = nullptr; // its m_scrollY sets the value window
    AlarmBar* m_dlgAlarm = nullptr;          // the edits of the limits; its pan bar m_scrollPan

    GraphState m_graph;
    int m_nYScrollPos = 72;  // value scroll bar position, 0..72
    int m_nFirstFreeRow = 0; // the graph lies below this view row
    bool m_bFollowReadings = false;

    QBasicTimer m_dragTimer;
    GraphScene m_scene;
    GraphScene m_drawn; // the scene the canvas shows
    QImage m_canvas;    // the last picture of the graph, without overlays
    QRect m_rcCanvas;   // the view pixels m_canvas covers
    mutable TextCache m_labelTexts;
    bool m_bSceneDirty = true;   // the next paint rebuilds the scene and the canvas
    bool m_bCanvasStale = false; // the next paint redraws the canvas from m_scene
    QRect m_rcFrameClient;       // as last given to layoutPanels
    QPoint m_ptPointer;          // the pointer as last seen, view pixels, unclamped
    int m_nPieceRenders = 0;
    bool m_bZoomTold = false; // the zoom state zoomChanged last told
};
