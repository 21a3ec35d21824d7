#pragma once

#include "core/link/frame.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The instrument's side of the wire: builds the 14-byte frame that decodeFrame
// reads back. Bytes 10..13 carry no information; they are sent as their bare
// position tags 0xB0, 0xC0, 0xD0, 0xE0.
using FrameBytes = std::array<std::uint8_t, kFrameSize>;

inline constexpr int kMaxEmissivityCount = 0xFF;
inline constexpr int kMaxTemperatureCount = 0xFFFF;
inline constexpr int kModeCount = 9; // "EMS" .. "LOG"

// Encodes a frame. Counts outside 0..255 (emissivity) and 0..65535 (temperature)
// are clamped to that range; within it decodeFrame(encodeFrame(f)) == f.
FrameBytes encodeFrame(const Frame& frame);

// Builds the frame the instrument sends for one reading. The value is rounded to
// tenths of a degree; a negative value sets the negative flag and puts its
// magnitude in the count (a value that rounds to zero is sent as +0.0). The
// emissivity is rounded to hundredths. modeIndex 0..8 selects "EMS".."LOG"
// (clamped). logHasValue only counts for a log frame.
Frame makeFrame(double value, bool celsius, int modeIndex, double emissivity, bool locked,
                bool logFrame, bool logHasValue);

// The mode index (0..8) of a keyword such as "MAX", case-insensitive.
std::optional<int> modeIndexOf(std::string_view keyword);
