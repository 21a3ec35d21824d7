#include "core/graph/zoominteraction.h"

#include "core/graph/pixelmath.h"
#include "core/store/samplestore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr int kDeepestLevel = GraphState::MAX_ZOOM_LEVELS - 1;
constexpr double kTwelfth = static_cast<double>(1.0f / 12.0f);

bool usable(int count, const PlotRect& plot) {
    return count >= 1 && plot.hasArea();
}

DragRect normalised(DragPoint a, DragPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Clamps (x, y) to the plot and records it as a corner of a zoom box: in view-client
// pixels and as fractions of the plot's width and height.
DragPoint recordCorner(const PlotRect& plot, int x, int y, float& pixelX, float& pixelY,
                       double& fractionX, double& fractionY) {
    x = plot.clampX(x);
    y = plot.clampY(y);
    pixelX = static_cast<float>(x);
    pixelY = static_cast<float>(y);
    fractionX = static_cast<double>(x - plot.left) / plot.width();
    fractionY = static_cast<double>(y - plot.top) / plot.height();
    return {x, y};
}

} // namespace

bool zoomPress(GraphState& g, const PlotRect& plot, int count, int x, int y) {
    if (!usable(count, plot)) {
        return false;
    }
    const int level = g.zoomLevel();
    g.g_ptDragStart = g.g_ptDragLast =
        recordCorner(plot, x, y, g.g_fZoomDownX[level], g.g_fZoomDownY[level],
                     g.g_dZoomDownX[level], g.g_dZoomDownY[level]);
    g.g_bButtonDown = true;
    g.g_bNoDragMove = true;
    return true;
}

MouseMoveResult mouseMove(GraphState& g, GraphViewMembers& v, const PlotRect& plot, int count,
                          int x, int y) {
    MouseMoveResult result;
    if (!usable(count, plot)) {
        return result;
    }
    result.handled = true;
    x = plot.clampX(x);
    y = plot.clampY(y);

    if (g.g_bHoverLineErased) {
        g.g_bHoverLineErased = false;
    } else {
        result.eraseHoverX = g.g_nHoverX;
    }
    g.g_nHoverX = x;
    result.hoverX = x;

    if (const auto index = sampleIndexAt(g, plot, v.m_nPanOffset, x)) {
        g.g_nHoverIndex = *index;
        if (*index >= 0 && *index < count) {
            result.hoverIndex = *index;
        }
    }

    if (g.g_bButtonDown) {
        v.m_bDragging = true;
        const DragPoint now{x, y};
        result.box = DragBoxMove{normalised(g.g_ptDragStart, g.g_ptDragLast),
                                 normalised(g.g_ptDragStart, now)};
        if (x != g.g_ptDragStart.x || y != g.g_ptDragStart.y) {
            g.g_bNoDragMove = false;
        }
        g.g_ptDragLast = now;
    }
    return result;
}

