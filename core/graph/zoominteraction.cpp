#include "core/graph/zoominteraction.h"

#include "core/graph/graphstate.h"

#include "core/graph/pixelmath.h"
#include "core/store/samplestore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

constexpr int kDeepestLevel = GraphFields::MAX_ZOOM_LEVELS - 1;
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

bool GraphState::zoomPress(const PlotRect& plot, int count, int x, int y) {
    if (!usable(count, plot)) {
        return false;
    }
    const int level = m.zoomLevel();
    m.g_ptDragStart = m.g_ptDragLast =
        recordCorner(plot, x, y, m.g_fZoomDownX[level], m.g_fZoomDownY[level],
                     m.g_dZoomDownX[level], m.g_dZoomDownY[level]);
    m.g_bButtonDown = true;
    m.g_bNoDragMove = true;
    return true;
}

MouseMoveResult GraphState::mouseMove(const PlotRect& plot, int count, int x, int y) {
    MouseMoveResult result;
    if (!usable(count, plot)) {
        return result;
    }
    result.handled = true;
    x = plot.clampX(x);
    y = plot.clampY(y);

    if (m.g_bHoverLineErased) {
        m.g_bHoverLineErased = false;
    } else {
        result.eraseHoverX = m.g_nHoverX;
    }
    m.g_nHoverX = x;
    result.hoverX = x;

    if (const auto index = sampleIndexAt(plot, x)) {
        m.g_nHoverIndex = *index;
        if (*index >= 0 && *index < count) {
            result.hoverIndex = *index;
        }
    }

    if (m.g_bButtonDown) {
        m.m_bDragging = true;
        const DragPoint now{x, y};
        result.box = DragBoxMove{normalised(m.g_ptDragStart, m.g_ptDragLast),
                                 normalised(m.g_ptDragStart, now)};
        if (x != m.g_ptDragStart.x || y != m.g_ptDragStart.y) {
            m.g_bNoDragMove = false;
        }
        m.g_ptDragLast = now;
    }
    return result;
}

ZoomReleaseResult GraphState::zoomRelease(const PlotRect& plot, int count, int x, int y) {
    ZoomReleaseResult result;
    if (!usable(count, plot)) {
        return result;
    }
    const int level = m.zoomLevel();
    recordCorner(plot, x, y, m.g_fZoomUpX[level], m.g_fZoomUpY[level], m.g_dZoomUpX[level],
                 m.g_dZoomUpY[level]);

    if (m.g_bButtonDown) {
        result.eraseBox = normalised(m.g_ptDragStart, m.g_ptDragLast);
        m.g_bButtonDown = false;
    }
    // The button is up and no box is left on screen, whatever follows.
    m.m_bDragging = false;
    if (m.g_bNoDragMove) {
        result.outcome = ZoomOutcome::Click;
        return result;
    }
    m.g_bNoDragMove = true;

    float& downX = m.g_fZoomDownX[level];
    float& upX = m.g_fZoomUpX[level];
    float& downY = m.g_fZoomDownY[level];
    float& upY = m.g_fZoomUpY[level];
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
    const double bottom = m.g_fYTick[level][0];
    const double span = static_cast<double>(m.g_fYTick[level][12]) - bottom;
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
        m.g_fYTick[level + 1][0] = t0;
        m.g_fYTick[level + 1][1] = t1;
        if (tickStep > 0.1) {
            m.g_nZoomLevel = static_cast<std::int8_t>(level + 1);
            result.outcome = ZoomOutcome::Zoomed;
        }
    }
    m.g_bAutoScale = false;
    m.g_bZoomPosInit = false;
    return result;
}

bool GraphState::dragWatch(const PlotRect& plot, int x, int y) {
    if (!m.g_bButtonDown || plot.contains(x, y)) {
        return false;
    }
    m.g_bButtonDown = false;
    m.m_bDragging = false;
    m.g_bNoDragMove = true;
    return true;
}

ZoomOutcome GraphState::completeZoomDrag(const PlotRect& plot, int count, DragPoint press,
                                         DragPoint release) {
    if (!zoomPress(plot, count, press.x, press.y)) {
        return ZoomOutcome::Ignored;
    }
    mouseMove(plot, count, release.x, release.y);
    return zoomRelease(plot, count, release.x, release.y).outcome;
}

bool GraphState::panTo(int position) {
    if (m.g_bAutoScale) {
        return false;
    }
    const int pan = saturateInt(static_cast<long long>(m.m_nZoomFirstIndex) - position);
    if (pan == m.m_nPanOffset) {
        return false;
    }
    m.m_nPanOffset = pan;
    return true;
}

void GraphState::undoZoom() {
    m.g_nZoomLevel = 0;
    m.g_bAutoScale = true;
    m.g_fBasePixelsPerSample = m.g_fPixelsPerSample;
    m.m_nPanOffset = 0;
}

std::optional<int> GraphState::sampleIndexAt(const PlotRect& plot, int x) const {
    if (!plot.hasArea()) {
        return std::nullopt;
    }
    const auto& start = m.m_levelStart[static_cast<std::size_t>(m.zoomLevel())];
    const double x0 = start[0];
    const double dx = static_cast<double>(start[1]) - x0;
    if (!std::isfinite(x0) || !std::isfinite(dx) || dx == 0.0) {
        return std::nullopt;
    }
    const double position = (plot.clampX(x) - x0 - plot.left) / dx - m.m_nPanOffset;
    return truncIndex(position);
}

std::optional<int> GraphState::hoverLineX() const {
    if (m.g_bHoverLineErased) {
        return std::nullopt;
    }
    return m.g_nHoverX;
}

std::optional<DragRect> GraphState::dragBox() const {
    if (!m.g_bButtonDown) {
        return std::nullopt;
    }
    return normalised(m.g_ptDragStart, m.g_ptDragLast);
}

const std::array<float, GraphState::kTickCount>& GraphState::ticks(int level) const {
    return m.g_fYTick[static_cast<std::size_t>(std::clamp(level, 0, MAX_ZOOM_LEVELS - 1))];
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
