#include "core/graph/graphaxes.h"

#include "core/graph/pixelmath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Every text here fits: "%d" of an int, "%.2f" of a float.
std::string formatText(const char* format, auto value) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    return std::string(buffer, static_cast<std::size_t>(std::clamp(n, 0, int{sizeof buffer} - 1)));
}

} // namespace

void buildTickRowZero(GraphFields& g, int yScrollPos) {
    const long long p = yScrollPos;
    auto& row = g.g_fYTick[0];
    if (g.g_bAutoScale) {
        for (int k = 0; k < GraphFields::kTickCount; ++k) {
            row[k] = static_cast<float>((k - p + 68) * 25);
        }
        g.g_nYScrollAtZoom = yScrollPos;
        return;
    }
    // While zoomed one step of the bar moves the window by 1 instead of 25. The
    // window the zoom began from stays in place until the bar moves.
    const long long s = g.g_nYScrollAtZoom;
    for (int k = 0; k < GraphFields::kTickCount; ++k) {
        row[k] = static_cast<float>(25 * (k + 68 - s) + (s - p));
    }
}

int valueLabelIndent(double t) {
    if (t >= 1000) {
        return 1;
    }
    if (t >= 100) {
        return 2;
    }
    if (t >= 10) {
        return 3;
    }
    if (t >= 0) {
        return 4;
    }
    if (t > -10) {
        return 3;
    }
    if (t > -100) {
        return 2;
    }
    if (t >= -1000) {
        return 1;
    }
    return 0;
}

int valueLabelX(double tick) {
    return truncPixel(valueLabelIndent(tick) * 7.5 + 2.0);
}

UnzoomedSpacing unzoomedSpacing(int w, int count, bool fitMode, double step) {
    if (fitMode && count <= 0) {
        return {};
    }
    if (!fitMode || count >= 13) {
        const int k = step > 0.0 ? truncIndex((w / 12) / step) : 0;
        return {GraphFields::kXLabelCount, k};
    }
    if (count == 1) {
        return {1, 0}; // one line and the number 1 at the left edge
    }
    const int k = step > 0.0 ? truncIndex((w / (count - 1)) / step) : 0;
    return {count, k};
}

void addUnzoomedGrid(const UnzoomedSpacing& spacing, double step, std::vector<int>& gridX) {
    for (int m = 0; m < spacing.lines; ++m) {
        gridX.push_back(truncPixel(static_cast<double>(spacing.samplesPerDivision) * m * step));
    }
}

void setUnzoomedSampleNumbers(GraphFields& g, const UnzoomedSpacing& spacing) {
    for (int m = 0; m < spacing.lines; ++m) {
        g.g_nXLabel[m] = saturateInt(1 + static_cast<long long>(m) * spacing.samplesPerDivision);
    }
}

void addUnzoomedSampleLabels(const GraphFields& g, const UnzoomedSpacing& spacing, double step,
                             const PlotRect& plot, std::vector<SceneText>& labels) {
    for (int m = 0; m < spacing.lines; ++m) {
        const double x = static_cast<double>(spacing.samplesPerDivision) * m * step + plot.left;
        if (x < plot.right) {
            labels.push_back({g.m_strXLabel[m], truncPixel(x), plot.bottom + 40});
        }
    }
}

bool zoomedStep(const GraphFields& g, double& x0, double& dx) {
    const auto& start = g.m_levelStart[static_cast<std::size_t>(g.zoomLevel())];
    x0 = start[0];
    dx = static_cast<double>(start[1]) - start[0];
    return std::isfinite(x0) && std::isfinite(dx) && dx != 0.0;
}

void buildZoomedSampleAxis(GraphFields& g, const PlotRect& plot, int count, GraphScene& scene) {
    scene.panMaximum = count;
    double x0 = 0.0;
    double dx = 0.0;
    if (!zoomedStep(g, x0, dx)) {
        return;
    }
    const int w = plot.width();
    if (!g.g_bZoomPosInit) {
        const double q = g.m_nPanOffset;
        g.m_nZoomFirstIndex = truncIndex(q - (x0 + dx * q) / dx);
        // The bar stands at the sample shown at the left edge: a pan carried
        // into the new level counts.
        scene.panPosition =
            saturateInt(static_cast<long long>(g.m_nZoomFirstIndex) - g.m_nPanOffset);
        g.g_bZoomPosInit = true;
    }
    const long long first = g.m_nZoomFirstIndex;
    g.g_nXLabel[0] = saturateInt(first - g.m_nPanOffset + 1);

    const int visible = truncIndex(w / dx);
    scene.panPageStep = std::max(visible, 1);
    long long spacing = 1;
    if (visible > 1) {
        const int divisions = visible >= 4 ? 4 : visible;
        spacing = truncIndex((w / divisions) / dx);
    }
    for (int m = 0; m < GraphFields::kZoomGridCount; ++m) {
        const int index = saturateInt(first + spacing * m);
        scene.verticalGridX.push_back(truncPixel(index * dx + x0));
        g.g_nZoomGridIndex[m] = index;
        g.g_nXLabel[m] = saturateInt(static_cast<long long>(g.g_nXLabel[0]) + (index - first));
    }
}

void addZoomedSampleLabels(const GraphFields& g, const PlotRect& plot, int count,
                           std::vector<SceneText>& labels) {
    double x0 = 0.0;
    double dx = 0.0;
    if (count < 1 || !zoomedStep(g, x0, dx)) {
        return;
    }
    for (int m = 0; m < GraphFields::kZoomGridCount; ++m) {
        const double x = dx * g.g_nZoomGridIndex[m] + plot.left + x0;
        if (x >= plot.left && x <= plot.right) {
            labels.push_back({g.m_strXLabel[m], truncPixel(x), plot.bottom + 40});
        }
    }
}

void buildValueAxis(const GraphFields& g, const PlotRect& plot, int level, GraphScene& scene) {
    const int h = plot.height();
    const int originY = plot.top - 7; // the margin buffer's y = 0 in view pixels
    for (int k = 0; k < GraphFields::kTickCount; ++k) {
        ValueAxisMark& mark = scene.valueAxis[k];
        mark.tickX1 = plot.left - 5;
        mark.tickX2 = plot.left;
        mark.tickY = plot.bottom - (k * (h - 1) / 12) - originY - 1;
        mark.label.text = g.m_strYLabel[k];
        mark.label.x = valueLabelX(g.g_fYTick[level][k]);
        mark.label.y = plot.bottom - (k * (h - 2) / 12) - originY - 8;
    }
}

void buildLabelTexts(GraphFields& g, int level) {
    for (int m = 0; m < GraphFields::kXLabelCount; ++m) {
        g.m_strXLabel[m] = formatText("%d", g.g_nXLabel[m]);
    }
    for (int k = 0; k < GraphFields::kTickCount; ++k) {
        g.m_strYLabel[k] = formatText("%.2f", static_cast<double>(g.g_fYTick[level][k]));
    }
}
