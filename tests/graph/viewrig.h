#pragma once

#include "support/storetestaccess.h"
#include "support/windowrig.h"
#include "ui/graph/cdtview.h"
#include "ui/panels/alarmbar.h"
#include "ui/panels/valuescrollpanel.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A shown main window and its graph view; the test writes the graph series
// straight into the store.
struct ViewRig : WindowRig {
    CDTView* view = nullptr;

    ViewRig() : WindowRig({.show = true}), view(&frame->view()) { settle(); }

    // Gives the main window another size, whatever its own size rules.
    void resizeFrame(QSize size) {
        frame->setMinimumSize(0, 0);
        frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        frame->resize(size);
        settle();
    }

    const SampleStore& store() { return acq().store(); }
    void setNewData(bool newData) {
        StoreTestAccess::setNewData(StoreTestAccess::acq(rec()), newData);
    }
    const GraphFields& g() const { return view->graph().fields(); }
    const GraphRows& rows() const { return view->graph().rows(); }
    PlotRect plot() const {
        const QRect r = view->plotRect();
        return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }
    int w() const { return plot().width(); }
    int h() const { return plot().height(); }

    // Puts `values` on the graph (unit "C", one second apart) and repaints.
    void setSamples(const std::vector<float>& values, bool fitMode = false) {
        storeSamples(values, fitMode);
        settle();
    }

    // The same, with only the repaints the view asks for itself, as when
    // readings arrive.
    void streamSamples(const std::vector<float>& values) {
        storeSamples(values, false);
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    void storeSamples(const std::vector<float>& values, bool fitMode) {
        StoreTestAccess::setGraphSeries(StoreTestAccess::acq(rec()), values, fitMode);
        frame->doc().UpdateAllViews();
    }

    // Lets every pending paint (and the repaint a compression asks for) happen.
    void settle() {
        for (int i = 0; i < 3; ++i) {
            QApplication::processEvents();
            view->repaint();
        }
    }

    QImage shot() { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // View pixels of a point given relative to the plot's top-left corner.
    QPoint at(int x, int y) const { return {plot().left + x, plot().top + y}; }

    // Row of value v in the unzoomed value window of the current scroll position.
    int rowOf(double v) const {
        const double bottom = (0 - view->yScrollPos() + 68) * 25.0;
        return static_cast<int>(h() - (v - bottom) * h() / 300.0);
    }

    // Pixels of `colour` in a rectangle given relative to the plot.
    int plotCount(const QImage& img, const QRect& r, QRgb colour) const;

    QString pane1() const { return frame->pane(1)->text(); }
    QString pane2() const { return frame->pane(2)->text(); }
};

inline QRgb rgb(int r, int g, int b) {
    return qRgb(r, g, b);
}

inline constexpr QRgb kBlack = 0xff000000u;
inline constexpr QRgb kWhite = 0xffffffffu;
inline constexpr QRgb kGrid = 0xffaaaaaau;
inline constexpr QRgb kGreen = 0xff009b00u;
inline constexpr QRgb kBlue = 0xff0000ffu;
inline constexpr QRgb kRed = 0xffff0000u;

// How many pixels of `colour` lie in the rectangle.
inline int countColour(const QImage& img, const QRect& r, QRgb colour) {
    int n = 0;
    const QRect area = r & img.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += img.pixel(x, y) == colour ? 1 : 0;
    return n;
}

inline QRgb inverted(QRgb c) {
    return ~c | 0xff000000u;
}

// Whether `text` is drawn at `topLeft` (view pixels) in the graph's label font:
// the pixels of its cell match a reference drawing of it, black on `face`.
inline ::testing::AssertionResult textAt(const QImage& shot, QPoint topLeft, const QString& text,
                                         QRgb face) {
    const QFont font = CDTView::labelFont();
    const QFontMetrics fm(font);
    const QRect cell(topLeft, QSize(fm.horizontalAdvance(text), fm.height()));
    QImage ref(cell.size(), QImage::Format_RGB32);
    ref.fill(face);
    {
        QPainter p(&ref);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPoint(0, fm.ascent()), text);
    }
    if (!shot.rect().contains(cell))
        return ::testing::AssertionFailure() << "cell outside the image";
    int ink = 0;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x) {
            const QRgb want = ref.pixel(x, y);
            if (shot.pixel(cell.left() + x, cell.top() + y) != want)
                return ::testing::AssertionFailure()
                       << text.toStdString() << " differs at (" << cell.left() + x << ","
                       << cell.top() + y << ")";
            ink += want != face ? 1 : 0;
        }
    }
    if (ink == 0)
        return ::testing::AssertionFailure()
               << "reference of " << text.toStdString() << " is blank";
    return ::testing::AssertionSuccess();
}

inline int ViewRig::plotCount(const QImage& img, const QRect& r, QRgb colour) const {
    return countColour(img, r.translated(plot().left, plot().top), colour);
}
