#pragma once

#include "core/graph/plotrect.h"
#include "core/graph/zoominteraction.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GraphScene;
struct PaintInput;

// The graph's state between two events, under the names it is known by: the
// zoom chain (levels, boxes, pan), the hover line and the drag box, and what
// the last paint saw (scale, ticks, label numbers and texts). A plain value,
// small enough to be copied at every paint; the initial values are those at
// program start.
//
// Pixel rows and zoom corners in pixels are plot-relative (x from plot.left,
// y from plot.top, y down) unless noted as view-client.
struct GraphFields {
    static constexpr int MAX_ZOOM_LEVELS = 100;
    static constexpr int MAX_CURVE_POINTS = 17280;
    static constexpr int kTickCount = 13;
    static constexpr int kXLabelCount = 20;
    static constexpr int kZoomGridCount = 10;

    // The current zoom level clamped to 0..MAX_ZOOM_LEVELS - 1.
    int zoomLevel() const;

    // The zoom chain.
    bool g_bAutoScale = true;     // not zoomed
    bool g_bZoomPosInit = true;   // false: the next paint positions the zoomed sample axis
    std::int8_t g_nZoomLevel = 0; // 0..99, 0 = unzoomed
    int m_nPanOffset = 0;         // pan of the zoomed curve, in samples
    int m_nZoomFirstIndex = 0;    // sample at the left edge after a zoom

    // Zoom box of each level: press (Down) and release (Up) corners as fractions
    // of W and H, and the same corners in view-client pixels (rebuilt from the
    // fractions at every zoomed paint, then ordered: Down = left/top edge).
    std::array<double, MAX_ZOOM_LEVELS> g_dZoomDownX{};
    std::array<double, MAX_ZOOM_LEVELS> g_dZoomDownY{};
    std::array<double, MAX_ZOOM_LEVELS> g_dZoomUpX{};
    std::array<double, MAX_ZOOM_LEVELS> g_dZoomUpY{};
    std::array<float, MAX_ZOOM_LEVELS> g_fZoomDownX{};
    std::array<float, MAX_ZOOM_LEVELS> g_fZoomDownY{};
    std::array<float, MAX_ZOOM_LEVELS> g_fZoomUpX{};
    std::array<float, MAX_ZOOM_LEVELS> g_fZoomUpY{};

    // The hover line and the drag box.
    bool g_bHoverLineErased = true; // no hover line on screen
    int g_nHoverX = 0;              // view-client x of the hover line last drawn
    int g_nHoverIndex = 0;          // sample index under the hover line
    bool g_bButtonDown = false;     // a drag box is being tracked
    bool g_bNoDragMove = true;      // no box drawn since the press; a release then never zooms
    bool m_bDragging = false;       // a zoom box is on screen
    DragPoint g_ptDragStart;        // clamped view-client press position
    DragPoint g_ptDragLast;         // corner of the box on screen

    // What the last paint saw.
    int g_nPointsPerScreen = 100; // live mode: samples across the plot width
    float g_fPixelsPerSample = 0.0f;
    float g_fBasePixelsPerSample = 0.0f; // horizontal step of zoom level 0
    int g_nBasePointsPerScreen = 0;      // g_nPointsPerScreen at the last unzoomed paint
    int g_nYScrollAtZoom = 0;            // the value scroll position at the last unzoomed paint
    int g_nEmptiedSeen = 0;              // the series' emptied count at the last paint
    int m_nLoadedSeen = 0;               // the store's count of loaded files at the last paint

    // Tick values per level: [L][0] at the plot bottom .. [L][12] at the plot top.
    std::array<std::array<float, kTickCount>, MAX_ZOOM_LEVELS> g_fYTick{};
    // The first two entries of each level's x row (see GraphRows) as the paint
    // that last computed the level left them: the x of sample 0 and of sample 1.
    std::array<std::array<float, 2>, MAX_ZOOM_LEVELS> m_levelStart{};

    std::array<int, kXLabelCount> g_nXLabel{};          // 1-based sample numbers under the grid
    std::array<int, kZoomGridCount> g_nZoomGridIndex{}; // sample index under each zoomed grid line

    float g_fAlarmHighY = 0.0f; // plot-relative rows of the alarm limits
    float g_fAlarmLowY = 0.0f;

