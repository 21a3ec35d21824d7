#pragma once

#include <array>
#include <cstddef>

// Colour of a piece of the curve: blue inside the alarm band, red beyond it.
enum class CurveColour { Blue, Red };

// One straight piece of the curve, drawn from (x1, y1) to (x2, y2) in
// plot-relative pixels (truncated toward zero).
struct CurvePiece {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    CurveColour colour = CurveColour::Blue;

    friend bool operator==(const CurvePiece&, const CurvePiece&) = default;
};

// End of a curve segment: its plot-relative pixel position and the sample value.
struct SegmentEnd {
    double x = 0.0;
    double y = 0.0;
    double value = 0.0;
};

// The alarm limits (high >= low) and their plot-relative pixel rows.
struct AlarmBand {
    double high = 0.0;
    double low = 0.0;
    double highRow = 0.0;
    double lowRow = 0.0;
};

// The pieces one segment is drawn as, in drawing order (at most four).
struct ColouredPieces {
    std::array<CurvePiece, 4> pieces{};
    std::size_t count = 0;

    const CurvePiece* begin() const { return pieces.data(); }
    const CurvePiece* end() const { return pieces.data() + count; }
};

// Colours the segment p0 -> p1 by the alarm band. The values decide which part
// of the segment is beyond a limit (an end exactly on a limit belongs to the
// band); the pixel rows of the limits give the split points. A segment lying on
// a limit is drawn red and then blue, so it shows blue. A segment with a value or
// coordinate that is not a number draws nothing; pieces reaching far outside any
// screen are cut back along their own line.
ColouredPieces colourSegment(const SegmentEnd& p0, const SegmentEnd& p1, const AlarmBand& band);
