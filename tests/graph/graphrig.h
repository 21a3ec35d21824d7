#pragma once

#include "core/graph/graphscale.h"
#include "core/graph/zoominteraction.h"

#include <memory>
#include <vector>

// A graph view's state and series, painted and dragged at a chosen plot size
// (W x H); positions given to drag() are plot-relative.
struct GraphRig {
    std::unique_ptr<GraphState> state = std::make_unique<GraphState>();
    GraphState& g = *state;
    GraphViewMembers v;
    std::vector<float> values;
    int alarmHigh = 150;
    int alarmLow = 100;
    int w = 600;
    int h = 300;
    int emptied = 0; // the store's count of times its series was emptied

    ClientRect client() const { return {0, 0, w + 380, h + 245}; }
    PlotRect plot() const { return PlotRect::fromClient(client()); }
    int count() const { return static_cast<int>(values.size()); }

    GraphScene paint() {
        return buildGraphScene(g, v,
                               {client(), values.data(), count(), alarmHigh, alarmLow, emptied});
    }

    ZoomOutcome drag(int x0, int y0, int x1, int y1) {
        const PlotRect p = plot();
        return completeZoomDrag(g, v, p, count(), {p.left + x0, p.top + y0},
                                {p.left + x1, p.top + y1});
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
    double x0() const { return g.g_fZoomX[g.zoomLevel()][0]; }
    double dx() const {
        return static_cast<double>(g.g_fZoomX[g.zoomLevel()][1]) - g.g_fZoomX[g.zoomLevel()][0];
    }
};

inline std::vector<float> ramp(int n, float start = 0.0f, float step = 1.0f) {
    std::vector<float> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        out[static_cast<std::size_t>(i)] = start + step * static_cast<float>(i);
    }
    return out;
}
