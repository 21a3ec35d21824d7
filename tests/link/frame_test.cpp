#include "link/frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct DecodeRow {
    std::vector<std::uint8_t> bytes;
    const char* keyword;
    int emissivity;
    int temperature;
    std::uint8_t flags;
};

TEST(FrameDecode, ExampleFramesGiveTheirCounts) {
    const DecodeRow rows[] = {
        {{0x10, 0x20, 0x35, 0x4F, 0x5F, 0x6D, 0x70, 0x80, 0x90, 0xA4}, "EMS", 95, 253, 0x04},
        {{0x10, 0x21, 0x36, 0x44, 0x52, 0x63, 0x70, 0x80, 0x90, 0xA5}, "MAX", 100, 35, 0x05},
        {{0x10, 0x28, 0x35, 0x4F, 0x5A, 0x65, 0x73, 0x81, 0x96, 0xA4}, "LOG", 95, 12709, 0x64},
    };
    for (const auto& row : rows) {
        const auto f = decodeFrame(row.bytes);
        ASSERT_TRUE(f);
        EXPECT_STREQ(modeKeyword(f->modeByte), row.keyword);
        EXPECT_EQ(f->emissivityCount, row.emissivity);
        EXPECT_EQ(f->temperatureCount, row.temperature);
        EXPECT_EQ(f->flags, row.flags);
    }
}

TEST(FrameDecode, RefusesShortBlocksAndWrongStart) {
    std::vector<std::uint8_t> b = {0x11, 0x20, 0x35, 0x4F, 0x5F, 0x6D, 0x70, 0x80, 0x90, 0xA4};
    EXPECT_FALSE(decodeFrame(b));
    b[0] = 0x10;
    EXPECT_FALSE(decodeFrame(std::span(b).first(9)));
    EXPECT_TRUE(decodeFrame(b));
}

TEST(FrameDecode, KeywordsOnlyForModeBytesInRange) {
    EXPECT_EQ(modeKeyword(0x1F), nullptr);
    EXPECT_EQ(modeKeyword(0x29), nullptr);
    EXPECT_STREQ(modeKeyword(0x27), "TK");
}

TEST(FrameResync, FindsTheNextStartByte) {
    const std::vector<std::uint8_t> b = {0x40, 0x5F, 0x10, 0x20, 0x10};
    EXPECT_EQ(resyncOffset(b), 2u);
    EXPECT_EQ(resyncOffset(std::span(b).subspan(2)), 2u); // skips its own first byte
    const std::vector<std::uint8_t> none = {0x40, 0x5F, 0x60};
    EXPECT_EQ(resyncOffset(none), 3u);
}

} // namespace
