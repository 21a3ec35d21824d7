#include "engine/linkstate.h"

#include <gtest/gtest.h>

namespace {

TEST(SelectCom, SixteenStepsFromPortOneComeBack) {
    LinkState link;
    link.m_nComPort = 1;
    for (int i = 0; i < 15; ++i) {
        link.selectNextPort();
        EXPECT_EQ(link.m_nComPort, i + 2);
    }
    link.selectNextPort();
    EXPECT_EQ(link.m_nComPort, 1);
}

TEST(SelectCom, ShiftStepsDownAndStopsAtOne) {
    LinkState link;
    link.m_bOnline = true;
    link.m_bShiftDown = true;
    link.selectNextPort();
    EXPECT_EQ(link.m_nComPort, 2);
    EXPECT_FALSE(link.m_bOnline);
    link.selectNextPort();
    link.selectNextPort();
    EXPECT_EQ(link.m_nComPort, 1);
}

TEST(SelectCom, NumbersOutsideTheRangeStepFromWhereTheyAre) {
    LinkState link;
    link.m_nComPort = 0;
    link.selectNextPort();
    EXPECT_EQ(link.m_nComPort, 1);
    link.m_nComPort = 20;
    link.selectNextPort();
    EXPECT_EQ(link.m_nComPort, 21);
}

} // namespace
