#pragma once

#include <array>
#include <string>

// The graph view's own members that the graph arithmetic reads and writes. The
// view holds one of these (or copies the fields in and out around each call).
struct GraphViewMembers {
    int m_nResetOnNextFrame = 0; // 1 = fit mode: a loaded series fills the width
    bool m_bNewData = false;     // a valid frame arrived since the last paint
    bool m_bDragging = false;    // a zoom box is on screen
    int m_nPanOffset = 0;        // pan of the zoomed curve, in samples
    int m_nZoomFirstIndex = 0;   // sample at the left edge after a zoom
    int m_nYScrollPos = 72;      // value scroll bar position, 0..72
    int m_nAlarmHigh = 0;        // alarm limits as the graph uses them
    int m_nAlarmLow = 0;
    bool m_bAlarmHighFromBar = true; // copy the alarm bar's limit at every paint
    bool m_bAlarmLowFromBar = true;
    std::array<std::string, 13> m_strYLabel; // value-axis label texts, "%.2f"
    std::array<std::string, 20> m_strXLabel; // sample-axis label texts, "%d"
};
