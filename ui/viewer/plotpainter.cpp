#include "ui/viewer/plotpainter.h"

#include <QLine>
#include <QPainter>
#include <QPoint>

#include <algorithm>
#include <vector>

void drawPlotLines(QPainter& painter, const PlotLines& lines) {
    // Points of a polyline that follow on in one column are joined by upright
    // segments that together cover the column from its lowest point to its
    // highest: one upright line draws them, each pixel once, where the
    // polyline would draw most of them two or three times. The segments from
    // one column to the next are drawn as they are.
    std::vector<QLine> uprights;
    std::vector<QLine> steps;
    std::vector<QPoint> points;
    points.reserve(lines.points.size());
    for (const PlotPoint& p : lines.points)
        points.emplace_back(p.x, p.y);
    for (std::size_t k = 0; k < lines.lineCount(); ++k) {
        const std::size_t first = lines.starts[k];
        const std::size_t last =
            k + 1 < lines.lineCount() ? lines.starts[k + 1] : lines.points.size();
        for (std::size_t a = first; a < last;) {
            std::size_t b = a;
            int top = points[a].y();
            int bottom = top;
            while (b + 1 < last && points[b + 1].x() == points[a].x()) {
                ++b;
                top = std::min(top, points[b].y());
                bottom = std::max(bottom, points[b].y());
            }
            if (bottom > top)
                uprights.emplace_back(points[a].x(), top, points[a].x(), bottom);
            if (b + 1 < last)
                steps.emplace_back(points[b], points[b + 1]);
            a = b + 1;
        }
    }
    painter.drawLines(uprights.data(), static_cast<int>(uprights.size()));
    painter.drawLines(steps.data(), static_cast<int>(steps.size()));
    // An aliased line leaves out an end pixel or the other, depending on its
    // direction; every sample's pixel counts, so every point is drawn too.
    painter.drawPoints(points.data(), static_cast<int>(points.size()));
}
