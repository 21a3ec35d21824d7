#include "core/graph/valuewindow.h"
#include "core/text/valuetext.h"
#include "graph/graphrig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace valuewindow;

// A reading outside the window moves it the fewest steps of 25 that show it
// (up or down); what no window holds goes to the end of the bar; the no-value
// mark and what is not a number move nothing. After Open: the window that
// holds most of the file's readings, centred on them, whatever a stray
// reading or the no-value mark says.
TEST(ValueWindow, FollowingShowsTheNewestReadingOrMostOfAFile) {
    const int from[] = {72, 72, 72, 0, 64, 72, 72, 60};
    const float value[] = {150.0f, 400.0f, 401.0f, 100.0f, -100.0f, 2500.0f, kNoValue, NAN};
    const int to[] = {72, 64, 63, 64, 72, 0, 72, 60};
    for (std::size_t i = 0; i < std::size(to); ++i)
        EXPECT_EQ(positionShowing(from[i], value[i]), to[i]) << from[i] << " " << value[i];

    std::vector<float> hot;
    for (int i = 0; i < 4000; ++i)
        hot.push_back(300.0f + static_cast<float>(i % 201));
    EXPECT_EQ(positionForReadings(hot, 72), 58); // 250 .. 550
    std::vector<float> room(50, 22.5f);
    room.insert(room.end(), {1000.0f, kNoValue});
    EXPECT_EQ(positionForReadings(room, 20), 68); // 0 .. 300
    EXPECT_EQ(positionForReadings(std::vector<float>{kNoValue}, 20), 20);
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
