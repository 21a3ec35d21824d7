#include "core/graph/graphscale.h"

#include "core/graph/graphaxes.h"
#include "core/graph/pixelmath.h"
#include "core/graph/zoomchain.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Empties the scene, keeping the capacity of its lists.
void clearScene(GraphScene& scene) {
    auto grid = std::move(scene.verticalGridX);
    auto rows = std::move(scene.horizontalGridY);
    auto curve = std::move(scene.curve);
    auto labels = std::move(scene.sampleLabels);
    scene = GraphScene{};
    grid.clear();
    rows.clear();
    curve.clear();
    labels.clear();
    scene.verticalGridX = std::move(grid);
    scene.horizontalGridY = std::move(rows);
    scene.curve = std::move(curve);
    scene.sampleLabels = std::move(labels);
}

// The horizontal step of the live mode (g_nPointsPerScreen samples across the
// width) or of the fit mode (the whole series across the width).
void setHorizontalStep(GraphState& g, int w, int count, bool fitMode) {
    if (!fitMode) {
        g.g_nPointsPerScreen = std::max(g.g_nPointsPerScreen, 2);
        g.g_fPixelsPerSample = static_cast<float>(w / (g.g_nPointsPerScreen - 1.0));
    } else {
        g.g_fPixelsPerSample =
            count > 0 ? static_cast<float>(static_cast<double>(w) / count) : 0.0f;
    }
}

// The rows of the alarm limits at a level, kept in g_fAlarmHighY/g_fAlarmLowY.
AlarmBand alarmBandAt(GraphState& g, const GraphViewMembers& v, int level, int h) {
    const auto& tick = g.g_fYTick[level];
    g.g_fAlarmHighY = static_cast<float>(valueToRow(v.m_nAlarmHigh, tick[0], tick[12], h));
    g.g_fAlarmLowY = static_cast<float>(valueToRow(v.m_nAlarmLow, tick[0], tick[12], h));
    return {static_cast<double>(v.m_nAlarmHigh), static_cast<double>(v.m_nAlarmLow),
            g.g_fAlarmHighY, g.g_fAlarmLowY};
}

// Maps the samples to the unzoomed pixel rows (g_fCurveX/Y and row 0 of the zoom
// tables), draws the unzoomed curve and compresses a live series that has reached
// the right edge: its existing samples then fill 11/12 of the width.
class LevelZero {
public:
    LevelZero(GraphState& g, int w, int h, bool fitMode)
        : m_g(g), m_w(w), m_h(h), m_fit(fitMode), m_unzoomed(g.g_bAutoScale) {}

    void build(const float* values, int count, const AlarmBand& band, GraphScene& scene) {
        float* zoomX = m_g.g_fZoomX[0];
        float* zoomY = m_g.g_fZoomY[0];
        m_g.g_fCurveX[0] = 0.0f;
        zoomX[0] = 0.0f;
        if (count >= 1) {
            m_g.g_fCurveY[0] = row(values[0]);
            zoomY[0] = m_g.g_fCurveY[0];
        }
        for (int i = 1; i < count; ++i) {
            m_g.g_fCurveX[i] = static_cast<float>(i * static_cast<double>(m_g.g_fPixelsPerSample));
            m_g.g_fCurveY[i] = row(values[i]);
            zoomX[i] =
                m_fit ? m_g.g_fCurveX[i] : static_cast<float>(i * static_cast<double>(baseStep()));
            zoomY[i] = m_g.g_fCurveY[i];
            if (m_unzoomed) {
                const SegmentEnd p0{m_g.g_fCurveX[i - 1], m_g.g_fCurveY[i - 1], values[i - 1]};
                const SegmentEnd p1{m_g.g_fCurveX[i], m_g.g_fCurveY[i], values[i]};
                for (const CurvePiece& piece : colourSegment(p0, p1, band)) {
                    scene.curve.push_back(piece);
                }
            }
            if (!m_fit && count >= m_g.g_nPointsPerScreen + 1) {
                compress();
                scene.repaintRequested = true;
            }
        }
        if (count < 2) {
            // No segment, but the first two entries of row 0 still give the
            // level's step and origin to the zoomed axis and the hover readout.
            zoomX[1] = m_fit ? m_g.g_fPixelsPerSample : baseStep();
        }
    }

private:
    float row(float value) const {
        const auto& tick = m_g.g_fYTick[0];
        return static_cast<float>(valueToRow(value, tick[0], tick[12], m_h));
    }

    // Live mode: the step of level 0 follows the live step while unzoomed and
    // keeps the basis it had when the zoom began while zoomed.
    float baseStep() {
        if (m_unzoomed) {
            m_g.g_fBasePixelsPerSample = m_g.g_fPixelsPerSample;
            m_g.g_nBasePointsPerScreen = m_g.g_nPointsPerScreen;
        } else {
            int points = m_g.g_nBasePointsPerScreen;
            if (points < 2) {
                points = m_g.g_nPointsPerScreen; // never unzoomed with samples yet
            }
            m_g.g_fBasePixelsPerSample = static_cast<float>(m_w / (points - 1.0));
        }
        return m_g.g_fBasePixelsPerSample;
    }

