#include "ui/panels/valuescrollpanel.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The top tick of the unzoomed value window at a scroll position.
int topOfWindow(int position) {
    return (12 - position + 68) * 25;
}

struct ScrollRig {
    ValueScrollPanel panel;
    QSignalSpy spy{&panel, &ValueScrollPanel::positionChanged};

    explicit ScrollRig(int position) : panel(position) { panel.resize(20, 350); }

    // Performs a user action and returns the position it left, checking that
    // it was reported once.
    int act(QAbstractSlider::SliderAction action) {
        const qsizetype before = spy.count();
        panel.bar()->triggerAction(action);
        EXPECT_EQ(spy.count(), before + 1);
        EXPECT_EQ(spy.back().at(0).toInt(), panel.position());
        EXPECT_EQ(panel.bar()->value(), panel.position());
        return panel.position();
    }
};

TEST(ValueScroll, LineStepsMoveOneAndStopAtTheEnds) {
    ScrollRig rig(72);
    EXPECT_EQ(rig.panel.bar()->minimum(), 0);
    EXPECT_EQ(rig.panel.bar()->maximum(), 72);
    EXPECT_EQ(rig.act(QAbstractSlider::SliderSingleStepAdd), 72); // still reported
    EXPECT_EQ(rig.act(QAbstractSlider::SliderSingleStepSub), 71);
    EXPECT_EQ(rig.act(QAbstractSlider::SliderSingleStepSub), 70);
    EXPECT_EQ(rig.act(QAbstractSlider::SliderSingleStepAdd), 71);

    ScrollRig top(0);
    EXPECT_EQ(top.act(QAbstractSlider::SliderSingleStepSub), 0);
    EXPECT_EQ(top.act(QAbstractSlider::SliderSingleStepAdd), 1);
}

TEST(ValueScroll, PagesJumpToTheHighestAndLowestWindows) {
    ScrollRig rig(40);
    EXPECT_EQ(rig.act(QAbstractSlider::SliderPageStepSub), 0);
    EXPECT_EQ(topOfWindow(rig.panel.position()) - 300, 1700);
    EXPECT_EQ(topOfWindow(rig.panel.position()), 2000);
    EXPECT_EQ(rig.act(QAbstractSlider::SliderPageStepAdd), 72);
    EXPECT_EQ(topOfWindow(rig.panel.position()) - 300, -100);
    EXPECT_EQ(topOfWindow(rig.panel.position()), 200);
    EXPECT_EQ(rig.act(QAbstractSlider::SliderPageStepAdd), 72);
}

TEST(ValueScroll, DraggingFollowsTheThumbAndReleasingDoesNotMoveIt) {
    ScrollRig rig(72);
    rig.panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&rig.panel));
    QScrollBar* bar = rig.panel.bar();
    bar->setSliderDown(true);
    bar->setSliderPosition(50); // thumb track
    EXPECT_EQ(rig.panel.position(), 50);
    bar->setSliderPosition(20);
    EXPECT_EQ(rig.panel.position(), 20);
    EXPECT_EQ(rig.spy.back().at(0).toInt(), 20);
    const qsizetype count = rig.spy.count();
    bar->setSliderDown(false); // drop
    EXPECT_EQ(rig.panel.position(), 20);
    EXPECT_EQ(bar->value(), 20);
    // The drop is reported too (the graph repaints), with the same position.
    EXPECT_EQ(rig.spy.count(), count + 1);
    EXPECT_EQ(rig.spy.back().at(0).toInt(), 20);

    // With the mouse: press the thumb and drag it to the top.
    rig.panel.setPosition(72);
    const QPoint thumb(10, 350 - 30);
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, QPoint(10, 0));
    EXPECT_LT(rig.panel.position(), 72);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(10, 0));
    EXPECT_EQ(bar->value(), rig.panel.position());
}

TEST(ValueScroll, SettingThePositionDoesNotNotify) {
    ScrollRig rig(72);
    rig.panel.setPosition(30);
    EXPECT_EQ(rig.panel.position(), 30);
    EXPECT_EQ(rig.panel.bar()->value(), 30);
    rig.panel.setPosition(99);
    EXPECT_EQ(rig.panel.position(), 72);
    rig.panel.setPosition(-3);
    EXPECT_EQ(rig.panel.position(), 0);
    EXPECT_EQ(rig.spy.count(), 0);
}

} // namespace
