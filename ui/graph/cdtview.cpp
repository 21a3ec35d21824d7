#include "ui/graph/cdtview.h"

#include "core/graph/graphscale.h"
#include "ui/base/cdtdoc.h"
#include "ui/files/reportprinter.h"
#include "ui/panels/alarmbar.h"
#include "ui/panels/cdisplaypanel.h"
#include "ui/panels/datalistpanel.h"
#include "ui/panels/valuescrollpanel.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kDragWatchMs = 10;
// Dotted pens: three pixels on, three off.
constexpr int kDotLength = 3;

// The drawing code of the toolkit may leave the upper halves of the vector
// registers in use; some processors then run the plain floating-point
// arithmetic of the scene several times slower until they are cleared.
void clearUpperVectorState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        asm volatile("vzeroupper" ::: "memory");
#endif
}

QColor colourOf(const Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

// Pens are sized in the view's own pixels at any device pixel ratio: a
// one-pixel line is as many device pixels wide as one view pixel covers, and
// its dots as long.
QPen makePen(const PenSpec& spec, qreal ratio) {
    QPen pen(colourOf(spec.colour));
    pen.setWidth(spec.width);
    if (spec.width <= 1) {
        pen.setCosmetic(true);
        if (ratio != 1.0)
            pen.setWidthF(ratio);
    }
    if (spec.style == PenStyle::Dotted) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({qreal(kDotLength), qreal(kDotLength)});
    } else {
        // Square ends close the joints of the curve as round ones would, at a
        // fraction of their cost.
        pen.setCapStyle(Qt::SquareCap);
    }
    return pen;
}

// The device pixels a rectangle of view pixels covers, its edges rounded as
// the painting system rounds an update region.
QRect toDevice(const QRect& r, qreal ratio) {
    if (ratio == 1.0)
        return r;
    const int left = qRound(r.left() * ratio);
    const int top = qRound(r.top() * ratio);
    return QRect(left, top, qRound((r.left() + r.width()) * ratio) - left,
                 qRound((r.top() + r.height()) * ratio) - top);
}

QRect toQRect(const DragRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Draws one batch of lines with one pen. Above a ratio of 1, a line one view
// pixel wide runs through the middle of its pixels, so that it covers them
// and not half of each neighbour.
void drawBatch(QPainter& p, const QPen& pen, const std::vector<QLine>& lines) {
    if (lines.empty())
        return;
    p.setPen(pen);
    if (!pen.isCosmetic() || p.device()->devicePixelRatio() == 1.0) {
        p.drawLines(lines.data(), static_cast<int>(lines.size()));
        return;
    }
    std::vector<QLineF> centred;
    centred.reserve(lines.size());
    for (const QLine& l : lines) {
        const QPointF across(l.dx() == 0 ? 0.5 : 0.0, l.dy() == 0 ? 0.5 : 0.0);
        centred.emplace_back(QPointF(l.p1()) + across, QPointF(l.p2()) + across);
    }
    p.drawLines(centred.data(), static_cast<int>(centred.size()));
}

} // namespace

