#pragma once

#include <QPixmap>
#include <QRect>
#include <QScrollBar>

class QStyleOptionSlider;

// A scroll bar that keeps its last picture. The data list's bars are given a
// new range with every reading, yet once the list holds a few hundred rows
// (its handle at its least length, at the bottom) they look the same as
// before; drawing them again through the style costs more than the rest of
// the list's repaint. While the pointer is over the bar, or the bar is being
// dragged, it paints as any scroll bar does.
class CachedScrollBar : public QScrollBar {
public:
    explicit CachedScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // How many paints drew through the style (for the tests).
    int renders() const { return m_nRenders; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The picture drawn anew, or only the strip around `handles`.
    void redrawWhole(const QStyleOptionSlider& opt, const QColor& background);
    void redrawAround(const QStyleOptionSlider& opt, const QRect& handles,
                      const QColor& background);

    struct Look {
        QSize size;
        qreal pixelRatio = 0;
        int state = 0;
        QRect handle;
        bool atMinimum = false;
        bool atMaximum = false;
        qint64 palette = 0;
        bool operator==(const Look&) const = default;
    };

    QPixmap m_picture;
    Look m_look;
    int m_nRenders = 0;
};
