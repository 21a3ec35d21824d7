#include "core/link/frame.h"

#include <algorithm>
#include <array>

std::optional<Frame> decodeFrame(std::span<const std::uint8_t> block) {
    if (block.size() < 10 || block[0] != kFrameStart)
        return std::nullopt;
    for (std::size_t i = 2; i < 10; ++i)
        if (block[i] >> 4 != i + 1)
            return std::nullopt;
    const auto b = [&](std::size_t i) { return static_cast<int>(block[i]); };
    Frame f;
    f.modeByte = block[1];
    f.emissivityCount = 16 * b(2) + b(3) - 0x340;
    f.temperatureCount = 4096 * b(6) + 256 * b(7) + 16 * b(4) + b(5) - 0x78560;
    f.flags = static_cast<std::uint8_t>((16 * (b(8) + 6) + b(9)) & 0xFF);
    return f;
}

const char* modeKeyword(std::uint8_t modeByte) {
    static constexpr std::array<const char*, 9> keywords = {"EMS", "MAX", "MIN", "DIF", "AVG",
                                                            "HAL", "LAL", "TK",  "LOG"};
    if (modeByte < 0x20 || modeByte > 0x28)
        return nullptr;
    return keywords[modeByte - 0x20];
}

std::size_t resyncOffset(std::span<const std::uint8_t> block) {
    if (block.empty())
        return 0;
    const auto it = std::find(block.begin() + 1, block.end(), kFrameStart);
    return static_cast<std::size_t>(it - block.begin());
}

std::optional<std::size_t> nextFrame(std::span<const std::uint8_t> bytes, std::size_t& used) {
    while (used < bytes.size()) {
        const auto rest = bytes.subspan(used);
        if (rest[0] == kFrameStart) {
            if (rest.size() < kFrameSize)
                break; // the rest of this frame is still on its way
            if (decodeFrame(rest.first(kFrameSize))) {
                used += kFrameSize;
                return used - kFrameSize;
            }
        }
        used += resyncOffset(rest);
    }
    return std::nullopt;
}

FrameCut cutFrames(std::span<const std::uint8_t> bytes) {
    FrameCut cut;
    while (const auto at = nextFrame(bytes, cut.used))
        cut.frames.push_back(*at);
    return cut;
}