CDTView::CDTView(CDTDoc& doc, const InstrumentLine& line, const Startup& startup, QWidget* frame)
    : QWidget(frame), m_doc(doc) {
    setAccessibleName(tr("Graph"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);

    const AlarmLimits limits = doc.recorder().alarmLimits();
    m_dlgAlarm = new AlarmBar(limits.high, limits.low, frame);
    m_dlgPanel = new CDisplayPanel(doc.recorder(), line, startup.sampleRateIni, frame);
    m_dlgScroll = new ValueScrollPanel(m_nYScrollPos, frame);
    m_dlgList = new DataListPanel(frame);
    // Tab goes from the top down and left to right: the sample rate, the
    // value window, the pan bar, the two alarm limits, the data list.
    QWidget* const order[] = {m_dlgPanel->sampleRateBox(), m_dlgScroll->bar(),
                              m_dlgAlarm->panBar(),        m_dlgAlarm->highEdit(),
                              m_dlgAlarm->lowEdit(),       m_dlgList->list()};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(&doc, &CDTDoc::viewsNeedUpdate, this, &CDTView::invalidateGraph);
    connect(m_dlgPanel, &CDisplayPanel::updateViewsRequested, &doc, &CDTDoc::UpdateAllViews);

    // What the recorder reports reaches the panels and the graph.
    Recorder& recorder = doc.recorder();
    recorder.setStartupSampleRate(startup.sampleRateIni);
    connect(&recorder, &Recorder::listCleared, m_dlgList, &DataListPanel::deleteAllRows);
    connect(&recorder, &Recorder::rowAppended, m_dlgList,
            qOverload<const ListRow&>(&DataListPanel::appendRow));
    connect(&recorder, &Recorder::panelChanged, m_dlgPanel, &CDisplayPanel::invalidateRegions);
    connect(&recorder, &Recorder::graphChanged, this, [this] {
        // A zoom drag keeps its picture until the button is released.
        if (!m_graph.dragging())
            m_doc.UpdateAllViews();
    });
    connect(m_dlgScroll, &ValueScrollPanel::positionChanged, this, &CDTView::setYScrollPos);
    connect(&recorder, &Recorder::alarmLimitsChanged, this, &CDTView::invalidateGraph);
    connect(m_dlgAlarm, &AlarmBar::highLimitEdited, this, &CDTView::takeTypedLimits);
    connect(m_dlgAlarm, &AlarmBar::lowLimitEdited, this, &CDTView::takeTypedLimits);
    connect(m_dlgAlarm, &AlarmBar::panMoved, this, &CDTView::onPanMoved);
}

CDTView::~CDTView() {
    // The panels draw from this view's state: they go with it.
    delete m_dlgAlarm;
    delete m_dlgPanel;
    delete m_dlgScroll;
    delete m_dlgList;
}

QFont CDTView::labelFont() {
    QFont font(QStringLiteral("SimSun"));
    font.setPointSize(10);
    if (QFontInfo(font).family() != QLatin1String("SimSun")) {
        font = QFont(QStringLiteral("Liberation Sans"));
        font.setPixelSize(13);
    }
    return font;
}

void CDTView::OnInitialUpdate() {
    m_doc.recorder().startCommitTimer();
}

void CDTView::layoutPanels(const QRect& rc, int grownHeight) {
    const auto place = [](QWidget* w, int x, int y, int width, int height) {
        w->setGeometry(x, y, qMax(0, width), qMax(0, height));
        w->raise();
        w->show();
    };
    place(m_dlgPanel, rc.left(), rc.top() + 33, rc.width(), 155);
    place(m_dlgAlarm, rc.left(), rc.top() + rc.height() - 65, rc.width() - 295, 45);
    // The value scroll bar grows with the plot's height.
    place(m_dlgScroll, rc.left() + rc.width() - 312, rc.top() + 200, 20,
          350 + std::max(0, grownHeight));
    place(m_dlgList, rc.left() + rc.width() - 295, rc.top() + 200, 290, rc.height() - 220);
    if (m_rcFrameClient != rc) {
        // The sample numbers are placed in the frame's coordinates.
        m_rcFrameClient = rc;
        invalidateGraph();
    }
}

QRect CDTView::plotRect() const {
    const PlotRect p = plot();
    return QRect(QPoint(p.left, p.top), QPoint(p.right - 1, p.bottom - 1));
}

ClientRect CDTView::graphClient() const {
    return PlotRect::belowRow({0, 0, width(), height()}, m_nFirstFreeRow);
}

PlotRect CDTView::plot() const {
    return PlotRect::fromClient(graphClient());
}

void CDTView::setFirstFreeRow(int row) {
    if (row == m_nFirstFreeRow)
        return;
    m_nFirstFreeRow = row;
    invalidateGraph();
}

int CDTView::graphCount() const {
    return static_cast<int>(m_doc.store().graphValues().size());
}

bool CDTView::isZoomed() const {
    return m_graph.isZoomed();
}

ZoomOutcome CDTView::zoomBox(QPoint press, QPoint release) {
    return m_graph.completeZoomDrag(plot(), graphCount(), {press.x(), press.y()},
                                    {release.x(), release.y()});
}

void CDTView::invalidateGraph() {
    // With the picture up to date, the new scene is built at once: when it
    // only adds curve pieces (a new live sample), they are drawn into the
    // picture and only the area they cover is repainted.
    if (isVisible() && !m_bSceneDirty && !m_bCanvasStale && canvasFits(devicePixelRatio())) {
        const std::optional<int> hoverX = m_graph.hoverLineX();
        buildScene();
        if (extendsCurveOnly(m_drawn, m_scene)) {
            QRegion changed = renderNewPieces();
            if (hoverX && !m_graph.hoverLineX())
                changed += hoverStrip(*hoverX); // the scene wiped the hover line
            // A change of the graph is always followed by a paint, even one that
            // drew nothing new.
            if (changed.isEmpty())
                changed = QRect(m_scene.plot.left, m_scene.plot.top, 1, 1);
            update(changed);
            return;
        }
        m_bCanvasStale = true;
    } else {
        m_bSceneDirty = true;
    }
    // Only what the panels leave uncovered: a repaint of the area under them
    // would repaint every panel on top of it as well.
    QRegion visible(rect());
    for (const QWidget* panel :
         {static_cast<QWidget*>(m_dlgPanel), static_cast<QWidget*>(m_dlgAlarm),
          static_cast<QWidget*>(m_dlgScroll), static_cast<QWidget*>(m_dlgList)})
        if (panel && panel->isVisible())
            visible -= panel->geometry().translated(-pos());
    update(visible);
}

void CDTView::setYScrollPos(int position) {
    m_nYScrollPos = std::clamp(position, 0, 72);
    invalidateGraph();
}

void CDTView::setFollowReadings(bool on) {
    if (on == m_bFollowReadings)
        return;
    m_bFollowReadings = on;
    invalidateGraph();
}

void CDTView::undoZoom() {
    m_graph.undoZoom();
    tellZoom();
    m_dlgAlarm->setPanEnabled(false);
    invalidateGraph();
    repaint();
}

void CDTView::tellZoom() {
    if (isZoomed() == m_bZoomTold)
        return;
    m_bZoomTold = isZoomed();
    Q_EMIT zoomChanged(m_bZoomTold);
}

void CDTView::onPanMoved(int position) {
    // Dragging the thumb, the arrows and the page steps all end here.
    if (m_graph.panTo(position))
        invalidateGraph();
}

void CDTView::takeTypedLimits() {
    // Every keystroke counts at once; the graph, the panel and the alarm
    // follow the recorder's alarmLimitsChanged.
    const int high = m_dlgAlarm->barAlarmHigh();
    const int low = m_dlgAlarm->barAlarmLow();
    m_doc.recorder().setAlarmLimits(high, low);
    Q_EMIT limitsTyped(high < low);
}

void CDTView::printReport() {
    ReportTicks ticks{};
    std::copy_n(m_graph.ticks(0).begin(), ticks.size(), ticks.begin());
    ::printReport(window(), m_doc, ticks);
}

QPoint CDTView::frameClientOffset() const {
    if (!parentWidget() || m_rcFrameClient.isNull())
        return {};
    return m_rcFrameClient.topLeft() - pos();
}

// ---------------------------------------------------------------- painting

void CDTView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    invalidateGraph();
}

