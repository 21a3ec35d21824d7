#include "ui/viewer/viewerplot.h"

#include "core/text/valuetext.h"
#include "core/viewer/timeaxis.h"
#include "ui/viewer/plotpainter.h"
#include "ui/viewer/recordingload.h"

#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kLeft = ViewerPlot::kLeftMargin;
constexpr int kRight = ViewerPlot::kRightMargin;
constexpr int kTop = 10;
constexpr int kBottom = 40;
constexpr int kFontPixels = 12;
constexpr int kValueTickSpacing = 32;
constexpr double kWheelStep = 0.8; // the span of one notch toward the pointer
constexpr int kWheelPause = 600;   // ms: a wheel turn after this is a new zoom step

const QColor kBackground(0, 0, 0);
const QColor kGrid(70, 70, 70);
const QColor kCurve(80, 150, 255);
const QColor kBeyond(255, 0, 0);
const QColor kLimit(0, 155, 0);

QFont labelFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kFontPixels);
    return font;
}

} // namespace

ViewerPlot::ViewerPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 160);
    setAccessibleName(tr("Recorded samples"));
    setAccessibleDescription(QStringLiteral(
        "The samples over time. Wheel: zoom; drag: pan; Shift and drag: zoom into a box; "
        "Home: everything; Backspace: back one step; arrow keys: pan."));
}

void ViewerPlot::setData(std::shared_ptr<const ViewerData> data) {
    m_data = std::move(data);
    m_history.clear();
    m_fixed.reset();
    const RecordingSeries* s = m_data ? &m_data->series() : nullptr;
    m_whole = s && !s->empty() ? ViewSpan::whole(s->firstTime(), s->lastTime())
                               : ViewSpan{0, ViewSpan::kShortest};
    m_span = m_whole;
    update();
    Q_EMIT spanChanged();
}

void ViewerPlot::setAlarmLimits(int high, int low) {
    m_nAlarmHigh = std::max(high, low);
    m_nAlarmLow = std::min(high, low);
    update();
}

void ViewerPlot::remember() {
    m_history.push_back({m_span, m_fixed});
}

void ViewerPlot::setSpan(const ViewSpan& span, bool rememberIt) {
    const ViewSpan limited = span.limited(m_whole);
    if (limited == m_span)
        return;
    if (rememberIt)
        remember();
    m_span = limited;
    update();
    Q_EMIT spanChanged();
}

void ViewerPlot::showEverything() {
    if (m_span == m_whole && !m_fixed)
        return;
    remember();
    m_fixed.reset();
    m_span = m_whole;
    update();
    Q_EMIT spanChanged();
}

void ViewerPlot::backOneStep() {
    if (m_history.empty())
        return;
    m_span = m_history.back().span;
    m_fixed = m_history.back().fixed;
    m_history.pop_back();
    update();
    Q_EMIT spanChanged();
}

void ViewerPlot::fitValues() {
    m_fixed.reset();
    update();
}

void ViewerPlot::fixValues(double low, double high) {
    if (high < low)
        std::swap(low, high);
    if (!(high > low))
        return;
    m_fixed = {low, high};
    update();
}

std::pair<std::size_t, std::size_t> ViewerPlot::visibleSamples() const {
    if (!m_data)
        return {0, 0};
    const RecordingSeries& s = m_data->series();
    return {s.lowerBound(m_span.startMs), s.lowerBound(m_span.endMs)};
}

QRect ViewerPlot::plotRect(QSize size) const {
    return QRect(kLeft, kTop, std::max(1, size.width() - kLeft - kRight),
                 std::max(1, size.height() - kTop - kBottom));
}

ValueAxis ViewerPlot::valueAxisFor(int height) const {
    if (m_fixed)
        return valueAxis(m_fixed->first, m_fixed->second, height, kValueTickSpacing);
    if (m_data) {
        const auto [first, last] = visibleSamples();
        const SpanSummary s = m_data->pyramid.summary(first, last);
        if (s.count > 0)
            return fittedValueAxis(s.low, s.high, height, kValueTickSpacing);
    }
    return fittedValueAxis(0.0, 100.0, height, kValueTickSpacing);
}

PlotView ViewerPlot::plotView(QSize size) const {
    const QRect plot = plotRect(size);
    const ValueAxis axis = valueAxisFor(plot.height());
    return {m_span.startMs, m_span.endMs, axis.low, axis.high, plot.width(), plot.height()};
}

std::int64_t ViewerPlot::timeAt(int x) const {
    const QRect plot = plotRect(size());
    const double fraction = (x - plot.left() + 0.5) / plot.width();
    return m_span.startMs + std::llround(fraction * static_cast<double>(m_span.length()));
}

