#include "core/link/frameencoder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void expectSameFrame(const Frame& got, const Frame& want) {
    EXPECT_EQ(got.modeByte, want.modeByte);
    EXPECT_EQ(got.emissivityCount, want.emissivityCount);
    EXPECT_EQ(got.temperatureCount, want.temperatureCount);
    EXPECT_EQ(got.flags, want.flags);
}

TEST(FrameEncode, ExampleReadingsGiveTheInstrumentsBytes) {
    struct Row {
        double value;
        int mode;
        double emissivity;
        bool log;
        bool logValue;
        std::vector<std::uint8_t> bytes;
    };
    const Row rows[] = {
        {25.3, 0, 0.95, false, false, {0x10, 0x20, 0x35, 0x4F, 0x5F, 0x6D, 0x70, 0x80, 0x90, 0xA4}},
        {-3.5, 1, 1.00, false, false, {0x10, 0x21, 0x36, 0x44, 0x52, 0x63, 0x70, 0x80, 0x90, 0xA5}},
        {1270.9, 8, 0.95, true, true, {0x10, 0x28, 0x35, 0x4F, 0x5A, 0x65, 0x73, 0x81, 0x96, 0xA4}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        const auto bytes = encodeFrame(
            makeFrame(row.value, true, row.mode, row.emissivity, false, row.log, row.logValue));
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 10), row.bytes);
        EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 10, bytes.end()),
                  (std::vector<std::uint8_t>{0xB0, 0xC0, 0xD0, 0xE0}));
    }
}

TEST(FrameEncode, DecodeUndoesEncodeForEveryFlagModeAndCountRange) {
    const int emissivities[] = {0, 1, 15, 16, 95, 100, 254, 255};
    const int temperatures[] = {0, 1, 15, 16, 255, 256, 4095, 4096, 12709, 65534, 65535};
    std::vector<std::uint8_t> modes;
    for (int m = 0x20; m <= 0x28; ++m)
        modes.push_back(static_cast<std::uint8_t>(m));
    modes.push_back(0x1F); // bytes outside the mode table travel unchanged too
    modes.push_back(0x29);
    for (int flags = 0; flags < 256; ++flags)
        for (std::uint8_t mode : modes)
            for (int e : emissivities)
                for (int r : temperatures) {
                    const Frame f{mode, e, r, static_cast<std::uint8_t>(flags)};
                    const auto bytes = encodeFrame(f);
                    for (std::size_t i = 2; i < kFrameSize; ++i) {
                        ASSERT_EQ(bytes[i] >> 4, static_cast<int>(i) + 1) << "byte " << i;
                    }
                    const auto back = decodeFrame(bytes);
                    ASSERT_TRUE(back);
                    ASSERT_EQ(back->modeByte, mode);
                    ASSERT_EQ(back->emissivityCount, e);
                    ASSERT_EQ(back->temperatureCount, r);
                    ASSERT_EQ(back->flags, flags);
                }
}

TEST(FrameEncode, CountsOutsideTheFrameAreClamped) {
    const auto low = decodeFrame(encodeFrame(Frame{0x20, -5, -1, 0}));
    const auto high = decodeFrame(encodeFrame(Frame{0x20, 256, 70000, 0}));
    ASSERT_TRUE(low && high);
    expectSameFrame(*low, Frame{0x20, 0, 0, 0});
    expectSameFrame(*high, Frame{0x20, 255, 65535, 0});
}

TEST(MakeFrame, ReadingsBecomeCountsAndFlags) {
    struct Row {
        double value;
        bool celsius;
        int mode;
        double emissivity;
        bool locked, log, logValue;
        Frame want;
    };
    const Row rows[] = {
        {21.46, true, 0, 0.95, false, false, false, {0x20, 95, 215, kFlagCelsius}},
        {-40.0, false, 2, 0.1, false, false, false, {0x22, 10, 400, kFlagNegative}},
        {-0.04, true, 3, 0.95, false, false, false, {0x23, 95, 0, kFlagCelsius}}, // no "-0.0"
        {98.6, false, 7, 1.0, true, false, false, {0x27, 100, 986, kFlagLock}},
        {30.0, true, 8, 0.95, false, true, true, {0x28, 95, 300, 0x64}},
        {30.0, true, 8, 0.95, false, true, false, {0x28, 95, 300, 0x44}},
        {30.0, true, 4, 0.95, false, false, true, {0x24, 95, 300, kFlagCelsius}}, // value bit only
                                                                                  // with log
        {-9999.0, true, 5, 3.0, false, false, false, {0x25, 255, 65535, 0x05}},
        {12.0, true, 12, -1.0, false, false, false, {0x28, 0, 120, kFlagCelsius}},
        {12.0, true, -3, 0.95, false, false, false, {0x20, 95, 120, kFlagCelsius}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        expectSameFrame(makeFrame(row.value, row.celsius, row.mode, row.emissivity, row.locked,
                                  row.log, row.logValue),
                        row.want);
    }
}

TEST(MakeFrame, EveryModeIndexNamesItsKeyword) {
    const char* keywords[] = {"EMS", "MAX", "MIN", "DIF", "AVG", "HAL", "LAL", "TK", "LOG"};
    for (int i = 0; i < kModeCount; ++i) {
        const auto f = decodeFrame(encodeFrame(makeFrame(1.0, true, i, 0.95, false, false, false)));
        ASSERT_TRUE(f);
        EXPECT_STREQ(modeKeyword(f->modeByte), keywords[i]);
        EXPECT_EQ(modeIndexOf(keywords[i]), i);
    }
    EXPECT_EQ(modeIndexOf("avg"), 4);
    EXPECT_EQ(modeIndexOf("TKX"), std::nullopt);
    EXPECT_EQ(modeIndexOf("T"), std::nullopt);
    EXPECT_EQ(modeIndexOf(""), std::nullopt);
}

} // namespace
