#include "core/graph/valuewindow.h"
#include "core/text/valuetext.h"
#include "graph/graphrig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace valuewindow;

// A reading outside the window moves it the fewest steps of 25 that show it;
// what no window holds goes to the end of the bar; the no-value mark and
// what is not a number move nothing.
TEST(ValueWindow, FollowingMovesTheFewestStepsThatShowTheReading) {
    struct Case {
        int from;
        float value;
        int to;
    };
    for (const Case c : {Case{72, 150.0f, 72},
                         {72, 200.0f, 72},
                         {72, 400.0f, 64},
                         {72, 401.0f, 63},
                         {0, 100.0f, 64},
                         {64, -100.0f, 72},
                         {72, -150.0f, 72},
                         {72, 2500.0f, 0},
                         {72, kNoValue, 72},
                         {60, std::nanf(""), 60}}) {
        EXPECT_EQ(positionShowing(c.from, c.value), c.to) << c.from << " " << c.value;
        if (c.value >= -100.0f && c.value <= 2000.0f) {
            EXPECT_TRUE(bottomAt(c.to) <= c.value && c.value <= topAt(c.to)) << c.value;
        }
    }
}

// After Open: the window that holds most of the file's readings, centred on
// them; a stray reading or the no-value mark does not pull it away.
TEST(ValueWindow, AFileGetsTheWindowThatHoldsMostOfItsReadings) {
    std::vector<float> hot;
    for (int i = 0; i < 4000; ++i)
        hot.push_back(300.0f + static_cast<float>(i % 201));
    EXPECT_EQ(positionForReadings(hot, 72), 58); // 250 .. 550
    std::vector<float> room(50, 22.5f);
    room.push_back(1000.0f);
    room.push_back(kNoValue);
    EXPECT_EQ(positionForReadings(room, 20), 68); // 0 .. 300
    EXPECT_EQ(positionForReadings(std::vector<float>{kNoValue}, 20), 20);
    EXPECT_EQ(readingsBeyond(room, 68).above, true);
    EXPECT_EQ(readingsBeyond(room, 68).below, false);
}

// A hot reading of the live graph is on screen with following on; with it
// off the window stays and an arrow at the top edge says readings lie above.
// A loaded file is shown once, then the scroll bar is the user's again.
TEST(ValueWindow, TheGraphShowsAHotReadingOrSaysItLiesAbove) {
    for (const bool follow : {true, false}) {
        GraphRig rig;
        rig.follow = follow;
        rig.values = {25.0f, 400.0f};
        const GraphScene scene = rig.paint();
        ASSERT_FALSE(scene.curve.empty());
        int top = rig.h; // the highest row the curve reaches
        for (const CurvePiece& piece : scene.curve)
            top = std::min({top, piece.y1, piece.y2});
        EXPECT_EQ(top >= 0, follow) << top;
        EXPECT_EQ(scene.valueScroll.position, follow ? 64 : 72);
        EXPECT_EQ(scene.edgeArrows.size(), follow ? 0u : 1u);
        if (!follow) {
            EXPECT_LT(scene.edgeArrows[0].tipY, scene.edgeArrows[0].baseY); // points up
        }
    }
    GraphRig rig;
    rig.follow = true;
    rig.fitMode = true;
    rig.values.assign(4000, 450.0f);
    rig.loaded = 1;
    EXPECT_EQ(rig.paint().valueScroll.position, 56); // 300 .. 600
    rig.yScrollPos = 40;
    EXPECT_EQ(rig.paint().valueScroll.position, 40);
}

} // namespace
