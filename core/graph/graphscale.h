#pragma once

#include "core/graph/graphscene.h"
#include "core/graph/graphstate.h"
#include "core/graph/plotrect.h"

// What one paint of the graph reads besides the graph state.
struct PaintInput {
    ClientRect client;             // the view's client rectangle
    const float* values = nullptr; // the graph series, at least `count` values
    int count = 0;                 // m_nGraphCount: samples 0..count-1 are drawn
    int alarmHigh = 0;             // the view's alarm limits, high >= low
    int alarmLow = 0;
    int emptied = 0;      // the store's m_nGraphEmptied: changes whenever the series
                          // was emptied, whether a paint saw it empty or not
    int yScrollPos = 72;  // m_nYScrollPos: the value scroll bar's position, 0..72
    bool fitMode = false; // a loaded file is showing: its series fills the width
    bool newData = false; // m_bNewData: a valid frame arrived since the last paint
    // The unzoomed value window follows the readings: it moves to the newest
    // live reading when that lies outside it, and to a file's readings when
    // one was loaded. Otherwise arrows at the plot's edges say that readings
    // lie beyond it.
    bool followReadings = false;
    int loaded = 0; // the store's count of loaded files: changes with each Open
};

// One paint of the graph, without any widget: a function of the state before it
// and of what it reads, giving the scene to draw (see GraphScene for the
// coordinates) and the state the paint leaves. It sets the horizontal step
// (live or fit), resets an empty live graph, keeps or wipes the hover line,
// builds the value window (following the readings when asked), maps every sample to pixels
// (compressing a live series that reaches the right edge), rebuilds the zoom levels while zoomed,
// places the grid and both axes' labels and colours the curve by the alarm
// limits. `rows` is its working space and holds the pixel rows it computed. A
// view too small to have a plot area leaves the state as it was and gives a
// scene without area.
GraphFields buildGraphScene(const GraphFields& before, const PaintInput& in, GraphRows& rows,
                            GraphScene& scene);
