#include "core/graph/graphscale.h"

#include "core/graph/graphaxes.h"
#include "core/graph/pixelmath.h"
#include "core/graph/valuewindow.h"
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
void setHorizontalStep(GraphFields& g, int w, int count, bool fitMode) {
    if (!fitMode) {
        g.g_nPointsPerScreen = std::max(g.g_nPointsPerScreen, 2);
        g.g_fPixelsPerSample = static_cast<float>(w / (g.g_nPointsPerScreen - 1.0));
    } else {
        g.g_fPixelsPerSample =
            count > 0 ? static_cast<float>(static_cast<double>(w) / count) : 0.0f;
    }
}

// The rows of the alarm limits at a level, kept in g_fAlarmHighY/g_fAlarmLowY.
AlarmBand alarmBandAt(GraphFields& g, const PaintInput& in, int level, int h) {
    const auto& tick = g.g_fYTick[level];
    g.g_fAlarmHighY = static_cast<float>(valueToRow(in.alarmHigh, tick[0], tick[12], h));
    g.g_fAlarmLowY = static_cast<float>(valueToRow(in.alarmLow, tick[0], tick[12], h));
    return {static_cast<double>(in.alarmHigh), static_cast<double>(in.alarmLow), g.g_fAlarmHighY,
            g.g_fAlarmLowY};
}

// Sizes the pixel rows for `count` samples: the curve rows always; the rows of
// the zoom levels 0..level only while zoomed, otherwise just the first two
// entries of row 0 (the origin and step the hover readout needs).
void prepareRows(GraphRows& rows, int count, bool zoomed, int level) {
    const auto length = static_cast<std::size_t>(std::max(count, 2));
    rows.g_fCurveX.resize(length);
    rows.g_fCurveY.resize(length);
    const std::size_t levels = zoomed ? static_cast<std::size_t>(level) + 1 : 1;
    for (auto* table : {&rows.g_fZoomX, &rows.g_fZoomY}) {
        table->resize(levels);
        for (std::vector<float>& row : *table) {
            row.resize(zoomed ? length : 2);
        }
        if (!zoomed && (*table)[0].capacity() > 2) {
            (*table)[0].shrink_to_fit(); // the zoom is over: its rows go
        }
    }
}

// Maps the samples to the unzoomed pixel rows (g_fCurveX/Y and row 0 of the zoom
// tables), draws the unzoomed curve and compresses a live series that has reached
// the right edge: its existing samples then fill 11/12 of the width.
class LevelZero {
public:
    LevelZero(GraphFields& g, GraphRows& rows, int w, int h, bool fitMode)
        : m_g(g), m_rows(rows), m_w(w), m_h(h), m_fit(fitMode), m_unzoomed(g.g_bAutoScale) {}