void CDTView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    invalidateGraph();
}

void CDTView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        invalidateGraph();
}

QRect CDTView::canvasArea(qreal ratio) const {
    if (!m_scene.hasArea)
        return QRect();
    const QRect plotArea(m_scene.plot.left, m_scene.plot.top, m_scene.width, m_scene.height);
    const QRect margin(0, m_scene.plot.top - 7, m_scene.plot.left, m_scene.height + 17);
    QRect area = plotArea | margin;
    if (m_scene.labelStrip) {
        const SceneRect& s = *m_scene.labelStrip;
        area |= QRect(s.x, s.y, s.width, s.height).translated(frameClientOffset());
    }
    area &= rect();
    if (area.isEmpty())
        return QRect();
    // From a row whose device position is a whole pixel, so that the picture
    // lines up with the screen at any ratio.
    int top = area.top() - area.top() % 4;
    if (top * ratio != std::round(top * ratio))
        top = 0;
    return QRect(QPoint(0, top), area.bottomRight());
}

bool CDTView::canvasFits(qreal ratio) const {
    const QRect area = canvasArea(ratio);
    return m_canvas.devicePixelRatio() == ratio && m_rcCanvas == area &&
           m_canvas.size() == toDevice(area, ratio).size();
}

void CDTView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // The picture is made at the ratio of the surface it is shown on (the
    // screen's, or that of an image the view is rendered into).
    const qreal ratio = p.paintEngine()->paintDevice()->devicePixelRatio();
    if (m_bSceneDirty || !canvasFits(ratio)) {
        buildScene();
        if (canvasFits(ratio) && !m_bCanvasStale && extendsCurveOnly(m_drawn, m_scene))
            renderNewPieces();
        else
            renderCanvas(ratio);
    } else if (m_bCanvasStale) {
        renderCanvas(ratio);
    }

    // The picture is copied device pixel for device pixel: the painter works
    // in device pixels from here on.
    if (ratio != 1.0)
        p.setWorldTransform(QTransform::fromScale(1.0 / ratio, 1.0 / ratio));
    // One rectangle at a time: under the panels' uncovered region as a whole
    // the copy would go pixel run by pixel run, several times slower. What
    // lies outside the picture is button face.
    const QRect pictured = toDevice(m_rcCanvas, ratio);
    const QColor face = palette().color(QPalette::Button);
    for (const QRect& exposed : event->region()) {
        const QRect r = toDevice(exposed, ratio);
        p.setClipRect(r);
        if (const QRect shown = r & pictured; !shown.isEmpty())
            p.drawImage(shown, m_canvas, shown.translated(-pictured.topLeft()));
        if (!pictured.contains(r))
            for (const QRect& rest : QRegion(r) - pictured)
                p.fillRect(rest, face);
    }
    p.setClipping(false);
    drawOverlays(p, event->region());
}

