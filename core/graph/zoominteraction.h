#pragma once

#include <optional>
#include <string>
#include <string_view>

// The mouse on the graph: the rubber-band zoom, undo-zoom and the hover readout.
// GraphState keeps the drag and zoom state; the view translates its mouse,
// timer and command events into GraphState's zoom operations and draws what they
// return (the hover line and the drag box in not-xor mode). All positions are
// view-client pixels.

// A point in view-client pixels.
struct DragPoint {
    int x = 0;
    int y = 0;
};

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

// Status bar texts of the hover readout: "time:" and the time text; "temp:" and
// the value with one decimal, or "-----" for the no-value mark, then the unit.
std::string hoverTimeText(std::string_view timeText);
std::string hoverTemperatureText(float value, std::string_view unit);
