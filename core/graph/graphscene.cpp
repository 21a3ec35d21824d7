#include "core/graph/graphscene.h"

#include <algorithm>

bool extendsCurveOnly(const GraphScene& before, const GraphScene& after) {
    if (!before.hasArea || !after.hasArea)
        return false;
    return before.plot == after.plot && before.width == after.width &&
           before.height == after.height && before.hoverLineX == after.hoverLineX &&
           before.verticalGridX == after.verticalGridX &&
           before.horizontalGridY == after.horizontalGridY &&
           before.alarmLineY == after.alarmLineY && before.edgeArrows == after.edgeArrows &&
           before.valueAxis == after.valueAxis && before.labelStrip == after.labelStrip &&
           before.sampleLabels == after.sampleLabels && before.curve.size() <= after.curve.size() &&
           std::equal(before.curve.begin(), before.curve.end(), after.curve.begin());
}