    std::array<std::string, kTickCount> m_strYLabel;   // value-axis label texts, "%.2f"
    std::array<std::string, kXLabelCount> m_strXLabel; // sample-axis label texts, "%d"
};

// The pixel rows one paint computes: the working space of the paint, kept
// between paints only so that painting does not allocate. The rows of the
// zoom levels take memory only while the graph is zoomed, one row per level
// down to the current one.
struct GraphRows {
    // Unzoomed pixel position of each sample.
    std::vector<float> g_fCurveX;
    std::vector<float> g_fCurveY;
    // Pixel position of each sample at each zoom level; row 0 is unzoomed.
    // Unzoomed, only row 0 is there, and only its first two entries.
    std::vector<std::vector<float>> g_fZoomX;
    std::vector<std::vector<float>> g_fZoomY;
};

// The graph's state as the view owns it: the fields above and the operations
// that change them. The mouse handlers change it through the zoom operations,
// each paint replaces it with the state that paint leaves (see
// buildGraphScene); the painter reads it.
class GraphState {
public:
    static constexpr int MAX_ZOOM_LEVELS = GraphFields::MAX_ZOOM_LEVELS;
    static constexpr int MAX_CURVE_POINTS = GraphFields::MAX_CURVE_POINTS;
    static constexpr int kTickCount = GraphFields::kTickCount;
    static constexpr int kXLabelCount = GraphFields::kXLabelCount;
    static constexpr int kZoomGridCount = GraphFields::kZoomGridCount;

    GraphState() = default;

    // One paint: the scene to draw from what the paint reads, and the state it leaves.
    void paint(const PaintInput& in, GraphScene& scene);
    GraphScene paint(const PaintInput& in);

    // The zoom and the hover line (all positions view-client pixels). Every
    // operation does nothing while the graph has no sample or the plot has no
    // area.

    // Left button down: records the press corner of the current level and starts
    // tracking a drag. True when the view should start its 10 ms drag watch.
    bool zoomPress(const PlotRect& plot, int count, int x, int y);
    // Mouse move: moves the hover line, finds the sample under it and, while a
    // drag is tracked, moves the drag box (and sets m_bDragging).
    MouseMoveResult mouseMove(const PlotRect& plot, int count, int x, int y);
    // Left button up: records the release corner and, when a box was drawn, zooms
    // one level into it. The new level's value range is the box's; it is refused
    // at level 99 and when a tick step would be 0.1 or less. A drag always ends
    // m_bDragging.
    ZoomReleaseResult zoomRelease(const PlotRect& plot, int count, int x, int y);
    // The drag watch: a pointer at (x, y) outside the plot cancels a tracked drag.
    // True when it did: the view repaints (removing the box) and stops the watch.
    bool dragWatch(const PlotRect& plot, int x, int y);
    // Press at `press`, drag to `release` and let go there.
    ZoomOutcome completeZoomDrag(const PlotRect& plot, int count, DragPoint press,
                                 DragPoint release);
    // The pan bar moved to `position`, the sample to show at the plot's left
    // edge: m_nPanOffset moves the zoomed curve there. Only while zoomed; true
    // when the pan changed.
    bool panTo(int position);
    // Back to the unzoomed graph in one step. The view then disables the pan bar
    // and repaints.
    void undoZoom();

    // The graph is zoomed (UndoZoom is enabled).
    bool isZoomed() const { return !m.g_bAutoScale; }
    int zoomLevel() const { return m.zoomLevel(); }
    // A zoom box is on screen.
    bool dragging() const { return m.m_bDragging; }
    // The hover line on screen, view-client x.
    std::optional<int> hoverLineX() const;
    // The drag box on screen (normalised), while a drag is tracked.
    std::optional<DragRect> dragBox() const;
    // The sample index drawn at view-client x (clamped to the plot) at the current
    // zoom level, before any range check; nothing when the level has no usable step.
    std::optional<int> sampleIndexAt(const PlotRect& plot, int x) const;
    // The ticks of a zoom level as the last paint computed them.
    const std::array<float, kTickCount>& ticks(int level) const;

    const GraphFields& fields() const { return m; }
    const GraphRows& rows() const { return m_rows; }

private:
    friend struct GraphTestAccess;

    GraphFields m;
    GraphRows m_rows;
};
