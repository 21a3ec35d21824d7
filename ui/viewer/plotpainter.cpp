#include "ui/viewer/plotpainter.h"

#include <QPainter>
#include <QPoint>

#include <vector>

void drawPlotLines(QPainter& painter, const PlotLines& lines) {
    std::vector<QPoint> points;
    points.reserve(lines.points.size());
    for (const PlotPoint& p : lines.points)
        points.emplace_back(p.x, p.y);
    for (std::size_t k = 0; k < lines.lineCount(); ++k) {
        const std::size_t first = lines.starts[k];
        const std::size_t last =
            k + 1 < lines.lineCount() ? lines.starts[k + 1] : lines.points.size();
        if (last - first > 1)
            painter.drawPolyline(points.data() + first, static_cast<int>(last - first));
    }
    // An aliased line leaves out an end pixel or the other, depending on its
    // direction; every sample's pixel counts, so every point is drawn too.
    painter.drawPoints(points.data(), static_cast<int>(points.size()));
}
