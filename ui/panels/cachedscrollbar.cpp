#include "ui/panels/cachedscrollbar.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

CachedScrollBar::CachedScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CachedScrollBar::event(QEvent* event) {
    const bool handled = QScrollBar::event(event);
    // Every pixel is painted here, so what lies beneath is left alone: a new
    // range or value repaints the bar and nothing else. The style's polish
    // takes that back from a scroll bar; it is given again after each.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
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
        Look moved = m_look;
        moved.handle = look.handle;
        if (!m_picture.isNull() && moved == look)
            redrawAround(opt, m_look.handle | look.handle, background);
        else
            redrawWhole(opt, background);
        m_look = look;
        ++m_nRenders;
    }
    QPainter p(this);
    for (const QRect& r : event->region()) {
        p.setClipRect(r);
        p.drawPixmap(r.topLeft(), m_picture, r);
    }
}

void CachedScrollBar::redrawWhole(const QStyleOptionSlider& opt, const QColor& background) {
    m_picture = QPixmap(size() * devicePixelRatio());
    m_picture.setDevicePixelRatio(devicePixelRatio());
    m_picture.fill(background);
    QPainter p(&m_picture);
    style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, this);
}

void CachedScrollBar::redrawAround(const QStyleOptionSlider& opt, const QRect& handles,
                                   const QColor& background) {
    // A handle that moved or shrank (a list that grows) changes the picture
    // where it was and where it is, and the style's shading a few pixels
    // around it. The bar is drawn whole into a picture of that strip alone:
    // the style sets clips of its own, and only the picture's edge holds it.
    constexpr int kShading = 4;
    const QRect strip =
        handles.adjusted(-kShading, -kShading, kShading, kShading).intersected(rect());
    const qreal ratio = devicePixelRatio();
    QImage piece((QSizeF(strip.size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    piece.setDevicePixelRatio(ratio);
    piece.fill(background);
    {
        QPainter p(&piece);
        p.translate(-strip.topLeft());
        style()->drawComplexControl(QStyle::CC_ScrollBar, &opt, &p, this);
    }
    QPainter p(&m_picture);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(strip.topLeft(), piece);
}
