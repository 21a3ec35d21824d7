#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class Acquisition;
class SampleStore;

// The printed test report, laid out in page units: 0.01 inch, origin at the
// bottom-right corner of the printable area, x to the right and y upward, so
// visible points have x <= 0 and y >= 0. Page 1 draws the graph series in a
// frame with value and sample-number scales; every further page lists 30
// recorded samples.

inline constexpr int kReportRowsPerPage = 30;
// What a page needs left of and above its origin: the value labels start at
// x = -800, the title's top is at y = 1120.
inline constexpr int kReportPageWidth = 800;
inline constexpr int kReportPageHeight = 1120;
inline constexpr int kReportTickCount = 13;

// The value window of the unzoomed graph, bottom tick first.
using ReportTicks = std::array<float, kReportTickCount>;

struct ReportLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const ReportLine&) const = default;
};

enum class ReportFont {
    Title, // 40 units high
    Text,  // 15 units high
};

// A string whose top-left corner is at (x, y).
struct ReportText {
    std::string text;
    int x = 0;
    int y = 0;
    ReportFont font = ReportFont::Text;
    bool operator==(const ReportText&) const = default;
};

struct ReportGraphPage {
    ReportText title;
    std::vector<ReportLine> frame;  // bottom, left, top, right edge; solid, width 2
    std::vector<ReportLine> curve;  // solid, width 2, cut to the frame
    std::vector<ReportText> labels; // axis title, value labels, sample numbers
    std::vector<ReportLine> grid;   // dotted grey, width 1
};

struct ReportTablePage {
    ReportLine rule;               // solid, width 2
    std::vector<ReportText> texts; // column titles, then four cells per row
};

// Pages of a report on `recCount` recorded samples: the graph page, then 30
// rows a page, always with at least one table page.
int reportPageCount(int recCount);

// Page 1 for the graph series `values` (its committed samples) drawn in the
// value window `ticks`.
ReportGraphPage reportGraphPage(std::span<const float> values, const ReportTicks& ticks);

// Table page `page` (2 and up) of the recorded series; the three spans hold the
// committed samples. A page past the last row has only the rule and the titles.
ReportTablePage reportTablePage(int page, std::span<const float> values,
                                std::span<const std::string> units,
                                std::span<const std::string> times);

// The recorded count a report printed now would show: after a load, the
// loaded series' count.
int reportRecordCount(const Acquisition& acq);

// Begins printing: after a load the loaded series becomes the recorded one.
// Returns the number of pages.
int beginReport(Acquisition& acq);
