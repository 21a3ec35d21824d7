#include "core/files/reportlayout.h"

#include "core/graph/pixelmath.h"
#include "core/store/acquisition.h"
#include "core/store/samplestore.h"
#include "core/text/valuetext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// The frame of the graph page.
constexpr int kLeft = -750;
constexpr int kRight = -10;
constexpr int kBottom = 200;
constexpr int kTop = 1000;
constexpr float kWidth = 740.0f;
constexpr double kHeight = 800.0;

// Sample numbers: one label per so many units at least, twenty at the most.
constexpr float kLabelSpacing = 61.0f;
constexpr int kMaxSampleLabels = 20;

// Row positions of a table page and the left edge of its four columns.
constexpr int kTitleY = 1080;
constexpr int kFirstRowY = 1020;
constexpr int kRowHeight = 30;
constexpr std::array<int, 4> kColumnX = {-618, -466, -314, -162};

std::string tickText(float value) {
    // Wide enough for every float with one decimal.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", static_cast<double>(value));
    return buffer;
}

// The x of sample i when the step between samples is s, before truncation.
float sampleXExact(int i, float s) {
    return static_cast<float>(i) * s + static_cast<float>(kLeft);
}

int sampleX(int i, float s) {
    return truncPixel(sampleXExact(i, s));
}

// Far enough beyond the frame that a line to it runs off the frame at the
// same place as a line to infinity would.
constexpr double kFarOutside = 1.0e6;

// Cuts the line a-b to the frame (Liang-Barsky). False when no part of it
// lies inside or a coordinate is NaN.
bool clipToFrame(double& ax, double& ay, double& bx, double& by) {
    if (std::isnan(ax) || std::isnan(ay) || std::isnan(bx) || std::isnan(by))
        return false;
    ay = std::clamp(ay, -kFarOutside, kFarOutside);
    by = std::clamp(by, -kFarOutside, kFarOutside);
    const double dx = bx - ax;
    const double dy = by - ay;
    double enter = 0.0;
    double leave = 1.0;
    // One edge: p is the line's movement across it, q the distance inside.
    const auto edge = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) {
            if (r > leave)
                return false;
            enter = std::max(enter, r);
        } else {
            if (r < enter)
                return false;
            leave = std::min(leave, r);
        }
        return true;
    };
    if (!edge(-dx, ax - kLeft) || !edge(dx, kRight - ax) || !edge(-dy, ay - kBottom) ||
        !edge(dy, kTop - ay))
        return false;
    const double x0 = ax;
    const double y0 = ay;
    if (leave < 1.0) {
        bx = x0 + leave * dx;
        by = y0 + leave * dy;
    }
    if (enter > 0.0) {
        ax = x0 + enter * dx;
        ay = y0 + enter * dy;
    }
    return true;
}

} // namespace

int reportPageCount(int recCount) {
    const int rows = std::max(recCount, 0);
    return 1 + std::max(1, (rows + kReportRowsPerPage - 1) / kReportRowsPerPage);
}

ReportGraphPage reportGraphPage(std::span<const float> values, const ReportTicks& ticks) {
    ReportGraphPage page;
    page.title = {" Orvane Test Report ", -610, 1120, ReportFont::Title};
    page.frame = {{kLeft, kBottom, kRight, kBottom},
                  {kLeft, kBottom, kLeft, kTop},
                  {kLeft, kTop, kRight, kTop},
                  {kRight, kTop, kRight, kBottom}};
    const int n = static_cast<int>(std::min<std::size_t>(values.size(), MAX_DATA));
    if (n < 1)
        return page;

    // A single sample sits at the frame's left edge.
    const float s = n > 1 ? kWidth / static_cast<float>(n - 1) : 0.0f;

    // The curve, unless the value window has no height, cut to the frame as
    // the screen graph is cut to its plot: values outside the window, above
    // all the no-value mark, run to the frame's edge and no further.
    const float t0 = ticks.front();
    const float t12 = ticks.back();
    if (t12 != t0) {
        const auto y = [&](int i) {
            return kBottom +
                   static_cast<double>(values[i] - t0) * kHeight / static_cast<double>(t12 - t0);
        };
        page.curve.reserve(static_cast<std::size_t>(n - 1));
        for (int i = 0; i + 1 < n; ++i) {
            double ax = sampleXExact(i, s);
            double ay = y(i);
            double bx = sampleXExact(i + 1, s);
            double by = y(i + 1);
            if (clipToFrame(ax, ay, bx, by))
                page.curve.push_back(
                    {truncPixel(ax), truncPixel(ay), truncPixel(bx), truncPixel(by)});
        }
    }

    page.labels.push_back({"Temperature", kLeft, 1025, ReportFont::Text});
    for (int k = 0; k < kReportTickCount; ++k)
        page.labels.push_back({tickText(ticks[k]), -800, 215 + 66 * k, ReportFont::Text});

    // Sample numbers, each with a vertical grid line: every k-th sample so that
    // labels stand at least kLabelSpacing apart, and only samples that exist (a
    // short series gets one label per sample).
    const int k = n > 1 ? std::max(1, truncIndex(kLabelSpacing / s)) : 1;
    std::vector<int> labelX;
    for (int j = 0; j < kMaxSampleLabels && j * k < n; ++j) {
        const int x = sampleX(j * k, s);
        page.labels.push_back({std::to_string(1 + j * k), x, 195, ReportFont::Text});
        labelX.push_back(x);
    }

    for (int m = 1; m <= 12; ++m) {
        const int y = kBottom + (800 * m) / 12;
        page.grid.push_back({kRight, y, -755, y});
    }
    for (int x : labelX)
        page.grid.push_back({x, kBottom, x, kTop});
    return page;
}

ReportTablePage reportTablePage(int page, std::span<const float> values,
                                std::span<const std::string> units,
                                std::span<const std::string> times) {
    ReportTablePage table;
    table.rule = {-770, 1050, -10, 1050};
    const std::array<const char*, 4> titles = {"NO", "DATA", "UNIT", "TIME"};
    for (std::size_t c = 0; c < titles.size(); ++c)
        table.texts.push_back({titles[c], kColumnX[c], kTitleY, ReportFont::Text});

    const std::size_t count = std::min({values.size(), units.size(), times.size()});
    const long long first = static_cast<long long>(std::max(page, 2) - 2) * kReportRowsPerPage;
    for (int j = 0; j < kReportRowsPerPage; ++j) {
        const long long r = first + j;
        if (r >= static_cast<long long>(count))
            break;
        const auto i = static_cast<std::size_t>(r);
        const int y = kFirstRowY - kRowHeight * j;
        table.texts.push_back({std::to_string(r + 1), kColumnX[0], y, ReportFont::Text});
        table.texts.push_back({valueText(values[i]), kColumnX[1], y, ReportFont::Text});
        table.texts.push_back({units[i], kColumnX[2], y, ReportFont::Text});
        table.texts.push_back({times[i], kColumnX[3], y, ReportFont::Text});
    }
    return table;
}

int reportRecordCount(const Acquisition& acq) {
    const SampleStore& s = acq.store();
    return acq.showing() == Showing::LoadedFile ? std::clamp(s.graphCount(), 0, s.maxData())
                                                : s.recCount();
}

int beginReport(Acquisition& acq) {
    acq.adoptLoadedSeries();
    return reportPageCount(acq.store().recCount());
}
