#include "core/graph/graphscene.h"

#include <gtest/gtest.h>

namespace {

GraphScene liveScene(int pieces) {
    GraphScene s;
    s.plot = {70, 170, 549, 520};
    s.width = 479;
    s.height = 350;
    s.hasArea = true;
    s.verticalGridX = {0, 40, 80};
    s.horizontalGridY = {29, 58};
    s.alarmLineY = {100, 300};
    s.sampleLabels = {{"1", 66, 525}, {"9", 106, 525}};
    for (int i = 0; i < pieces; ++i)
        s.curve.push_back(
            {i, 200 - i, i + 1, 199 - i, i % 5 ? CurveColour::Blue : CurveColour::Red});
    return s;
}

TEST(GraphScene, OnlyAppendedCurvePiecesCountAsAnExtension) {
    const GraphScene before = liveScene(10);
    EXPECT_TRUE(extendsCurveOnly(before, liveScene(10)));
    EXPECT_TRUE(extendsCurveOnly(before, liveScene(12)));
    EXPECT_FALSE(extendsCurveOnly(liveScene(12), before)); // pieces gone

    struct Change {
        const char* what;
        void (*apply)(GraphScene&);
    };
    const Change changes[] = {
        {"a moved piece", [](GraphScene& s) { s.curve[3].y2 += 1; }},
        {"a recoloured piece", [](GraphScene& s) { s.curve[5].colour = CurveColour::Blue; }},
        {"a moved grid line", [](GraphScene& s) { s.verticalGridX[1] = 41; }},
        {"a moved limit", [](GraphScene& s) { s.alarmLineY[0] = 101; }},
        {"a new sample label",
         [](GraphScene& s) {
             s.sampleLabels.push_back({"17", 146, 525});
         }},
        {"a new value label", [](GraphScene& s) { s.valueAxis[3].label.text = "25.00"; }},
        {"a hover line", [](GraphScene& s) { s.hoverLineX = 30; }},
        {"a wider plot", [](GraphScene& s) { s.width += 1; }},
        {"no plot", [](GraphScene& s) { s.hasArea = false; }},
    };
    for (const Change& c : changes) {
        GraphScene after = liveScene(11);
        c.apply(after);
        EXPECT_FALSE(extendsCurveOnly(before, after)) << c.what;
    }
}

} // namespace
