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

void rebuildZoomChain(GraphFields& g, GraphRows& rows, const PlotRect& plot, int count,
                      int rowLength) {
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

        const float* fromX = rows.g_fZoomX[j].data();
        const float* fromY = rows.g_fZoomY[j].data();
        float* toX = rows.g_fZoomX[j + 1].data();
        float* toY = rows.g_fZoomY[j + 1].data();
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
        for (int k = 0; k < GraphFields::kTickCount; ++k) {
            toTick[k] =
                static_cast<float>(bottomValue + (boxBottom + k * boxH * kTwelfth) * span / h);
        }
    }
    for (int j = 1; j <= level; ++j) {
        const std::vector<float>& row = rows.g_fZoomX[static_cast<std::size_t>(j)];
        g.m_levelStart[static_cast<std::size_t>(j)] = {row[0], row[1]};
    }
}

void addZoomedCurve(const GraphFields& g, const GraphRows& rows, const float* values, int count,
                    const AlarmBand& band, std::vector<CurvePiece>& out) {
    const int level = g.zoomLevel();
    const int panOffset = g.m_nPanOffset;
    const float* rowX = rows.g_fZoomX[static_cast<std::size_t>(level)].data();
    const float* rowY = rows.g_fZoomY[static_cast<std::size_t>(level)].data();
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
