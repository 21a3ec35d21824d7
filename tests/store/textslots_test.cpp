#include "core/store/textslots.h"

#include <gtest/gtest.h>

namespace {

TEST(TextSlots, WrittenFrontToBackALaterSlotDropsNothingAnEarlierOneDropsWhatFollows) {
    TextSlots t(4, 17);
    EXPECT_EQ(t[0], ""); // never written
    t.set(0, "08-12-26/10:00:00");
    t.set(1, "C");
    t.set(1, "°F"); // the current slot again
    EXPECT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], "08-12-26/10:00:00");
    EXPECT_EQ(t[1], "°F");
    t.set(4, "x"); // slots 2 and 3 were skipped: empty
    EXPECT_EQ(t.size(), 5u);
    EXPECT_EQ(t[2], "");
    EXPECT_EQ(t[4], "x");
    EXPECT_EQ(t.strings(0, 5), (std::vector<std::string>{"08-12-26/10:00:00", "°F", "", "", "x"}));
    t.set(0, ""); // emptied and written again
    EXPECT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], "");
    EXPECT_EQ(t[1], "");
    EXPECT_TRUE(t.strings(1, 1).empty());
}

} // namespace