ZoomReleaseResult zoomRelease(GraphState& g, GraphViewMembers& v, const PlotRect& plot, int count,
                              int x, int y) {
    ZoomReleaseResult result;
    if (!usable(count, plot)) {
        return result;
    }
    const int level = g.zoomLevel();
    recordCorner(plot, x, y, g.g_fZoomUpX[level], g.g_fZoomUpY[level], g.g_dZoomUpX[level],
                 g.g_dZoomUpY[level]);

    if (g.g_bButtonDown) {
        result.eraseBox = normalised(g.g_ptDragStart, g.g_ptDragLast);
        g.g_bButtonDown = false;
    }
    // The button is up and no box is left on screen, whatever follows.
    v.m_bDragging = false;
    if (g.g_bNoDragMove) {
        result.outcome = ZoomOutcome::Click;
        return result;
    }
    g.g_bNoDragMove = true;

    float& downX = g.g_fZoomDownX[level];
    float& upX = g.g_fZoomUpX[level];
    float& downY = g.g_fZoomDownY[level];
    float& upY = g.g_fZoomUpY[level];
    if (upX == downX && upY != downY) {
        // A box without width has no sample range to fill the plot with.
        result.outcome = ZoomOutcome::ZeroWidth;
        return result;
    }
    if (upX < downX) {
        std::swap(upX, downX);
    }
    if (upY < downY) {
        std::swap(upY, downY);
    }

    // The value range of the box: tick 0 at its lower edge, tick 1 a twelfth of its
    // height higher.
    const double bottom = g.g_fYTick[level][0];
    const double span = static_cast<double>(g.g_fYTick[level][12]) - bottom;
    const double boxBottom = plot.bottom - static_cast<double>(upY);
    const double boxHeight = static_cast<double>(upY) - downY;
    const auto t0 = static_cast<float>(bottom + span * boxBottom / plot.height());
    const auto t1 =
        static_cast<float>(bottom + span * (boxBottom + boxHeight * kTwelfth) / plot.height());

    // The tick step is judged before the ticks are rounded to single precision, so
    // that a box of exactly 1.2 degrees is refused wherever it lies.
    const double tickStep = span * boxHeight / (12.0 * plot.height());

    result.outcome = ZoomOutcome::Refused;
    if (level < kDeepestLevel) {
        g.g_fYTick[level + 1][0] = t0;
        g.g_fYTick[level + 1][1] = t1;
        if (tickStep > 0.1) {
            g.g_nZoomLevel = static_cast<std::int8_t>(level + 1);
            result.outcome = ZoomOutcome::Zoomed;
        }
    }
    g.g_bAutoScale = false;
    g.g_bZoomPosInit = false;
    return result;
}

bool dragWatch(GraphState& g, GraphViewMembers& v, const PlotRect& plot, int x, int y) {
    if (!g.g_bButtonDown || plot.contains(x, y)) {
        return false;
    }
    g.g_bButtonDown = false;
    v.m_bDragging = false;
    g.g_bNoDragMove = true;
    return true;
}

ZoomOutcome completeZoomDrag(GraphState& g, GraphViewMembers& v, const PlotRect& plot, int count,
                             DragPoint press, DragPoint release) {
    if (!zoomPress(g, plot, count, press.x, press.y)) {
        return ZoomOutcome::Ignored;
    }
    mouseMove(g, v, plot, count, release.x, release.y);
    return zoomRelease(g, v, plot, count, release.x, release.y).outcome;
}

bool panTo(const GraphState& g, GraphViewMembers& v, int position) {
    if (g.g_bAutoScale) {
        return false;
    }
    const int pan = saturateInt(static_cast<long long>(v.m_nZoomFirstIndex) - position);
    if (pan == v.m_nPanOffset) {
        return false;
    }
    v.m_nPanOffset = pan;
    return true;
}

void undoZoom(GraphState& g, GraphViewMembers& v) {
    g.g_nZoomLevel = 0;
    g.g_bAutoScale = true;
    g.g_fBasePixelsPerSample = g.g_fPixelsPerSample;
    v.m_nPanOffset = 0;
}

std::optional<int> sampleIndexAt(const GraphState& g, const PlotRect& plot, int panOffset, int x) {
    if (!plot.hasArea()) {
        return std::nullopt;
    }
    const int level = g.zoomLevel();
    const double x0 = g.g_fZoomX[level][0];
    const double dx = static_cast<double>(g.g_fZoomX[level][1]) - x0;
    if (!std::isfinite(x0) || !std::isfinite(dx) || dx == 0.0) {
        return std::nullopt;
    }
    const double position = (plot.clampX(x) - x0 - plot.left) / dx - panOffset;
    return truncIndex(position);
}

std::string hoverTimeText(std::string_view timeText) {
    std::string text = "time:";
    text += timeText;
    return text;
}

std::string hoverTemperatureText(float value, std::string_view unit) {
    std::string text;
    if (isNoValue(value)) {
        text = "-----";
    } else {
        char buffer[64];
        const int n = std::snprintf(buffer, sizeof buffer, "temp:%.1f", static_cast<double>(value));
        text.assign(buffer, static_cast<std::size_t>(std::clamp(n, 0, int{sizeof buffer} - 1)));
    }
    text += unit;
    return text;
}
