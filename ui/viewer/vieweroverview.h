#pragma once

#include "core/viewer/viewspan.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <memory>

struct ViewerData;

// The strip under the viewer's plot: the whole recording, small, with the
// part the plot shows marked. Pressing or dragging in it moves that part there.
class ViewerOverview : public QWidget {
    Q_OBJECT

public:
    explicit ViewerOverview(QWidget* parent = nullptr);

    void setData(std::shared_ptr<const ViewerData> data, const ViewSpan& whole);
    void setVisibleSpan(const ViewSpan& visible);

Q_SIGNALS:
    // The user wants the plot's span centred on this time.
    void centreRequested(std::int64_t timeMs);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QRect stripRect() const;
    int xOf(std::int64_t timeMs) const;
    void requestAt(int x);

    std::shared_ptr<const ViewerData> m_data;
    ViewSpan m_whole;
    ViewSpan m_visible;
    QImage m_picture; // the whole recording at the strip's size
};
