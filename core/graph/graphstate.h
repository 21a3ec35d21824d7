#pragma once

#include <array>
#include <cstdint>
#include <memory>

// A point in view-client pixels.
struct DragPoint {
    int x = 0;
    int y = 0;
};

// The graph's process-wide state: zoom tables, pixel rows, horizontal steps,
// hover and drag flags. Exactly one instance exists, owned by the view and
// shared by its paint and its mouse handlers. The fields keep their historic
// names; the initial values are those at program start.
//
// Pixel rows and zoom corners in pixels are plot-relative (x from plot.left,
// y from plot.top, y down) unless noted as view-client.
class GraphState {
public:
    static constexpr int MAX_ZOOM_LEVELS = 100;
    static constexpr int MAX_CURVE_POINTS = 17280;
    static constexpr int kTickCount = 13;
    static constexpr int kXLabelCount = 20;
    static constexpr int kZoomGridCount = 10;

    // One row of MAX_CURVE_POINTS floats per zoom level, on the heap (about 6.9 MB
    // per table), so that painting never allocates.
    using PixelRows = std::unique_ptr<float[][MAX_CURVE_POINTS]>;

    GraphState();
    GraphState(const GraphState&) = delete;
    GraphState& operator=(const GraphState&) = delete;

    // The current zoom level clamped to 0..MAX_ZOOM_LEVELS - 1.
    int zoomLevel() const;

    bool g_bAutoScale = true;       // not zoomed
    bool g_bZoomPosInit = true;     // false: the next paint positions the zoomed sample axis
    bool g_bHoverLineErased = true; // no hover line on screen
    int g_nHoverX = 0;              // view-client x of the hover line last drawn
    int g_nPointsPerScreen = 100;   // live mode: samples across the plot width
    float g_fPixelsPerSample = 0.0f;
    float g_fBasePixelsPerSample = 0.0f; // horizontal step of zoom level 0
    int g_nBasePointsPerScreen = 0;      // g_nPointsPerScreen at the last unzoomed paint
    std::int8_t g_nZoomLevel = 0;        // 0..99, 0 = unzoomed
    int g_nYScrollAtZoom = 0;            // m_nYScrollPos at the last unzoomed paint
    int g_nEmptiedSeen = 0;              // the series' emptied count at the last paint

    // Tick values per level: [L][0] at the plot bottom .. [L][12] at the plot top.
    std::array<std::array<float, kTickCount>, MAX_ZOOM_LEVELS> g_fYTick{};

    // Unzoomed pixel position of each sample.
    std::array<float, MAX_CURVE_POINTS> g_fCurveX{};
    std::array<float, MAX_CURVE_POINTS> g_fCurveY{};

    // Pixel position of each sample at each zoom level; row 0 is unzoomed.
    PixelRows g_fZoomX;
    PixelRows g_fZoomY;

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

    std::array<int, kXLabelCount> g_nXLabel{};          // 1-based sample numbers under the grid
    std::array<int, kZoomGridCount> g_nZoomGridIndex{}; // sample index under each zoomed grid line

    float g_fAlarmHighY = 0.0f; // plot-relative rows of the alarm limits
    float g_fAlarmLowY = 0.0f;

    // Drag and hover state of the mouse handlers.
    bool g_bButtonDown = false; // a drag box is being tracked
    bool g_bNoDragMove = true;  // no box drawn since the press; a release then never zooms
    DragPoint g_ptDragStart;    // clamped view-client press position
    DragPoint g_ptDragLast;     // corner of the box on screen
    int g_nHoverIndex = 0;      // sample index under the hover line
};
