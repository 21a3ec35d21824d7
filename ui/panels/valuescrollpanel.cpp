#include "ui/panels/valuescrollpanel.h"

#include <QScrollBar>

#include <algorithm>

ValueScrollPanel::ValueScrollPanel(int position, QWidget* parent)
    : QWidget(parent), m_scrollY(new QScrollBar(Qt::Vertical, this)) {
    setAccessibleName(tr("Value scroll bar"));
    m_scrollY->setAccessibleName(tr("Value window of the graph"));
    m_scrollY->setSingleStep(1);
    m_scrollY->setPageStep(1);
    // Reached with Tab: the arrows, Page Up/Down, Home and End move the window.
    m_scrollY->setFocusPolicy(Qt::TabFocus);
    setPosition(position);
    m_scrollY->setGeometry(rect());
    connect(m_scrollY, &QAbstractSlider::actionTriggered, this, &ValueScrollPanel::onAction);
    // Dropping the thumb does not move the window again, but the graph is
    // still redrawn.
    connect(m_scrollY, &QAbstractSlider::sliderReleased, this,
            [this] { Q_EMIT positionChanged(m_nPos); });
}

void ValueScrollPanel::setPosition(int position) {
    m_nPos = std::clamp(position, 0, kMaxPos);
    m_scrollY->setRange(0, kMaxPos);
    m_scrollY->setValue(m_nPos);
}

void ValueScrollPanel::onAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        m_nPos = std::max(m_nPos - 1, 0);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        m_nPos = std::min(m_nPos + 1, kMaxPos);
        break;
    case QAbstractSlider::SliderPageStepSub:
    case QAbstractSlider::SliderToMinimum:
        m_nPos = 0;
        break;
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderToMaximum:
        m_nPos = kMaxPos;
        break;
    case QAbstractSlider::SliderMove:
        // Dragging the thumb (or turning the wheel over it).
        m_nPos = std::clamp(m_scrollY->sliderPosition(), 0, kMaxPos);
        break;
    default:
        break;
    }
    // The bar shows the position the window now has, whatever the slider
    // would have made of the action.
    m_scrollY->setValue(m_nPos);
    Q_EMIT positionChanged(m_nPos);
}

void ValueScrollPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_scrollY->setGeometry(rect());
}
