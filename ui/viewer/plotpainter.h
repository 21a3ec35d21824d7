#pragma once

#include "core/viewer/columnplot.h"

class QPainter;

// Draws the polylines of a plot with the painter's pen, a polyline of one
// point as a dot. The painter's transform places the plot.
void drawPlotLines(QPainter& painter, const PlotLines& lines);
