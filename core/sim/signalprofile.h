#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The temperature the simulated instrument reads at each frame. A reading is a
// pure function of its frame number and the parameters, so the same profile
// always produces the same series, noise included, and any reading can be asked
// for in any order.
class SignalProfile {
public:
    enum class Shape { Steady, Ramp, Sine };

    struct Params {
        Shape shape = Shape::Sine;
        double base = 25.0;     // steady value; ramp start; sine centre
        double span = 10.0;     // ramp rise above base; sine amplitude
        int periodFrames = 120; // frames per ramp or sine cycle (at least 1)
        double noise = 0.0;     // largest deviation added by noise, in degrees
        bool celsius = true;    // unit of every reading
        std::uint64_t seed = 1; // noise seed
    };

    explicit SignalProfile(const Params& params);

    // The reading of frame n (n = 0 for the first frame), not yet rounded.
    double valueAt(std::int64_t n) const;
    bool celsius() const { return m_params.celsius; }
    const Params& params() const { return m_params; }

    // "steady", "ramp" or "sine" (case-insensitive).
    static std::optional<Shape> shapeFromName(std::string_view name);

private:
    double noiseAt(std::int64_t n) const;

    Params m_params;
};
