#pragma once

#include "core/graph/graphscene.h"
#include "core/graph/graphstate.h"
#include "core/graph/plotrect.h"

// The graph's axes: the value window and its ticks, the vertical grid and the
// sample numbers under it, and where both axes' labels go.

// Row 0 of the tick table from the value scroll bar position. Unzoomed, the
// window is (k - p + 68) * 25 for k = 0..12 and the position is remembered in
// g_nYScrollAtZoom; zoomed, each step of the bar moves the window by 1 degree
// from where it was when the zoom began.
void buildTickRowZero(GraphFields& g, int yScrollPos);

// Indent count of a value-axis label (labels of different widths end near one
// column) and the label's x in the margin buffer.
int valueLabelIndent(double tick);
int valueLabelX(double tick);

// Vertical grid of the unzoomed modes: `lines` lines (m = 0..lines-1), one every
// `samplesPerDivision` samples, at x = trunc(samplesPerDivision * m * step).
struct UnzoomedSpacing {
    int lines = 0;
    int samplesPerDivision = 0;
};

// Live mode, or fit mode with 13 or more samples: 20 lines about W/12 apart. Fit
// mode with 1..12 samples: one line per sample (a single sample: one line at the
// left edge). Fit mode with no sample: none.
UnzoomedSpacing unzoomedSpacing(int w, int count, bool fitMode, double step);

// Grid x positions (plot-relative) for the spacing.
void addUnzoomedGrid(const UnzoomedSpacing& spacing, double step, std::vector<int>& gridX);

// g_nXLabel for the unzoomed modes: 1 + m * samplesPerDivision.
void setUnzoomedSampleNumbers(GraphFields& g, const UnzoomedSpacing& spacing);

// The unzoomed sample labels (texts from m_strXLabel) under the grid lines that
// start left of plot.right, at (x, plot.bottom + 40) in view-client pixels.
void addUnzoomedSampleLabels(const GraphFields& g, const UnzoomedSpacing& spacing, double step,
                             const PlotRect& plot, std::vector<SceneText>& labels);

// The zoomed sample axis at the current level (after the zoom chain): the pan bar
// range and, at the first paint after a zoom, m_nZoomFirstIndex and the pan bar
// position; ten grid lines a whole number of samples apart, g_nZoomGridIndex and
// g_nXLabel. Nothing is placed while the level has no usable horizontal step.
void buildZoomedSampleAxis(GraphFields& g, const PlotRect& plot, int count, GraphScene& scene);

// The zoomed sample labels (texts from m_strXLabel) under the grid lines that lie
// within plot.left..plot.right, at (x, plot.bottom + 40) in view-client pixels.
void addZoomedSampleLabels(const GraphFields& g, const PlotRect& plot, int count,
                           std::vector<SceneText>& labels);

// Horizontal step of the current zoom level (pixels per sample) and the x of
// sample 0, plot-relative. False when the step is zero or not finite.
bool zoomedStep(const GraphFields& g, double& x0, double& dx);

// The 13 tick marks and value labels on the margin buffer, from the texts in
// m_strYLabel and the ticks of `level`.
void buildValueAxis(const GraphFields& g, const PlotRect& plot, int level, GraphScene& scene);

// Texts of both axes' labels: "%d" of g_nXLabel, "%.2f" of the ticks of `level`.
void buildLabelTexts(GraphFields& g, int level);
