#pragma once

#include "core/graph/graphscale.h"
#include "core/store/alarmstate.h"

#include <vector>

// Reaches the fields of a graph state, to set up a test.
struct GraphTestAccess {
    static GraphFields& fields(GraphState& g) { return g.m; }
};

// A graph view's state and series, painted and dragged at a chosen plot size
// (W x H); positions given to drag() are plot-relative.
struct GraphRig {
    GraphState g;
    std::vector<float> values;
    int alarmHigh = 150; // the recorder's limits
    int alarmLow = 100;
    int w = 600;
    int h = 300;
    int emptied = 0; // the store's count of times its series was emptied
    int yScrollPos = 72;
    bool fitMode = false;
    bool newData = false;
    bool follow = false; // the value window follows the readings
    int loaded = 0;      // the store's count of files loaded

    ClientRect client() const { return {0, 0, w + 380, h + 245}; }
    PlotRect plot() const { return PlotRect::fromClient(client()); }
    int count() const { return static_cast<int>(values.size()); }
    // The state's fields, to read them or to set a test up.
    GraphFields& f() { return GraphTestAccess::fields(g); }
    const GraphRows& rows() const { return g.rows(); }

    // A paint as the view makes it, with the limits ordered as the recorder keeps them.
    GraphScene paint() { return paint(client()); }
    GraphScene paint(const ClientRect& client) {
        const AlarmLimits limits = AlarmLimits::ordered(alarmHigh, alarmLow);
        const GraphScene scene = g.paint({.client = client,
                                          .values = values.data(),
                                          .count = count(),
                                          .alarmHigh = limits.high,
                                          .alarmLow = limits.low,
                                          .emptied = emptied,
                                          .yScrollPos = yScrollPos,
                                          .fitMode = fitMode,
                                          .newData = newData,
                                          .followReadings = follow,
                                          .loaded = loaded});
        newData = scene.newDataKept;
        yScrollPos = scene.valueScroll.position; // the view keeps where it was moved
        return scene;
    }

    ZoomOutcome drag(int x0, int y0, int x1, int y1) {
        const PlotRect p = plot();
        return g.completeZoomDrag(p, count(), {p.left + x0, p.top + y0}, {p.left + x1, p.top + y1});
    }

    // Zoom and repaint, as the view does.
    ZoomOutcome zoom(int x0, int y0, int x1, int y1) {
        const ZoomOutcome outcome = drag(x0, y0, x1, y1);
        paint();
        return outcome;
    }

    // The samples at the left and right edges of the plot at the current level.
    double firstVisible() const { return -x0() / dx(); }
    double lastVisible() const { return (w - x0()) / dx(); }
    double x0() const { return g.rows().g_fZoomX[static_cast<std::size_t>(g.zoomLevel())][0]; }
    double dx() const {
        const auto& row = g.rows().g_fZoomX[static_cast<std::size_t>(g.zoomLevel())];
        return static_cast<double>(row[1]) - row[0];
    }
};

inline std::vector<float> ramp(int n, float start = 0.0f, float step = 1.0f) {
    std::vector<float> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        out[static_cast<std::size_t>(i)] = start + step * static_cast<float>(i);
    }
    return out;
}
