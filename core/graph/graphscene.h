#pragma once

#include "core/graph/alarmcolour.h"
#include "core/graph/plotrect.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// Colours and pens of the graph.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

enum class PenStyle { Solid, Dotted }; // dotted pens are drawn opaque (black gaps)

struct PenSpec {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Rgb colour;
};

inline constexpr Rgb kPlotBackground{0, 0, 0};
inline constexpr Rgb kTextColour{0, 0, 0};
inline constexpr PenSpec kHoverPen{PenStyle::Dotted, 1, {255, 255, 255}};
inline constexpr PenSpec kGridPen{PenStyle::Dotted, 1, {170, 170, 170}};
inline constexpr PenSpec kBlueCurvePen{PenStyle::Solid, 2, {0, 0, 255}};
inline constexpr PenSpec kRedCurvePen{PenStyle::Solid, 2, {255, 0, 0}};
inline constexpr PenSpec kAlarmPen{PenStyle::Solid, 2, {0, 155, 0}};
inline constexpr PenSpec kTickPen{PenStyle::Solid, 1, {0, 0, 0}};
inline constexpr Rgb kEdgeArrowColour{255, 255, 0};

inline const PenSpec& curvePen(CurveColour c) {
    return c == CurveColour::Red ? kRedCurvePen : kBlueCurvePen;
}

// Range and position given to a scroll bar.
struct ScrollSetting {
    int minimum = 0;
    int maximum = 0;
    int position = 0;
};

// A text drawn with its top-left corner at (x, y), black on the button-face colour.
struct SceneText {
    std::string text;
    int x = 0;
    int y = 0;

    friend bool operator==(const SceneText&, const SceneText&) = default;
};

// One value-axis mark on the margin buffer: a tick line from (tickX1, tickY) to
// (tickX2, tickY) and its label.
struct ValueAxisMark {
    int tickX1 = 0;
    int tickX2 = 0;
    int tickY = 0;
    SceneText label;

    friend bool operator==(const ValueAxisMark&, const ValueAxisMark&) = default;
};

// A rectangle as (x, y, width, height).
struct SceneRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const SceneRect&, const SceneRect&) = default;
};

// A small filled triangle at the plot's top or bottom edge saying that
// readings lie beyond the value window that way: its tip at (x, tipY), its
// base from (x - halfWidth, baseY) to (x + halfWidth, baseY); plot-relative.
struct EdgeArrow {
    int x = 0;
    int tipY = 0;
    int baseY = 0;
    int halfWidth = 0;

    friend bool operator==(const EdgeArrow&, const EdgeArrow&) = default;
};

// Everything one paint of the graph draws and sets, computed without any widget.
// Three surfaces, each with its own coordinates:
//  - plot buffer: W x H, filled with kPlotBackground, placed on the view at
//    (plot.left, plot.top); its coordinates are plot-relative. Anything outside
//    0..W-1 x 0..H-1 is clipped by the painter.
//  - margin buffer: plot.left x (H + 17), filled with the button-face colour,
//    placed on the view at (0, plot.top - 7); coordinates relative to that origin.
//  - label strip: drawn straight onto the main window in view-client coordinates.
// Draw in this order: plot buffer layers as listed, margin buffer, label strip.
struct GraphScene {
    PlotRect plot;        // view-client pixels
    int width = 0;        // W
    int height = 0;       // H
    bool hasArea = false; // false: the view is too small; nothing below is to be drawn

    // Status bar: when set, pane 1 shows "time:" and pane 2 "temp:" (no samples).
    bool emptyReadout = false;
    // The value scroll bar m_scrollY: always range 0..72, position m_nYScrollPos.
    ScrollSetting valueScroll{0, 72, 72};

    // Plot buffer, in layer order:
    std::optional<int> hoverLineX;     // kHoverPen, (x, 0) -> (x, H)
    std::vector<int> verticalGridX;    // kGridPen, (x, H) -> (x, 0)
    std::vector<int> horizontalGridY;  // kGridPen, (0, y) -> (W, y)
    std::vector<CurvePiece> curve;     // curvePen(colour), in order
    std::vector<int> alarmLineY;       // kAlarmPen, (0, y) -> (W, y); high row first
    std::vector<EdgeArrow> edgeArrows; // kEdgeArrowColour, over everything else

    // Margin buffer: 13 marks, k = 0 (bottom) .. 12 (top); kTickPen and text.
    std::array<ValueAxisMark, 13> valueAxis{};

    // Main window: fill labelStrip with the button-face colour (when set), then
    // draw the sample numbers (view-client coordinates).
    std::optional<SceneRect> labelStrip;
    std::vector<SceneText> sampleLabels;

    // The alarm bar's pan scroll bar m_scrollPan (zoomed paints only): the range
    // 0..N is set at every zoomed paint, the position only at the first paint
    // after a zoom.
    // The bar is enabled exactly while the graph is zoomed; a page is the
    // number of samples across the plot.
    std::optional<int> panMaximum; // range 0..panMaximum
    std::optional<int> panPosition;
    int panPageStep = 1;

    // The live scale was compressed: ask for one more full repaint.
    bool repaintRequested = false;
    // The new-data flag stays set: no hover line took the new sample.
    bool newDataKept = false;
};

// Whether `after` draws exactly what `before` draws plus curve pieces at the
// end of its curve: the picture of `before` then needs only those pieces and
// the alarm lines over them. True for most new samples of the live graph;
// false whenever the scale, the grid, a label or the hover line moved.
bool extendsCurveOnly(const GraphScene& before, const GraphScene& after);
