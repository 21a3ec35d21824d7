#include "core/sim/signalprofile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>

SignalProfile::SignalProfile(const Params& params) : m_params(params) {
    m_params.periodFrames = std::max(1, m_params.periodFrames);
    m_params.noise = std::fabs(m_params.noise);
}

double SignalProfile::valueAt(std::int64_t n) const {
    const std::int64_t period = m_params.periodFrames;
    const std::int64_t phase = ((n % period) + period) % period;
    double value = m_params.base;
    switch (m_params.shape) {
    case Shape::Steady:
        break;
    case Shape::Ramp:
        // From base up to base + span in period frames, both ends included, then
        // back to base.
        if (period > 1)
            value += m_params.span * static_cast<double>(phase) / static_cast<double>(period - 1);
        break;
    case Shape::Sine:
        value += m_params.span * std::sin(2.0 * std::numbers::pi * static_cast<double>(phase) /
                                          static_cast<double>(period));
        break;
    }
    return value + noiseAt(n);
}

double SignalProfile::noiseAt(std::int64_t n) const {
    if (m_params.noise == 0.0)
        return 0.0;
    // SplitMix64 of (seed, n): a well-mixed 64-bit value per frame.
    std::uint64_t z = m_params.seed * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(n);
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    const double unit = static_cast<double>(z >> 11) / static_cast<double>(1ull << 53); // [0, 1)
    return m_params.noise * (2.0 * unit - 1.0);
}

std::optional<SignalProfile::Shape> SignalProfile::shapeFromName(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static constexpr std::array<std::pair<std::string_view, Shape>, 3> names = {{
        {"steady", Shape::Steady},
        {"ramp", Shape::Ramp},
        {"sine", Shape::Sine},
    }};
    for (const auto& [text, shape] : names)
        if (lower == text)
            return shape;
    return std::nullopt;
}