    void build(const float* values, int count, const AlarmBand& band, GraphScene& scene) {
        float* curveX = m_rows.g_fCurveX.data();
        float* curveY = m_rows.g_fCurveY.data();
        // Unzoomed, row 0 of the zoom tables keeps its first two entries only.
        float* zoomX = m_rows.g_fZoomX[0].data();
        float* zoomY = m_rows.g_fZoomY[0].data();
        const int rowLength = m_unzoomed ? 2 : count;
        curveX[0] = 0.0f;
        zoomX[0] = 0.0f;
        if (count >= 1) {
            curveY[0] = row(values[0]);
            zoomY[0] = curveY[0];
        }
        for (int i = 1; i < count; ++i) {
            curveX[i] = static_cast<float>(i * static_cast<double>(m_g.g_fPixelsPerSample));
            curveY[i] = row(values[i]);
            const float x =
                m_fit ? curveX[i] : static_cast<float>(i * static_cast<double>(baseStep()));
            if (i < rowLength) {
                zoomX[i] = x;
                zoomY[i] = curveY[i];
            }
            if (m_unzoomed) {
                const SegmentEnd p0{curveX[i - 1], curveY[i - 1], values[i - 1]};
                const SegmentEnd p1{curveX[i], curveY[i], values[i]};
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
        m_g.m_levelStart[0] = {zoomX[0], zoomX[1]};
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

    GraphFields& m_g;
    GraphRows& m_rows;
    int m_w;
    int m_h;
    bool m_fit;
    bool m_unzoomed;
};

// The value scroll position of this paint: the one given, or, following the
// readings unzoomed, the one that shows the newest live reading or a file
// just loaded.
int followedPosition(const PaintInput& in, int count, bool unzoomed, bool justLoaded) {
    if (!in.followReadings || !unzoomed || count == 0)
        return in.yScrollPos;
    if (in.fitMode)
        return justLoaded
                   ? valuewindow::positionForReadings(
                         std::span(in.values, static_cast<std::size_t>(count)), in.yScrollPos)
                   : in.yScrollPos;
    return valuewindow::positionShowing(in.yScrollPos, in.values[count - 1]);
}

// Arrows at the top and bottom edges when readings lie above or below the
// unzoomed value window.
void addEdgeArrows(const PaintInput& in, int count, int position, int w, int h,
                   std::vector<EdgeArrow>& arrows) {
    constexpr int kHalfWidth = 6;
    constexpr int kLength = 8;
    constexpr int kFromRight = 16;
    const valuewindow::Beyond beyond = valuewindow::readingsBeyond(
        std::span(in.values, static_cast<std::size_t>(count)), position);
    const int x = w - kFromRight;
    if (beyond.above)
        arrows.push_back({x, 1, 1 + kLength, kHalfWidth});
    if (beyond.below)
        arrows.push_back({x, h - 2, h - 2 - kLength, kHalfWidth});
}

} // namespace

GraphFields buildGraphScene(const GraphFields& before, const PaintInput& in, GraphRows& rows,
                            GraphScene& scene) {
    clearScene(scene);
    const PlotRect plot = PlotRect::fromClient(in.client);
    scene.plot = plot;
    scene.width = plot.width();
    scene.height = plot.height();
    const int count =
        in.values != nullptr ? std::clamp(in.count, 0, GraphFields::MAX_CURVE_POINTS) : 0;

    scene.emptyReadout = count == 0;
    scene.valueScroll = {0, 72, in.yScrollPos};
    scene.newDataKept = in.newData;
    if (!plot.hasArea()) {
        return before;
    }
    scene.hasArea = true;
    GraphFields g = before;
    const int w = plot.width();
    const int h = plot.height();
    const bool fitMode = in.fitMode;

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
        g.m_nPanOffset = 0;
    }
    setHorizontalStep(g, w, count, fitMode);

    // A new sample keeps a hover line that is on screen; any other repaint wipes it.
    if (in.newData) {
        if (!g.g_bHoverLineErased) {
            scene.hoverLineX = g.g_nHoverX - plot.left;
            scene.newDataKept = false;
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

    const bool justLoaded = in.loaded != g.m_nLoadedSeen;
    g.m_nLoadedSeen = in.loaded;
    const int yScrollPos = followedPosition(in, count, unzoomed, justLoaded);
    scene.valueScroll.position = yScrollPos;
    buildTickRowZero(g, yScrollPos);
    const int level = unzoomed ? 0 : g.zoomLevel();
    prepareRows(rows, count, !unzoomed, level);
    const AlarmBand bandZero = alarmBandAt(g, in, 0, h);
    LevelZero(g, rows, w, h, fitMode).build(in.values, count, bandZero, scene);

    const double step = g.g_fPixelsPerSample; // as left by any compression
    const UnzoomedSpacing spacing = unzoomedSpacing(w, count, fitMode, step);
    if (unzoomed) {
        setUnzoomedSampleNumbers(g, spacing);
    } else {
        rebuildZoomChain(g, rows, plot, count, std::max(count, 2));
        // The alarm rows follow the level as rebuilt in this paint.
        const AlarmBand band = alarmBandAt(g, in, level, h);
        buildZoomedSampleAxis(g, plot, count, scene);
        addZoomedCurve(g, rows, in.values, count, band, scene.curve);
    }

    buildLabelTexts(g, level);
    buildValueAxis(g, plot, level, scene);

    scene.labelStrip = SceneRect{plot.left, plot.bottom + 33, w + 22, 29};
    if (unzoomed) {
        addUnzoomedSampleLabels(g, spacing, step, plot, scene.sampleLabels);
    } else {
        addZoomedSampleLabels(g, plot, count, scene.sampleLabels);
    }

    for (const float row : {g.g_fAlarmHighY, g.g_fAlarmLowY}) {
        if (std::isfinite(row)) {
            scene.alarmLineY.push_back(truncPixel(row));
        }
    }
    if (unzoomed && !in.followReadings) {
        addEdgeArrows(in, count, yScrollPos, w, h, scene.edgeArrows);
    }
    return g;
}

void GraphState::paint(const PaintInput& in, GraphScene& scene) {
    m = buildGraphScene(m, in, m_rows, scene);
}

GraphScene GraphState::paint(const PaintInput& in) {
    GraphScene scene;
    paint(in, scene);
    return scene;
}