    void compress() {
        const double w = m_w;
        m_g.g_fPixelsPerSample =
            static_cast<float>((w - w * (1.0 / 12.0)) / m_g.g_nPointsPerScreen);
        const int points = truncIndex(w / m_g.g_fPixelsPerSample + 1.0);
        m_g.g_nPointsPerScreen = std::max(points, m_g.g_nPointsPerScreen + 1);
    }

    GraphState& m_g;
    int m_w;
    int m_h;
    bool m_fit;
    bool m_unzoomed;
};

} // namespace

void buildGraphScene(GraphState& g, GraphViewMembers& v, const PaintInput& in, GraphScene& scene) {
    clearScene(scene);
    const PlotRect plot = PlotRect::fromClient(in.client);
    scene.plot = plot;
    scene.width = plot.width();
    scene.height = plot.height();
    const int count =
        in.values != nullptr ? std::clamp(in.count, 0, GraphState::MAX_CURVE_POINTS) : 0;

    if (v.m_bAlarmHighFromBar) {
        v.m_nAlarmHigh = in.barAlarmHigh;
    }
    if (v.m_bAlarmLowFromBar) {
        v.m_nAlarmLow = in.barAlarmLow;
    }
    if (v.m_nAlarmHigh < v.m_nAlarmLow) {
        std::swap(v.m_nAlarmHigh, v.m_nAlarmLow);
    }
    scene.emptyReadout = count == 0;
    scene.valueScroll = {0, 72, v.m_nYScrollPos};
    if (!plot.hasArea()) {
        return;
    }
    scene.hasArea = true;
    const int w = plot.width();
    const int h = plot.height();
    const bool fitMode = v.m_nResetOnNextFrame != 0;

    // An empty live graph starts the scale afresh, and so does a live series
    // emptied since the last paint: the first live frame after a load empties
    // the store and is committed at once, so no paint sees the graph empty.
    const bool emptied = in.emptied != g.g_nEmptiedSeen;
    g.g_nEmptiedSeen = in.emptied;
    if (!fitMode && (count == 0 || emptied)) {
        g.g_nPointsPerScreen = 100;
        g.g_fBasePixelsPerSample = g.g_fPixelsPerSample;
        g.g_nZoomLevel = 0;
        g.g_bAutoScale = true;
        v.m_nPanOffset = 0;
    }
    setHorizontalStep(g, w, count, fitMode);

    // A new sample keeps a hover line that is on screen; any other repaint wipes it.
    if (v.m_bNewData) {
        if (!g.g_bHoverLineErased) {
            scene.hoverLineX = g.g_nHoverX - plot.left;
            v.m_bNewData = false;
        }
    } else {
        g.g_bHoverLineErased = true;
    }

    const bool unzoomed = g.g_bAutoScale;
    if (unzoomed) {
        const double step = g.g_fPixelsPerSample;
        addUnzoomedGrid(unzoomedSpacing(w, count, fitMode, step), step, scene.verticalGridX);
    }
    for (int j = 1; j <= 12; ++j) {
        scene.horizontalGridY.push_back(truncPixel(j * h * (1.0 / 12.0)));
    }

    buildTickRowZero(g, v.m_nYScrollPos);
    const AlarmBand bandZero = alarmBandAt(g, v, 0, h);
    LevelZero(g, w, h, fitMode).build(in.values, count, bandZero, scene);

    const int level = unzoomed ? 0 : g.zoomLevel();
    const double step = g.g_fPixelsPerSample; // as left by any compression
    const UnzoomedSpacing spacing = unzoomedSpacing(w, count, fitMode, step);
    if (unzoomed) {
        setUnzoomedSampleNumbers(g, spacing);
    } else {
        rebuildZoomChain(g, plot, count, std::max(count, 2));
        // The alarm rows follow the level as rebuilt in this paint.
        const AlarmBand band = alarmBandAt(g, v, level, h);
        buildZoomedSampleAxis(g, v, plot, count, scene);
        addZoomedCurve(g, v.m_nPanOffset, in.values, count, band, scene.curve);
    }

    buildLabelTexts(g, v, level);
    buildValueAxis(g, v, plot, level, scene);

    scene.labelStrip = SceneRect{plot.left, plot.bottom + 33, w + 22, 29};
    if (unzoomed) {
        addUnzoomedSampleLabels(spacing, step, plot, v, scene.sampleLabels);
    } else {
        addZoomedSampleLabels(g, v, plot, count, scene.sampleLabels);
    }

    for (const float row : {g.g_fAlarmHighY, g.g_fAlarmLowY}) {
        if (std::isfinite(row)) {
            scene.alarmLineY.push_back(truncPixel(row));
        }
    }
}

GraphScene buildGraphScene(GraphState& g, GraphViewMembers& v, const PaintInput& in) {
    GraphScene scene;
    buildGraphScene(g, v, in, scene);
    return scene;
}
