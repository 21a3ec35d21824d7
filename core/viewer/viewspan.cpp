#include "core/viewer/viewspan.h"

#include <algorithm>
#include <cmath>

ViewSpan ViewSpan::whole(std::int64_t firstMs, std::int64_t lastMs) {
    const std::int64_t length = std::max<std::int64_t>(lastMs - firstMs, kShortest);
    const std::int64_t room = std::max<std::int64_t>(length / 50, 1);
    return {firstMs - room, firstMs + length + room};
}

ViewSpan ViewSpan::zoomed(std::int64_t anchorMs, double factor, const ViewSpan& all) const {
    const double before = static_cast<double>(anchorMs - startMs);
    const double after = static_cast<double>(endMs - anchorMs);
    return ViewSpan{anchorMs - std::llround(before * factor),
                    anchorMs + std::llround(after * factor)}
        .limited(all);
}

ViewSpan ViewSpan::panned(std::int64_t deltaMs, const ViewSpan& all) const {
    return ViewSpan{startMs + deltaMs, endMs + deltaMs}.limited(all);
}

ViewSpan ViewSpan::limited(const ViewSpan& all) const {
    const std::int64_t longest = std::max<std::int64_t>(2 * all.length(), kShortest);
    std::int64_t length = std::clamp(endMs - startMs, kShortest, longest);
    std::int64_t start = startMs + (endMs - startMs - length) / 2;
    // At least a tenth of the view shows the recording.
    const std::int64_t overlap = length / 10;
    start = std::clamp(start, all.startMs - length + overlap, all.endMs - overlap);
    return {start, start + length};
}