void CDTView::buildScene() {
    clearUpperVectorState();
    const Acquisition& acq = m_doc.acq();
    const SampleStore& store = acq.store();
    const AlarmLimits limits = m_doc.recorder().alarmLimits();
    const PaintInput in{.client = graphClient(),
                        .values = store.graphValues().data(),
                        .count = graphCount(),
                        .alarmHigh = limits.high,
                        .alarmLow = limits.low,
                        .emptied = store.graphEmptied(),
                        .yScrollPos = m_nYScrollPos,
                        .fitMode = acq.showing() == Showing::LoadedFile,
                        .newData = acq.newData(),
                        .followReadings = m_bFollowReadings,
                        .loaded = store.graphLoads()};
    m_graph.paint(in, m_scene);
    // Following the readings may have moved the value window.
    m_nYScrollPos = m_scene.valueScroll.position;
    tellZoom(); // an emptied graph starts unzoomed
    if (!m_scene.newDataKept)
        m_doc.recorder().newDataSeen();
    m_bSceneDirty = false;

    if (m_scene.emptyReadout)
        Q_EMIT hoverReadout(tr("time:"), tr("temp:"));
    m_dlgScroll->setPosition(m_scene.valueScroll.position); // range 0..72, no notification
    // The pan bar works while the graph is zoomed.
    m_dlgAlarm->setPanEnabled(m_scene.panMaximum.has_value());
    if (m_scene.panMaximum) {
        m_dlgAlarm->setPanRange(*m_scene.panMaximum, m_scene.panPageStep);
        if (m_scene.panPosition)
            m_dlgAlarm->setPanPosition(*m_scene.panPosition);
    }
    if (m_scene.repaintRequested) {
        // The live scale was compressed: one more paint with the new step.
        QMetaObject::invokeMethod(this, &CDTView::invalidateGraph, Qt::QueuedConnection);
    }
}

