#include "graph/cdtview.h"

#include "app/cdtdoc.h"
#include "panels/cdatalistpanel.h"
#include "panels/cdisplaypanel.h"

#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>

CDTView::CDTView(CDTDoc& doc, const LinkState& link, const Startup& startup, QWidget* frame)
    : QWidget(frame), m_doc(doc), m_nAlarmHigh(startup.alarmHigh), m_nAlarmLow(startup.alarmLow)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);

    m_dlgAlarm = new QWidget(frame);
    m_dlgPanel = new CDisplayPanel(doc.m_acq, link, m_nAlarmHigh, m_nAlarmLow,
                                   startup.sampleRateIni, frame);
    m_dlgScroll = new QWidget(frame);
    m_scrollY = new QScrollBar(Qt::Vertical, m_dlgScroll);
    m_scrollY->setRange(0, 72);
    m_scrollY->setValue(m_nYScrollPos);
    m_dlgList = new CDataListPanel(frame);

    doc.m_acq.setStartupSampleRate(startup.sampleRateIni);
    connect(&doc, &CDTDoc::viewsNeedUpdate, this, [this] { update(); });
    connect(m_dlgPanel, &CDisplayPanel::sampleRateChosen, this, [this](int index) {
        if (m_doc.m_acq.selectSampleRate(index))
            m_doc.UpdateAllViews();
    });
}

CDTView::~CDTView()
{
    // The panels draw from this view's state: they go with it.
    delete m_dlgAlarm;
    delete m_dlgPanel;
    delete m_dlgScroll;
    delete m_dlgList;
}

void CDTView::OnInitialUpdate()
{
    restartCommitTimer();
}

void CDTView::restartCommitTimer()
{
    const int ms = m_doc.m_acq.m_nSampleMs;
    if (ms > 0) {
        m_commitTimer.start(ms, this);
        m_nCommitTimerMs = ms;
    }
}

void CDTView::layoutPanels(const QRect& rc)
{
    const auto place = [](QWidget* w, int x, int y, int width, int height) {
        w->setGeometry(x, y, qMax(0, width), qMax(0, height));
        w->raise();
        w->show();
    };
    place(m_dlgPanel, rc.left(), rc.top() + 33, rc.width(), 155);
    place(m_dlgAlarm, rc.left(), rc.top() + rc.height() - 65, rc.width() - 295, 45);
    place(m_dlgScroll, rc.left() + rc.width() - 312, rc.top() + 200, 20, 350);
    place(m_dlgList, rc.left() + rc.width() - 295, rc.top() + 200, 290, rc.height() - 220);
    m_scrollY->setGeometry(0, 0, 20, 350);
}

QRect CDTView::plotRect() const
{
    return QRect(QPoint(70, 170), QPoint(width() - 310 - 1, height() - 75 - 1));
}

void CDTView::paintEvent(QPaintEvent*)
{
    Acquisition& acq = m_doc.m_acq;
    if (acq.m_bRestartTimer) {
        restartCommitTimer();
        acq.m_bRestartTimer = false;
    }
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    const QRect plot = plotRect();
    if (plot.width() > 0 && plot.height() > 0)
        p.fillRect(plot, Qt::black);
}

void CDTView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_commitTimer.timerId())
        commitPending();
    else
        QWidget::timerEvent(event);
}

void CDTView::commitPending()
{
    const auto row = m_doc.m_acq.onCommitTimer();
    if (!row)
        return;
    if (!m_bDragging)
        update();
    m_dlgList->appendRow(*row);
}
