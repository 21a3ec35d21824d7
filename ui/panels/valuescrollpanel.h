#pragma once

#include <QWidget>

class QScrollBar;

// The vertical bar beside the graph that shifts its value window: position 0
// shows the highest window, 72 the lowest. The user's actions move it, the
// graph's paint sets it.
class ValueScrollPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxPos = 72;

    explicit ValueScrollPanel(int position = kMaxPos, QWidget* parent = nullptr);

    // Sets the range 0..72 and the position (clamped to it) without notifying.
    void setPosition(int position);
    int position() const { return m_nPos; }
    QScrollBar* bar() const { return m_scrollY; }

Q_SIGNALS:
    // After every action of the user on the bar, with the position it leaves
    // (the same one when the action did not move it: the graph repaints
    // anyway).
    void positionChanged(int position);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void onAction(int action);

    QScrollBar* m_scrollY = nullptr;
    int m_nPos = kMaxPos;
};
