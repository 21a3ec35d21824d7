#pragma once

#include "core/graph/alarmcolour.h"
#include "core/graph/graphstate.h"
#include "core/graph/plotrect.h"

#include <vector>

// The zoom levels are never kept as such: every zoomed paint derives levels
// 1..L from level 0 and the zoom boxes stored as fractions of the plot, so a zoom
// follows changes of the window size, of the live scale and of the data.

// Rebuilds levels 1..g_nZoomLevel: for each level j below it, the box corners in
// view-client pixels (ordered, Down = left/top), the pixel rows of level j + 1 for
// the first `rowLength` samples (the y rows only for the first `count`), and the 13
// ticks of level j + 1. A box without width or height (possible only through a
// window resized to almost nothing) leaves level j + 1 equal to level j.
void rebuildZoomChain(GraphFields& g, GraphRows& rows, const PlotRect& plot, int count,
                      int rowLength);

// The curve at the current zoom level: sample i at x = X0 + dx * (i + m_nPanOffset),
// where X0 and dx come from the first two entries of the level's row, and y from
// the level's y row; each segment coloured by the alarm band.
void addZoomedCurve(const GraphFields& g, const GraphRows& rows, const float* values, int count,
                    const AlarmBand& band, std::vector<CurvePiece>& out);
