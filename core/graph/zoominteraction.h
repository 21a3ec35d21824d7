#pragma once

#include "core/graph/graphstate.h"
#include "core/graph/graphviewmembers.h"
#include "core/graph/plotrect.h"

#include <optional>
#include <string>
#include <string_view>

// The mouse on the graph: the rubber-band zoom, undo-zoom and the hover readout.
// These functions keep the drag and zoom state; the view translates its mouse,
// timer and command events into them and draws what they return (the hover line
// and the drag box in not-xor mode). All positions are view-client pixels. Every
// function does nothing while the graph has no sample or the plot has no area.

// A normalised rectangle (left <= right, top <= bottom), view-client pixels.
struct DragRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const DragRect&, const DragRect&) = default;
};

// The drag box to remove and the one to draw in its place.
struct DragBoxMove {
    DragRect erase;
    DragRect draw;
};

// What a mouse move asks the view to draw and show.
struct MouseMoveResult {
    bool handled = false;           // false: nothing to do
    std::optional<int> eraseHoverX; // the old hover line to remove first
    int hoverX = 0;                 // the hover line, from plot.top to plot.bottom
    std::optional<int> hoverIndex;  // the sample under it, when one is there
    std::optional<DragBoxMove> box; // while a drag is tracked
};

enum class ZoomOutcome {
    Ignored,   // no sample or no plot: nothing happened
    Click,     // no box was drawn (a click, or a cancelled drag): no zoom
    ZeroWidth, // a box without width: handled like a click, the graph stays as it was
    Zoomed,    // one level deeper
    Refused,   // at the deepest level, or a tick step of 0.1 or less: level unchanged,
               // but the graph has left auto-scale
};

struct ZoomReleaseResult {
    ZoomOutcome outcome = ZoomOutcome::Ignored;
    std::optional<DragRect> eraseBox; // the drag box still on screen
    // Zoomed and Refused ask for an immediate repaint of the view.
    bool repaint() const {
        return outcome == ZoomOutcome::Zoomed || outcome == ZoomOutcome::Refused;
    }
};

// Left button down: records the press corner of the current level and starts
// tracking a drag. True when the view should start its 10 ms drag watch.
bool zoomPress(GraphState& g, const PlotRect& plot, int count, int x, int y);

// Mouse move: moves the hover line, finds the sample under it and, while a drag is
// tracked, moves the drag box (and sets m_bDragging).
MouseMoveResult mouseMove(GraphState& g, GraphViewMembers& v, const PlotRect& plot, int count,
                          int x, int y);

// Left button up: records the release corner and, when a box was drawn, zooms one
// level into it. The new level's value range is the box's; it is refused at level
// 99 and when a tick step would be 0.1 or less. A drag always ends m_bDragging.
ZoomReleaseResult zoomRelease(GraphState& g, GraphViewMembers& v, const PlotRect& plot, int count,
                              int x, int y);

// The drag watch: a pointer at (x, y) outside the plot cancels a tracked drag.
// True when it did: the view repaints (removing the box) and stops the watch.
bool dragWatch(GraphState& g, GraphViewMembers& v, const PlotRect& plot, int x, int y);

// Press at `press`, drag to `release` and let go there.
ZoomOutcome completeZoomDrag(GraphState& g, GraphViewMembers& v, const PlotRect& plot, int count,
                             DragPoint press, DragPoint release);

// The pan bar moved to `position`, the sample to show at the plot's left edge:
// m_nPanOffset moves the zoomed curve there. Only while zoomed; true when the
// pan changed.
bool panTo(const GraphState& g, GraphViewMembers& v, int position);

// Back to the unzoomed graph in one step. The view then disables the pan bar and
// repaints.
void undoZoom(GraphState& g, GraphViewMembers& v);
inline bool undoZoomEnabled(const GraphState& g) {
    return !g.g_bAutoScale;
}

// The sample index drawn at view-client x (clamped to the plot) at the current
// zoom level, before any range check; nothing when the level has no usable step.
std::optional<int> sampleIndexAt(const GraphState& g, const PlotRect& plot, int panOffset, int x);

// Status bar texts of the hover readout: "time:" and the time text; "temp:" and
// the value with one decimal, or "-----" for the no-value mark, then the unit.
std::string hoverTimeText(std::string_view timeText);
std::string hoverTemperatureText(float value, std::string_view unit);
