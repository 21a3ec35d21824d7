#include "core/graph/zoomchain.h"

#include <cmath>
#include <utility>

namespace {

// The single-precision value of 1/12 the tick rows are built with.
constexpr double kTwelfth = static_cast<double>(1.0f / 12.0f);

// Orders a corner pair so that `down` is the smaller; the value that moves into
// `down` is truncated to a whole pixel.
void orderCorners(float& down, float& up) {
    if (up < down) {
        std::swap(down, up);
        down = std::trunc(down);
    }
}

} // namespace

void rebuildZoomChain(GraphState& g, const PlotRect& plot, int count, int rowLength) {
    const int level = g.zoomLevel();
    const double w = plot.width();
    const double h = plot.height();
    for (int j = 0; j < level; ++j) {
        g.g_fZoomDownX[j] = static_cast<float>(w * g.g_dZoomDownX[j] + plot.left);
        g.g_fZoomUpX[j] = static_cast<float>(w * g.g_dZoomUpX[j] + plot.left);
        g.g_fZoomDownY[j] = static_cast<float>(h * g.g_dZoomDownY[j] + plot.top);
        g.g_fZoomUpY[j] = static_cast<float>(h * g.g_dZoomUpY[j] + plot.top);
        orderCorners(g.g_fZoomDownX[j], g.g_fZoomUpX[j]);
        orderCorners(g.g_fZoomDownY[j], g.g_fZoomUpY[j]);

        const float* fromX = g.g_fZoomX[j];
        const float* fromY = g.g_fZoomY[j];
        float* toX = g.g_fZoomX[j + 1];
        float* toY = g.g_fZoomY[j + 1];
        const auto& fromTick = g.g_fYTick[j];
        auto& toTick = g.g_fYTick[j + 1];

        const double boxW = static_cast<double>(g.g_fZoomUpX[j]) - g.g_fZoomDownX[j];
        const double boxH = static_cast<double>(g.g_fZoomUpY[j]) - g.g_fZoomDownY[j];
        if (!(boxW > 0.0 && boxH > 0.0 && std::isfinite(boxW) && std::isfinite(boxH))) {
            std::copy(fromX, fromX + rowLength, toX);
            std::copy(fromY, fromY + count, toY);
            toTick = fromTick;
            continue;
        }

        const double left = static_cast<double>(g.g_fZoomDownX[j]) - plot.left;
        const double top = static_cast<double>(g.g_fZoomDownY[j]) - plot.top;
        // One factor per row rather than a division per sample: the rows are
        // rebuilt for every level at every zoomed paint.
        const double scaleX = w / boxW;
        const double scaleY = h / boxH;
        for (int c = 0; c < rowLength; ++c) {
            toX[c] = static_cast<float>((fromX[c] - left) * scaleX);
        }
        for (int c = 0; c < count; ++c) {
            toY[c] = static_cast<float>((fromY[c] - top) * scaleY);
        }

        const double bottomValue = fromTick[0];
        const double span = static_cast<double>(fromTick[12]) - fromTick[0];
        const double boxBottom = plot.bottom - static_cast<double>(g.g_fZoomUpY[j]);
        for (int k = 0; k < GraphState::kTickCount; ++k) {
            toTick[k] =
                static_cast<float>(bottomValue + (boxBottom + k * boxH * kTwelfth) * span / h);
        }
    }
}

void addZoomedCurve(const GraphState& g, int panOffset, const float* values, int count,
                    const AlarmBand& band, std::vector<CurvePiece>& out) {
    const int level = g.zoomLevel();
    const float* rowX = g.g_fZoomX[level];
    const float* rowY = g.g_fZoomY[level];
    const double x0 = rowX[0];
    const double dx = static_cast<double>(rowX[1]) - rowX[0];
    for (int i = 1; i < count; ++i) {
        const SegmentEnd p0{x0 + dx * (i - 1 + static_cast<double>(panOffset)), rowY[i - 1],
                            values[i - 1]};
        const SegmentEnd p1{x0 + dx * (i + static_cast<double>(panOffset)), rowY[i], values[i]};
        for (const CurvePiece& piece : colourSegment(p0, p1, band)) {
            out.push_back(piece);
        }
    }
}