QRect CDTView::renderNewPieces() {
    const std::size_t first = m_drawn.curve.size();
    m_drawn = m_scene;
    ++m_nPieceRenders;
    if (first == m_scene.curve.size())
        return QRect();
    // The pieces' extent, widened by their pen (square caps), in view pixels.
    QRect changed;
    for (std::size_t i = first; i < m_scene.curve.size(); ++i) {
        const CurvePiece& c = m_scene.curve[i];
        changed |= QRect(QPoint(std::min(c.x1, c.x2), std::min(c.y1, c.y2)),
                         QPoint(std::max(c.x1, c.x2), std::max(c.y1, c.y2)));
    }
    const int reach = curvePen(CurveColour::Red).width + 1;
    const QRect plotArea(m_scene.plot.left, m_scene.plot.top, m_scene.width, m_scene.height);
    changed = changed.adjusted(-reach, -reach, reach, reach)
                  .translated(plotArea.topLeft())
                  .intersected(plotArea);
    QPainter p(&m_canvas);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(-m_rcCanvas.topLeft());
    p.setClipRect(plotArea);
    p.translate(plotArea.topLeft());
    // As in a whole paint: the new pieces after the old ones, the limits over all.
    drawCurve(p, first);
    drawAlarmLines(p);
    drawEdgeArrows(p);
    return changed;
}

void CDTView::renderCanvas(qreal ratio) {
    m_bCanvasStale = false;
    m_drawn = m_scene;
    if (!canvasFits(ratio)) {
        m_rcCanvas = canvasArea(ratio);
        m_canvas = m_rcCanvas.isEmpty()
                       ? QImage()
                       : QImage(toDevice(m_rcCanvas, ratio).size(), QImage::Format_RGB32);
        m_canvas.setDevicePixelRatio(ratio);
    }
    if (m_canvas.isNull())
        return;

    QPainter p(&m_canvas);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(-m_rcCanvas.topLeft());
    const QColor face = palette().color(QPalette::Button);
    const QRect plotArea(m_scene.plot.left, m_scene.plot.top, m_scene.width, m_scene.height);
    for (const QRect& r : QRegion(m_rcCanvas) - plotArea)
        p.fillRect(r, face);
    drawPlot(p);
    drawMargin(p);
    drawSampleLabels(p);
}

void CDTView::drawPlot(QPainter& p) const {
    const int w = m_scene.width;
    const int h = m_scene.height;
    const qreal ratio = m_canvas.devicePixelRatio();
    p.save();
    p.setClipRect(QRect(m_scene.plot.left, m_scene.plot.top, w, h));
    p.translate(m_scene.plot.left, m_scene.plot.top);
    p.fillRect(QRect(0, 0, w, h), colourOf(kPlotBackground));
    // Dotted lines are opaque: their gaps take the plot's black.
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(colourOf(kPlotBackground));

    if (m_scene.hoverLineX) {
        drawBatch(p, makePen(kHoverPen, ratio),
                  {QLine(*m_scene.hoverLineX, 0, *m_scene.hoverLineX, h)});
    }

    // Grid: the unzoomed vertical lines come before the horizontal ones, the
    // zoomed vertical lines after them.
    std::vector<QLine> lines;
    lines.reserve(m_scene.verticalGridX.size() + m_scene.horizontalGridY.size());
    const auto addVertical = [&] {
        for (const int x : m_scene.verticalGridX)
            lines.emplace_back(x, h, x, 0);
    };
    const bool zoomed = m_scene.panMaximum.has_value();
    if (!zoomed)
        addVertical();
    for (const int y : m_scene.horizontalGridY)
        lines.emplace_back(0, y, w, y);
    if (zoomed)
        addVertical();
    drawBatch(p, makePen(kGridPen, ratio), lines);

    drawCurve(p, 0);
    drawAlarmLines(p);
    drawEdgeArrows(p);
    p.restore();
}

