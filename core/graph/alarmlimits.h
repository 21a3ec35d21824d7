#pragma once

#include <utility>

// The alarm limits the graph draws, as the view holds them. Each follows the
// alarm bar's stored limit until the user types one into its edit; from then
// on the typed value stands whatever the bar is given later.
class AlarmLimits {
public:
    AlarmLimits(int high, int low) : m_nAlarmHigh(high), m_nAlarmLow(low) {}

    // At every paint: the bar's limits where they are still followed, then the
    // pair ordered (a high limit under the low one is exchanged with it).
    void followBar(int barHigh, int barLow) {
        if (m_bAlarmHighFromBar) {
            m_nAlarmHigh = barHigh;
        }
        if (m_bAlarmLowFromBar) {
            m_nAlarmLow = barLow;
        }
        if (m_nAlarmHigh < m_nAlarmLow) {
            std::swap(m_nAlarmHigh, m_nAlarmLow);
        }
    }
    // A limit typed by the user; the other one is taken from the bar.
    void typedHigh(int high, int barLow) {
        m_bAlarmHighFromBar = false;
        m_nAlarmHigh = high;
        m_nAlarmLow = barLow;
    }
    void typedLow(int low, int barHigh) {
        m_bAlarmLowFromBar = false;
        m_nAlarmLow = low;
        m_nAlarmHigh = barHigh;
    }

    int high() const { return m_nAlarmHigh; }
    int low() const { return m_nAlarmLow; }
    bool highFromBar() const { return m_bAlarmHighFromBar; }
    bool lowFromBar() const { return m_bAlarmLowFromBar; }

private:
    int m_nAlarmHigh = 0;
    int m_nAlarmLow = 0;
    bool m_bAlarmHighFromBar = true; // copy the bar's limit at every paint
    bool m_bAlarmLowFromBar = true;
};
