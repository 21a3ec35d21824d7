#pragma once

// The main window's side of the serial link: which port On/Off opens, whether
// the user has it open, and whether Shift is held (Select COM steps down then).
struct LinkState {
    int m_nComPort = 3;
    bool m_bOnline = false;
    bool m_bShiftDown = false;

    // Select COM: one up, or one down with Shift (not below 1); 17 wraps to 1.
    // Leaves the port offline until the next connect.
    void selectNextPort() {
        if (!m_bShiftDown)
            ++m_nComPort;
        else if (m_nComPort > 1)
            --m_nComPort;
        if (m_nComPort == 17)
            m_nComPort = 1;
        m_bOnline = false;
    }
};