void CDTView::drawCurve(QPainter& p, std::size_t first) const {
    // Each run of pieces of one colour in one call, in drawing order.
    const qreal ratio = m_canvas.devicePixelRatio();
    const QPen red = makePen(kRedCurvePen, ratio);
    const QPen blue = makePen(kBlueCurvePen, ratio);
    const auto& curve = m_scene.curve;
    std::vector<QLine> lines;
    lines.reserve(curve.size() - std::min(first, curve.size()));
    for (std::size_t start = first; start < curve.size();) {
        const CurveColour colour = curve[start].colour;
        lines.clear();
        std::size_t i = start;
        for (; i < curve.size() && curve[i].colour == colour; ++i)
            lines.emplace_back(curve[i].x1, curve[i].y1, curve[i].x2, curve[i].y2);
        drawBatch(p, colour == CurveColour::Red ? red : blue, lines);
        start = i;
    }
}

void CDTView::drawAlarmLines(QPainter& p) const {
    // Over the curve.
    std::vector<QLine> lines;
    for (const int y : m_scene.alarmLineY)
        lines.emplace_back(0, y, m_scene.width, y);
    drawBatch(p, makePen(kAlarmPen, m_canvas.devicePixelRatio()), lines);
}

void CDTView::drawEdgeArrows(QPainter& p) const {
    if (m_scene.edgeArrows.empty())
        return;
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colourOf(kEdgeArrowColour));
    for (const EdgeArrow& a : m_scene.edgeArrows) {
        const QPoint corners[] = {
            {a.x, a.tipY}, {a.x - a.halfWidth, a.baseY}, {a.x + a.halfWidth, a.baseY}};
        p.drawPolygon(corners, 3);
    }
    p.restore();
}

void CDTView::drawMargin(QPainter& p) const {
    const QRect margin(0, m_scene.plot.top - 7, m_scene.plot.left, m_scene.height + 17);
    p.save();
    p.setClipRect(margin);
    p.translate(margin.topLeft());
    std::vector<QLine> ticks;
    ticks.reserve(m_scene.valueAxis.size());
    for (const ValueAxisMark& mark : m_scene.valueAxis)
        ticks.emplace_back(mark.tickX1, mark.tickY, mark.tickX2, mark.tickY);
    drawBatch(p, makePen(kTickPen, m_canvas.devicePixelRatio()), ticks);
    for (const ValueAxisMark& mark : m_scene.valueAxis)
        drawText(p, mark.label);
    p.restore();
}

void CDTView::drawSampleLabels(QPainter& p) const {
    if (!m_scene.labelStrip)
        return;
    const QPoint offset = frameClientOffset();
    const SceneRect& s = *m_scene.labelStrip;
    p.save();
    // Drawn in the frame's coordinates, but never over the plot.
    p.setClipRegion(QRegion(rect()) -
                    QRect(m_scene.plot.left, m_scene.plot.top, m_scene.width, m_scene.height));
    p.translate(offset);
    p.fillRect(QRect(s.x, s.y, s.width, s.height), palette().color(QPalette::Button));
    for (const SceneText& label : m_scene.sampleLabels)
        drawText(p, label);
    p.restore();
}

void CDTView::drawText(QPainter& p, const SceneText& text) const {
    // Black on the button face, anchored at its top-left corner.
    static const QFont font = labelFont();
    p.setPen(colourOf(kTextColour));
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(palette().color(QPalette::Button));
    drawCachedText(p, m_labelTexts, font, text.x, text.y, latin1(text.text));
}

// ---------------------------------------------------------------- overlays

QRegion CDTView::hoverStrip(int x) const {
    const PlotRect pr = plot();
    return QRect(x, pr.top, 1, pr.height());
}

QRegion CDTView::boxFrame(const QRect& box) {
    QRegion frame;
    if (box.width() <= 1 && box.height() <= 1)
        return frame; // a point: no box yet
    frame += QRect(box.left(), box.top(), box.width(), 1);
    frame += QRect(box.left(), box.bottom(), box.width(), 1);
    frame += QRect(box.left(), box.top(), 1, box.height());
    frame += QRect(box.right(), box.top(), 1, box.height());
    return frame;
}

