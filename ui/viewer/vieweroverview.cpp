#include "ui/viewer/vieweroverview.h"

#include "core/viewer/columnplot.h"
#include "core/viewer/valueaxis.h"
#include "ui/viewer/plotpainter.h"
#include "ui/viewer/recordingload.h"
#include "ui/viewer/viewerplot.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

ViewerOverview::ViewerOverview(QWidget* parent) : QWidget(parent) {
    setFixedHeight(44);
    setAccessibleName(tr("Overview of the whole recording"));
    setAccessibleDescription(tr("The part shown above is marked; press or drag here to move it."));
}

void ViewerOverview::setData(std::shared_ptr<const ViewerData> data, const ViewSpan& whole) {
    m_data = std::move(data);
    m_whole = m_visible = whole;
    m_picture = QImage();
    update();
}

void ViewerOverview::setVisibleSpan(const ViewSpan& visible) {
    m_visible = visible;
    update();
}

QRect ViewerOverview::stripRect() const {
    return QRect(ViewerPlot::kLeftMargin, 4,
                 std::max(1, width() - ViewerPlot::kLeftMargin - ViewerPlot::kRightMargin),
                 std::max(1, height() - 8));
}

int ViewerOverview::xOf(std::int64_t timeMs) const {
    const QRect strip = stripRect();
    return strip.left() +
           static_cast<int>(
               plotColumn({m_whole.startMs, m_whole.endMs, 0.0, 1.0, strip.width(), 1}, timeMs));
}

void ViewerOverview::resizeEvent(QResizeEvent*) {
    m_picture = QImage();
}

void ViewerOverview::paintEvent(QPaintEvent*) {
    const QRect strip = stripRect();
    if (m_picture.size() != strip.size()) {
        m_picture = QImage(strip.size(), QImage::Format_RGB32);
        m_picture.fill(QColor(0, 0, 0));
        if (m_data && m_data->pyramid.summary(0, m_data->series().size()).count > 0) {
            const SpanSummary all = m_data->pyramid.summary(0, m_data->series().size());
            const ValueAxis axis = fittedValueAxis(all.low, all.high, strip.height(), 10);
            const PlotView view{m_whole.startMs, m_whole.endMs, axis.low,
                                axis.high,       strip.width(), strip.height()};
            QPainter p(&m_picture);
            p.setPen(QPen(QColor(80, 150, 255), 0));
            drawPlotLines(p, aggregateColumns(m_data->series(), m_data->pyramid, view));
        }
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.drawImage(strip.topLeft(), m_picture);
    // Outside the visible part the strip is dimmed.
    const int left = std::clamp(xOf(m_visible.startMs), strip.left(), strip.right() + 1);
    const int right = std::clamp(xOf(m_visible.endMs), strip.left(), strip.right() + 1);
    const QColor dim(0, 0, 0, 150);
    painter.fillRect(QRect(strip.left(), strip.top(), left - strip.left(), strip.height()), dim);
    painter.fillRect(QRect(right, strip.top(), strip.right() + 1 - right, strip.height()), dim);
    painter.setPen(QPen(QColor(255, 255, 255), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(left, strip.top(), std::max(1, right - left - 1), strip.height() - 1));
}

void ViewerOverview::requestAt(int x) {
    const QRect strip = stripRect();
    const double fraction = (x - strip.left() + 0.5) / strip.width();
    Q_EMIT centreRequested(m_whole.startMs +
                           std::llround(fraction * static_cast<double>(m_whole.length())));
}

void ViewerOverview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        requestAt(static_cast<int>(event->position().x()));
}

void ViewerOverview::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        requestAt(static_cast<int>(event->position().x()));
}
