#include "core/link/frameencoder.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

std::uint8_t tagged(int position, int nibble) {
    return static_cast<std::uint8_t>(((position + 1) << 4) | (nibble & 0x0F));
}

int roundedCount(double value, double scale, int maximum) {
    const double scaled = std::round(value * scale);
    if (!(scaled > 0.0)) // also catches NaN
        return 0;
    return scaled >= maximum ? maximum : static_cast<int>(scaled);
}

} // namespace

FrameBytes encodeFrame(const Frame& frame) {
    const int e = std::clamp(frame.emissivityCount, 0, kMaxEmissivityCount);
    const int r = std::clamp(frame.temperatureCount, 0, kMaxTemperatureCount);
    const int f = frame.flags;
    FrameBytes bytes{};
    bytes[0] = kFrameStart;
    bytes[1] = frame.modeByte;
    bytes[2] = tagged(2, e >> 4);
    bytes[3] = tagged(3, e);
    bytes[4] = tagged(4, r >> 4);
    bytes[5] = tagged(5, r);
    bytes[6] = tagged(6, r >> 12);
    bytes[7] = tagged(7, r >> 8);
    bytes[8] = tagged(8, f >> 4);
    bytes[9] = tagged(9, f);
    for (std::size_t i = 10; i < kFrameSize; ++i)
        bytes[i] = tagged(static_cast<int>(i), 0);
    return bytes;
}

Frame makeFrame(double value, bool celsius, int modeIndex, double emissivity, bool locked,
                bool logFrame, bool logHasValue) {
    Frame frame;
    frame.modeByte = static_cast<std::uint8_t>(0x20 + std::clamp(modeIndex, 0, kModeCount - 1));
    frame.emissivityCount = roundedCount(emissivity, 100.0, kMaxEmissivityCount);
    frame.temperatureCount = roundedCount(std::fabs(value), 10.0, kMaxTemperatureCount);
    std::uint8_t flags = 0;
    if (value < 0 && frame.temperatureCount > 0)
        flags |= kFlagNegative;
    if (celsius)
        flags |= kFlagCelsius;
    if (locked)
        flags |= kFlagLock;
    if (logFrame) {
        flags |= kFlagLog;
        if (logHasValue)
            flags |= kFlagLogValue;
    }
    frame.flags = flags;
    return frame;
}

std::optional<int> modeIndexOf(std::string_view keyword) {
    for (int i = 0; i < kModeCount; ++i) {
        const std::string_view name = modeKeyword(static_cast<std::uint8_t>(0x20 + i));
        const bool same = std::equal(name.begin(), name.end(), keyword.begin(), keyword.end(),
                                     [](char a, char b) {
                                         return std::toupper(static_cast<unsigned char>(a)) ==
                                                std::toupper(static_cast<unsigned char>(b));
                                     });
        if (same)
            return i;
    }
    return std::nullopt;
}
