#pragma once

#include <cstdint>

// The time span a recording viewer shows, [startMs, endMs), and how the
// wheel, a drag and the keys move it. Every result keeps at least kShortest
// ms, at most twice the recording's own span, and some of the recording in view.
struct ViewSpan {
    static constexpr std::int64_t kShortest = 100;

    std::int64_t startMs = 0;
    std::int64_t endMs = 1;

    std::int64_t length() const { return endMs - startMs; }
    friend bool operator==(const ViewSpan&, const ViewSpan&) = default;

    // The whole of a recording from `firstMs` to `lastMs`, with a little room.
    static ViewSpan whole(std::int64_t firstMs, std::int64_t lastMs);
    // `factor` times as long (below 1: zoomed in), the time at `anchorMs` staying where it is.
    ViewSpan zoomed(std::int64_t anchorMs, double factor, const ViewSpan& all) const;
    // Moved by `deltaMs`.
    ViewSpan panned(std::int64_t deltaMs, const ViewSpan& all) const;
    // Kept within the rules above.
    ViewSpan limited(const ViewSpan& all) const;
};
