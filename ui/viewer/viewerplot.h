#pragma once

#include "core/viewer/columnplot.h"
#include "core/viewer/valueaxis.h"
#include "core/viewer/viewspan.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

struct ViewerData;
class QPainter;

// The plot of the recording viewer: the samples of the visible span on a clock
// (M4 columns from the pyramid), the value axis fitted to them or fixed, the
// alarm limit lines, red beyond them. The wheel zooms time around the pointer,
// a drag pans, Shift and a drag zooms into a box, a double click or Home shows
// everything, Backspace goes back one zoom step, the arrow keys pan (Up and
// Down zoom).
class ViewerPlot : public QWidget {
    Q_OBJECT

public:
    // The room left and right of the plot (the value labels, a margin).
    static constexpr int kLeftMargin = 64;
    static constexpr int kRightMargin = 16;

    explicit ViewerPlot(QWidget* parent = nullptr);

    // Shows the data whole; nothing for none.
    void setData(std::shared_ptr<const ViewerData> data);
    const ViewerData* data() const { return m_data.get(); }
    void setAlarmLimits(int high, int low);
    int alarmHigh() const { return m_nAlarmHigh; }
    int alarmLow() const { return m_nAlarmLow; }

    ViewSpan span() const { return m_span; }
    ViewSpan wholeSpan() const { return m_whole; }
    void setSpan(const ViewSpan& span, bool remember);
    void showEverything();
    void backOneStep();
    // The value axis: fitted to the visible samples, or a fixed range.
    void fitValues();
    void fixValues(double low, double high);
    std::optional<std::pair<double, double>> fixedValues() const { return m_fixed; }
    // The first and last sample in view, [first, last).
    std::pair<std::size_t, std::size_t> visibleSamples() const;

    // Draws the whole picture (axes, grid, curve, limits) into `size` pixels.
    void render(QPainter& painter, QSize size) const;

Q_SIGNALS:
    void spanChanged();
    // What lies under the pointer: date and time, value and unit, file and
    // sample; empty when nothing does.
    void hovered(const QString& readout);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Step {
        ViewSpan span;
        std::optional<std::pair<double, double>> fixed;
    };

    QRect plotRect(QSize size) const;
    PlotView plotView(QSize size) const;
    ValueAxis valueAxisFor(int height) const;
    std::int64_t timeAt(int x) const;
    void remember();
    void showReadout(QPoint at);

    std::shared_ptr<const ViewerData> m_data;
    ViewSpan m_span;
    ViewSpan m_whole;
    std::optional<std::pair<double, double>> m_fixed;
    std::vector<Step> m_history;
    QElapsedTimer m_lastWheel;
    int m_nAlarmHigh = 150;
    int m_nAlarmLow = -50;

    enum class Drag { None, Pan, Box };
    Drag m_drag = Drag::None;
    QPoint m_dragFrom;
    QPoint m_dragTo;
    ViewSpan m_dragSpan;
    int m_hoverX = -1;
};