void CDTView::drawOverlays(QPainter& p, const QRegion& exposed) const {
    const PlotRect pr = plot();
    if (!pr.hasArea())
        return;
    // The hover line, unless the last paint drew it into the picture already.
    const std::optional<int> hoverX = m_graph.hoverLineX();
    const bool baked = m_scene.hoverLineX && *m_scene.hoverLineX + m_scene.plot.left == hoverX;
    if (hoverX && !baked) {
        const QRect line(*hoverX, pr.top, 1, pr.height());
        if (exposed.intersects(line))
            drawInverted(p, line, true);
    }
    if (const std::optional<DragRect> box = m_graph.dragBox()) {
        for (const QRect& edge : boxFrame(toQRect(*box)))
            if (exposed.intersects(edge))
                drawInverted(p, edge, false);
    }
}

void CDTView::drawInverted(QPainter& p, const QRect& r, bool dotted) const {
    // In device pixels, as the painter is; the dots are view pixels long.
    const qreal ratio = m_canvas.devicePixelRatio();
    const QRect pictured = toDevice(m_rcCanvas, ratio);
    const QRect area = toDevice(r, ratio) & pictured;
    if (area.isEmpty())
        return;
    QImage strip = m_canvas.copy(area.translated(-pictured.topLeft()));
    strip.setDevicePixelRatio(1.0);
    for (int y = 0; y < strip.height(); ++y) {
        const int viewY =
            ratio == 1.0 ? area.top() + y : static_cast<int>((area.top() + y + 0.5) / ratio);
        if (dotted && ((viewY - r.top()) / kDotLength) % 2 != 0)
            continue;
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x)
            line[x] = ~line[x] | 0xff000000u;
    }
    p.drawImage(area.topLeft(), strip);
}

// ---------------------------------------------------------------- mouse

void CDTView::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_ptPointer = event->position().toPoint();
    if (m_graph.zoomPress(plot(), graphCount(), m_ptPointer.x(), m_ptPointer.y()))
        m_dragTimer.start(kDragWatchMs, this);
}

void CDTView::mouseMoveEvent(QMouseEvent* event) {
    m_ptPointer = event->position().toPoint();
    const MouseMoveResult r =
        m_graph.mouseMove(plot(), graphCount(), m_ptPointer.x(), m_ptPointer.y());
    QWidget::mouseMoveEvent(event);
    if (!r.handled)
        return;

    QRegion changed = hoverStrip(r.hoverX);
    if (r.eraseHoverX) {
        changed += hoverStrip(*r.eraseHoverX);
        if (m_scene.hoverLineX && *m_scene.hoverLineX + m_scene.plot.left == *r.eraseHoverX) {
            // The last paint drew this line into the picture: draw it again without.
            m_scene.hoverLineX.reset();
            m_bCanvasStale = true;
        }
    }
    if (r.box) {
        changed += boxFrame(toQRect(r.box->erase));
        changed += boxFrame(toQRect(r.box->draw));
    }
    update(changed);

    if (r.hoverIndex) {
        const SampleStore& store = m_doc.store();
        const auto i = static_cast<std::size_t>(*r.hoverIndex);
        Q_EMIT hoverReadout(
            latin1(hoverTimeText(store.graphTime()[i])),
            latin1(hoverTemperatureText(store.graphData()[i], store.graphUnit()[i])));
    }
}

void CDTView::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_ptPointer = event->position().toPoint();
    const ZoomReleaseResult r =
        m_graph.zoomRelease(plot(), graphCount(), m_ptPointer.x(), m_ptPointer.y());
    if (r.outcome == ZoomOutcome::Ignored)
        return;
    tellZoom();
    // The drag is over: nothing left to watch.
    m_dragTimer.stop();
    if (r.eraseBox)
        update(boxFrame(toQRect(*r.eraseBox)));
    if (r.repaint()) {
        // Zoomed, or out of auto-scale: UndoZoom's state changed with the picture.
        m_doc.UpdateAllViews();
        invalidateGraph();
        repaint();
    }
}

void CDTView::watchDrag() {
    if (m_graph.dragWatch(plot(), m_ptPointer.x(), m_ptPointer.y())) {
        m_dragTimer.stop();
        invalidateGraph();
        repaint();
    }
}

// ---------------------------------------------------------------- timers

void CDTView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_dragTimer.timerId())
        watchDrag();
    else
        QWidget::timerEvent(event);
}
