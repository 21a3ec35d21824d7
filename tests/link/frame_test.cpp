#include "core/link/frame.h"

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

TEST(FrameDecode, EveryDataByteMustCarryItsPositionTag) {
    const std::vector<std::uint8_t> good = {0x10, 0x20, 0x35, 0x4F, 0x5F,
                                            0x6D, 0x70, 0x80, 0x90, 0xA4};
    ASSERT_TRUE(decodeFrame(good));
    for (std::size_t i = 2; i < 10; ++i) {
        for (std::uint8_t wrong : {0x00, 0x10, 0xF0}) {
            auto b = good;
            b[i] = static_cast<std::uint8_t>(wrong | (b[i] & 0x0F));
            EXPECT_FALSE(decodeFrame(b)) << "byte " << i << " tag " << int(wrong >> 4);
        }
    }
    auto modeless = good;
    modeless[1] = 0x7E; // byte 1 is not checked
    EXPECT_TRUE(decodeFrame(modeless));
}

// Bytes: F a whole frame, f its first n bytes, x noise, 0 a lone start byte.
std::vector<std::uint8_t> line(const char* pattern) {
    static const std::vector<std::uint8_t> f = {0x10, 0x20, 0x35, 0x4F, 0x5F, 0x6D, 0x70,
                                                0x80, 0x90, 0xA4, 0xB0, 0xC0, 0xD0, 0xE0};
    std::vector<std::uint8_t> out;
    for (const char* c = pattern; *c; ++c) {
        if (*c == 'F')
            out.insert(out.end(), f.begin(), f.end());
        else if (*c == 'f')
            out.insert(out.end(), f.begin(), f.begin() + (*++c - '0'));
        else if (*c == 'x')
            out.push_back(0x5A);
        else if (*c == '0')
            out.push_back(0x10);
    }
    return out;
}

TEST(FrameCut, TakesEveryWholeFrameAndKeepsAFrameStillArriving) {
    struct Row {
        const char* pattern;
        std::vector<std::size_t> frames;
        std::size_t left; // bytes left over for the next read
    };
    const Row rows[] = {
        {"F", {0}, 0},
        {"FF", {0, 14}, 0},
        {"Ff4", {0}, 4},                // a block ends inside the next frame
        {"f9", {}, 9},                  // too short to judge yet
        {"xxF", {2}, 0},                // opened in the middle of the line
        {"xxxf5", {}, 5},               // noise before a frame still arriving
        {"xxx", {}, 0},                 // nothing that can start a frame
        {"f4F", {4}, 0},                // a cut frame, then a whole one
        {"0xxxxxxxxxxxxxxxF", {16}, 0}, // a start byte on noise is no frame
        {"FxF0", {0, 15}, 1},
    };
    for (const Row& row : rows) {
        const auto bytes = line(row.pattern);
        const FrameCut cut = cutFrames(bytes);
        EXPECT_EQ(cut.frames, row.frames) << row.pattern;
        EXPECT_EQ(bytes.size() - cut.used, row.left) << row.pattern;
    }
}

} // namespace