void ViewerPlot::render(QPainter& painter, QSize size) const {
    const QRect plot = plotRect(size);
    const ValueAxis axis = valueAxisFor(plot.height());
    const PlotView view{m_span.startMs, m_span.endMs, axis.low,
                        axis.high,      plot.width(), plot.height()};
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Each pixel filled once: a fill of the whole plot costs as much as the curve.
    for (const QRect& margin : QRegion(QRect(QPoint(0, 0), size)).subtracted(plot))
        painter.fillRect(margin, palette().color(QPalette::Window));
    painter.fillRect(plot, kBackground);
    painter.setFont(labelFont());
    const QFontMetrics metrics(painter.font());
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('0'));

    // The grid and the labels of both axes.
    const std::vector<TimeTick> ticks = timeTicks(view, charWidth);
    std::vector<QLine> grid;
    for (const TimeTick& t : ticks)
        grid.emplace_back(plot.left() + t.x, plot.top(), plot.left() + t.x, plot.bottom());
    const std::vector<double> values = axis.ticks();
    for (const double v : values) {
        const int y = plot.top() + plotRow(view, v);
        grid.emplace_back(plot.left(), y, plot.right(), y);
    }
    painter.setPen(QPen(kGrid, 0));
    painter.drawLines(grid.data(), static_cast<int>(grid.size()));

    painter.setPen(palette().color(QPalette::WindowText));
    const int row1 = plot.bottom() + 4;
    for (const TimeTick& t : ticks) {
        const QString label = QString::fromStdString(t.label);
        const int w = metrics.horizontalAdvance(label);
        const int x = std::clamp(plot.left() + t.x - w / 2, 0, size.width() - w);
        painter.drawText(QRect(x, row1, w, metrics.height()), Qt::AlignLeft, label);
        if (!t.date.empty()) {
            const QString date = QString::fromStdString(t.date);
            const int dw = metrics.horizontalAdvance(date);
            const int dx = std::clamp(plot.left() + t.x - dw / 2, 0, size.width() - dw);
            painter.drawText(QRect(dx, row1 + metrics.height(), dw, metrics.height()),
                             Qt::AlignLeft, date);
        }
    }
    const int decimals = axis.step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(axis.step)));
    for (const double v : values) {
        const int y = plot.top() + plotRow(view, v);
        painter.drawText(QRect(0, y - metrics.height() / 2, kLeft - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'f', decimals));
    }

    // The curve, then again in red beyond the limits.
    if (m_data) {
        const PlotLines lines = aggregateColumns(m_data->series(), m_data->pyramid, view);
        painter.save();
        painter.translate(plot.topLeft());
        painter.setClipRect(QRect(QPoint(0, 0), plot.size()));
        const int highRow = plotRow(view, m_nAlarmHigh);
        const int lowRow = plotRow(view, m_nAlarmLow);
        // Straight lines between points inside the limits stay inside them, so
        // only a point beyond a limit makes red passes. Each pass is clipped to
        // its band, so that every pixel is drawn once.
        int top = INT_MAX;
        int bottom = INT_MIN;
        for (const PlotPoint& p : lines.points) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        const int inFrom = std::max(highRow, 0);
        const int inTo = std::min(lowRow, plot.height() - 1);
        const bool above = highRow > 0 && top < highRow;
        const bool below = lowRow < plot.height() - 1 && bottom > lowRow;
        const PlotStrokes strokes = plotStrokes(lines);
        if (!above && !below) {
            drawPlotStrokes(painter, strokes, kCurve);
        } else if (inFrom <= inTo) {
            painter.setClipRect(QRect(0, inFrom, plot.width(), inTo - inFrom + 1));
            drawPlotStrokes(painter, strokes, kCurve);
        }
        if (above) {
            painter.setClipRect(QRect(0, 0, plot.width(), std::min(highRow, plot.height())));
            drawPlotStrokes(painter, strokes, kBeyond);
        }
        if (below) {
            const int from = std::max(lowRow + 1, 0);
            painter.setClipRect(QRect(0, from, plot.width(), plot.height() - from));
            drawPlotStrokes(painter, strokes, kBeyond);
        }
        painter.setClipRect(QRect(QPoint(0, 0), plot.size()));
        painter.setPen(QPen(kLimit, 2));
        for (const int row : {highRow, lowRow})
            if (row >= 0 && row < plot.height())
                painter.drawLine(0, row, plot.width() - 1, row);
        painter.restore();
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(-1, -1, 0, 0));
}

void ViewerPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render(painter, size());
    const QRect plot = plotRect(size());
    if (m_drag == Drag::Box) {
        painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(m_dragFrom, m_dragTo).normalized().intersected(plot));
    } else if (m_hoverX >= plot.left() && m_hoverX <= plot.right()) {
        painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
        painter.drawLine(m_hoverX, plot.top(), m_hoverX, plot.bottom());
    }
}

