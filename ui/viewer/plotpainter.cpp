#include "ui/viewer/plotpainter.h"

#include <QPainter>

#include <algorithm>

PlotStrokes plotStrokes(const PlotLines& lines) {
    PlotStrokes strokes;
    const std::vector<PlotPoint>& p = lines.points;
    for (std::size_t k = 0; k < lines.lineCount(); ++k) {
        const std::size_t first = lines.starts[k];
        const std::size_t last = k + 1 < lines.lineCount() ? lines.starts[k + 1] : p.size();
        for (std::size_t a = first; a < last;) {
            std::size_t b = a;
            int top = p[a].y;
            int bottom = top;
            while (b + 1 < last && p[b + 1].x == p[a].x) {
                ++b;
                top = std::min(top, p[b].y);
                bottom = std::max(bottom, p[b].y);
            }
            strokes.columns.emplace_back(p[a].x, top, 1, bottom - top + 1);
            if (b + 1 < last)
                strokes.steps.emplace_back(p[b].x, p[b].y, p[b + 1].x, p[b + 1].y);
            a = b + 1;
        }
    }
    return strokes;
}

void drawPlotStrokes(QPainter& painter, const PlotStrokes& strokes, const QColor& color) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRects(strokes.columns.data(), static_cast<int>(strokes.columns.size()));
    painter.setPen(QPen(color, 0));
    painter.drawLines(strokes.steps.data(), static_cast<int>(strokes.steps.size()));
    painter.restore();
}

void drawPlotLines(QPainter& painter, const PlotLines& lines) {
    drawPlotStrokes(painter, plotStrokes(lines), painter.pen().color());
}
