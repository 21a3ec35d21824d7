#pragma once

#include "core/viewer/columnplot.h"

#include <QLine>
#include <QRect>

#include <vector>

class QColor;
class QPainter;

// A plot's polylines as they are painted. Points of a polyline that follow on
// in one column are joined by upright segments that together cover the column
// from the highest point to the lowest: one rectangle a pixel wide covers
// them and the points, each pixel once, where the polyline would draw most of
// them two or three times and an aliased line may leave out an end pixel.
// The segments from one column to the next are `steps`; their ends lie in the
// columns' rectangles.
struct PlotStrokes {
    std::vector<QRect> columns;
    std::vector<QLine> steps;
};

PlotStrokes plotStrokes(const PlotLines& lines);
// Draws the strokes in `color` (the painter's pen and brush are kept). The
// painter's transform places the plot.
void drawPlotStrokes(QPainter& painter, const PlotStrokes& strokes, const QColor& color);
// The polylines with the painter's pen colour, a polyline of one point as a dot.
void drawPlotLines(QPainter& painter, const PlotLines& lines);
