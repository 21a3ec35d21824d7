#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// One status frame of the thermometer, as it stands on the wire: 14 bytes, the
// first 0x10, each byte carrying its position in the high nibble. Only bytes 0..9
// carry information.
inline constexpr std::size_t kFrameSize = 14;
inline constexpr std::uint8_t kFrameStart = 0x10;

// Flag bits of byte F.
inline constexpr std::uint8_t kFlagNegative = 0x01;
inline constexpr std::uint8_t kFlagCelsius = 0x04;
inline constexpr std::uint8_t kFlagLock = 0x10;
inline constexpr std::uint8_t kFlagLogValue = 0x20;
inline constexpr std::uint8_t kFlagLog = 0x40;

// The raw content of one frame, with the position nibbles removed.
struct Frame {
    std::uint8_t modeByte = 0; // byte 1 as received (0x20..0x28 name a mode)
    int emissivityCount = 0;   // E; emissivity = E / 100
    int temperatureCount = 0;  // R; temperature = R * 0.1
    std::uint8_t flags = 0;    // F

    bool negative() const { return flags & kFlagNegative; }
    bool celsius() const { return flags & kFlagCelsius; }
    bool locked() const { return flags & kFlagLock; }
    bool logFrame() const { return flags & kFlagLog; }
    bool logHasValue() const { return flags & kFlagLogValue; }
    // A log frame without a value is stored as the no-value mark.
    bool logWithoutValue() const { return logFrame() && !logHasValue(); }
};

// Decodes bytes 0..9 of a received block. Returns nothing when the block is
// shorter than 10 bytes, does not start with 0x10, or any of bytes 2..9 lacks
// its position tag (0x3_ .. 0xA_): noise and other devices are not readings.
// Byte 1 is not checked, so unknown mode bytes still decode.
std::optional<Frame> decodeFrame(std::span<const std::uint8_t> block);

// The mode keyword of byte 1 ("EMS" .. "LOG"), or nullptr for any other value.
const char* modeKeyword(std::uint8_t modeByte);

// Where the next frame may begin in a block that does not start with 0x10: the
// index of the next 0x10 after byte 0, or the block's size when there is none.
// Bytes before that index can never be part of a frame and are dropped.
std::size_t resyncOffset(std::span<const std::uint8_t> block);

// The whole frames at the front of what is buffered, in order, and how many
// bytes they (and what was dropped around them) use up. What cannot start a
// frame is dropped up to the next 0x10; the start of a frame still arriving is
// left over for the next read.
struct FrameCut {
    std::vector<std::size_t> frames; // offsets of whole frames
    std::size_t used = 0;
};
FrameCut cutFrames(std::span<const std::uint8_t> bytes);
// The same one frame at a time, without a list: the offset of the next whole
// frame at or after `used`, which moves past it. Nothing when no whole frame
// is left; `used` then tells what the cut uses up.
std::optional<std::size_t> nextFrame(std::span<const std::uint8_t> bytes, std::size_t& used);
