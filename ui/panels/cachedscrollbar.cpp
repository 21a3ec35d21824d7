#include "ui/panels/cachedscrollbar.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

CachedScrollBar::CachedScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    // Every pixel is painted here, so the container beneath is left alone.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CachedScrollBar::paintEvent(QPaintEvent* event) {
    const QColor background = palette().color(backgroundRole());
    if (underMouse() || isSliderDown()) {
        // Hover and press highlights live in the base class.
        m_picture = QPixmap();
        {
            QPainter p(this);
            p.fillRect(rect(), background);
        }
        ++m_nRenders;
        QScrollBar::paintEvent(event);
        return;
    }

    QStyleOptionSlider opt;
    initStyleOption(&opt);
    opt.subControls = QStyle::SC_All;
    const Look look{
        size(),
        devicePixelRatio(),
        static_cast<int>(opt.state),
        style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this),
        opt.sliderValue == opt.minimum,
        opt.sliderValue == opt.maximum,
        palette().cacheKey()};
    if (m_picture.isNull() || !(look == m_look)) {
        m_picture = QPixmap(size() * devicePixelRatio());
        m_picture.setDevicePixelRatio(devicePixelRatio());
        m_picture.fill(background);
        QPainter p(&m_picture);
        style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, this);
        m_look = look;
        ++m_nRenders;
    }
    QPainter p(this);
    for (const QRect& r : event->region()) {
        p.setClipRect(r);
        p.drawPixmap(r.topLeft(), m_picture, r);
    }
}
