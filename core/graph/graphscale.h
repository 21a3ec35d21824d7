#pragma once

#include "core/graph/graphscene.h"
#include "core/graph/graphstate.h"
#include "core/graph/graphviewmembers.h"
#include "core/graph/plotrect.h"

// What one paint of the graph reads besides the graph state and the view members.
struct PaintInput {
    ClientRect client;             // the view's client rectangle
    const float* values = nullptr; // the graph series, at least `count` values
    int count = 0;                 // m_nGraphCount: samples 0..count-1 are drawn
    int barAlarmHigh = 0;          // the alarm bar's stored limits, copied into the
    int barAlarmLow = 0;           // view's limits while the FromBar flags are set
    int emptied = 0;               // the store's m_nGraphEmptied: changes whenever the
                                   // series was emptied, whether a paint saw it empty or not
};

// One paint of the graph, without any widget: takes the alarm limits from the
// bar, orders them, sets the horizontal step (live or fit), resets an empty live
// graph, keeps or wipes the hover line, builds the value window, maps every
// sample to pixels (compressing a live series that reaches the right edge),
// rebuilds the zoom levels while zoomed, places the grid and both axes' labels
// and colours the curve by the alarm limits. All the state it changes is in `g`
// and `v`; what is to be drawn is returned in `scene` (see GraphScene for the
// coordinates). A view too small to have a plot area changes only the alarm
// limits and returns a scene without area.
void buildGraphScene(GraphState& g, GraphViewMembers& v, const PaintInput& in, GraphScene& scene);

// The same, returning a new scene.
GraphScene buildGraphScene(GraphState& g, GraphViewMembers& v, const PaintInput& in);