void ViewerPlot::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0 || !m_data) {
        event->ignore();
        return;
    }
    const bool newStep = !m_lastWheel.isValid() || m_lastWheel.elapsed() > kWheelPause;
    m_lastWheel.restart();
    const std::int64_t anchor = timeAt(static_cast<int>(event->position().x()));
    setSpan(m_span.zoomed(anchor, std::pow(kWheelStep, notches), m_whole), newStep);
    showReadout(event->position().toPoint());
}

void ViewerPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_drag = event->modifiers() & Qt::ShiftModifier ? Drag::Box : Drag::Pan;
    m_dragFrom = m_dragTo = event->position().toPoint();
    m_dragSpan = m_span;
    if (m_drag == Drag::Pan)
        setCursor(Qt::ClosedHandCursor);
}

void ViewerPlot::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_drag == Drag::Pan) {
        const int dx = at.x() - m_dragFrom.x();
        const double perPixel = static_cast<double>(m_dragSpan.length()) / plotRect(size()).width();
        const ViewSpan moved = m_dragSpan.panned(-std::llround(dx * perPixel), m_whole);
        if (!(moved == m_span)) {
            if (m_dragFrom == m_dragTo)
                remember();
            m_span = moved;
            Q_EMIT spanChanged();
        }
        m_dragTo = at;
    } else if (m_drag == Drag::Box) {
        m_dragTo = at;
    }
    m_hoverX = at.x();
    showReadout(at);
    update();
}

void ViewerPlot::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const Drag drag = m_drag;
    m_drag = Drag::None;
    unsetCursor();
    if (drag == Drag::Box) {
        const QRect box = QRect(m_dragFrom, m_dragTo).normalized().intersected(plotRect(size()));
        if (box.width() >= 3) {
            const PlotView view = plotView(size());
            const QRect plot = plotRect(size());
            remember();
            m_span = ViewSpan{timeAt(box.left()), timeAt(box.right())}.limited(m_whole);
            if (box.height() >= 3) {
                const auto valueAt = [&](int y) {
                    return view.high - (y - plot.top()) * (view.high - view.low) /
                                           std::max(1, plot.height() - 1);
                };
                m_fixed = std::pair(valueAt(box.bottom()), valueAt(box.top()));
            }
            Q_EMIT spanChanged();
        }
    }
    update();
}

void ViewerPlot::mouseDoubleClickEvent(QMouseEvent*) {
    showEverything();
}

void ViewerPlot::keyPressEvent(QKeyEvent* event) {
    const std::int64_t quarter = m_span.length() / 4;
    const std::int64_t middle = m_span.startMs + m_span.length() / 2;
    switch (event->key()) {
    case Qt::Key_Home:
        showEverything();
        break;
    case Qt::Key_Backspace:
        backOneStep();
        break;
    case Qt::Key_Left:
        setSpan(m_span.panned(-quarter, m_whole), false);
        break;
    case Qt::Key_Right:
        setSpan(m_span.panned(quarter, m_whole), false);
        break;
    case Qt::Key_Up:
    case Qt::Key_Plus:
        setSpan(m_span.zoomed(middle, 0.5, m_whole), true);
        break;
    case Qt::Key_Down:
    case Qt::Key_Minus:
        setSpan(m_span.zoomed(middle, 2.0, m_whole), true);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ViewerPlot::leaveEvent(QEvent*) {
    m_hoverX = -1;
    Q_EMIT hovered(QString());
    update();
}

void ViewerPlot::showReadout(QPoint at) {
    const QRect plot = plotRect(size());
    if (!m_data || m_data->series().empty() || !plot.contains(at)) {
        Q_EMIT hovered(QString());
        return;
    }
    const RecordingSeries& s = m_data->series();
    const std::int64_t t = timeAt(at.x());
    std::size_t i = s.lowerBound(t);
    if (i == s.size() || (i > 0 && t - s.time(i - 1) < s.time(i) - t))
        i = i > 0 ? i - 1 : 0;
    // Only a sample a few columns from the pointer, or on the line it is on.
    const double perPixel = static_cast<double>(m_span.length()) / plot.width();
    const double reach = std::max(3 * perPixel, static_cast<double>(s.gapThreshold()));
    if (std::abs(static_cast<double>(s.time(i) - t)) > reach) {
        Q_EMIT hovered(QString());
        return;
    }
    const QString when = QDateTime::fromMSecsSinceEpoch(s.time(i)).toString(
        QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    QString value = tr("no value");
    if (s.hasValue(i)) {
        value = QString::fromStdString(valueText(s.value(i)));
        if (s.unit(i))
            value += QStringLiteral(" \u00B0") + QLatin1Char(s.unit(i));
    }
    const RecordingSeries::Source from = s.source(i);
    const QString file = from.file >= 0
                             ? QFileInfo(QString::fromStdString(s.files()[from.file])).fileName()
                             : QString();
    Q_EMIT hovered(tr("%1   %2   %3, sample %4").arg(when, value, file).arg(from.sample + 1));
}
