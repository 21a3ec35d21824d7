#include "core/files/reportlayout.h"
#include "core/link/frameencoder.h"
#include "core/store/acquisition.h"
#include "core/store/samplestore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// The unzoomed value window at scroll position 72: -100 .. 200.
ReportTicks ticks(int scrollPos = 72) {
    ReportTicks t{};
    for (int k = 0; k < kReportTickCount; ++k)
        t[k] = static_cast<float>((k - scrollPos + 68) * 25);
    return t;
}

std::vector<ReportText> sampleLabels(const ReportGraphPage& page) {
    std::vector<ReportText> labels;
    for (const ReportText& t : page.labels)
        if (t.y == 195)
            labels.push_back(t);
    return labels;
}

std::vector<ReportLine> verticalGrid(const ReportGraphPage& page) {
    std::vector<ReportLine> lines;
    for (const ReportLine& l : page.grid)
        if (l.x1 == l.x2)
            lines.push_back(l);
    return lines;
}

struct TableSeries {
    std::vector<float> values;
    std::vector<std::string> units;
    std::vector<std::string> times;
    explicit TableSeries(int n) {
        for (int i = 0; i < n; ++i) {
            values.push_back(20.0f + static_cast<float>(i) / 10.0f);
            units.push_back(i % 2 ? "F" : "C");
            times.push_back("12-06-26/09:37:" + std::to_string(10 + i % 50));
        }
    }
    ReportTablePage page(int p) const { return reportTablePage(p, values, units, times); }
};

// Sets the time zone for as long as it lives.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            m_saved = old;
        m_hadZone = std::getenv("TZ") != nullptr;
        use(zone);
    }
    ~ZoneScope() {
        if (m_hadZone)
            setenv("TZ", m_saved.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;
    static void use(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

private:
    std::string m_saved;
    bool m_hadZone = false;
};

} // namespace

TEST(ReportLayout, PageCountIsTheGraphPagePlusThirtyRowsAPage) {
    // A full last page is the last: no page of titles alone follows it.
    const std::vector<std::pair<int, int>> rows = {{0, 2},  {1, 2},  {30, 2},   {31, 3},
                                                   {60, 3}, {61, 4}, {330, 12}, {4000, 135}};
    for (const auto& [recorded, pages] : rows)
        EXPECT_EQ(reportPageCount(recorded), pages) << recorded << " samples";
}

TEST(ReportLayout, GraphPageTitleFrameAndScales) {
    const std::vector<float> values = {-100.0f, 200.0f, 50.0f};
    const ReportGraphPage page = reportGraphPage(values, ticks());
    EXPECT_EQ(page.title, (ReportText{" Orvane Test Report ", -610, 1120, ReportFont::Title}));
    const std::vector<ReportLine> frame = {{-750, 200, -10, 200},
                                           {-750, 200, -750, 1000},
                                           {-750, 1000, -10, 1000},
                                           {-10, 1000, -10, 200}};
    EXPECT_EQ(page.frame, frame);

    ASSERT_GE(page.labels.size(), 14u);
    EXPECT_EQ(page.labels[0], (ReportText{"Temperature", -750, 1025, ReportFont::Text}));
    EXPECT_EQ(page.labels[1], (ReportText{"-100.0", -800, 215, ReportFont::Text}));
    EXPECT_EQ(page.labels[5], (ReportText{"0.0", -800, 215 + 66 * 4, ReportFont::Text}));
    EXPECT_EQ(page.labels[13], (ReportText{"200.0", -800, 215 + 66 * 12, ReportFont::Text}));

    std::vector<int> rows;
    for (const ReportLine& l : page.grid)
        if (l.y1 == l.y2) {
            EXPECT_EQ(l.x1, -10);
            EXPECT_EQ(l.x2, -755);
            rows.push_back(l.y1);
        }
    EXPECT_EQ(rows,
              (std::vector<int>{266, 333, 400, 466, 533, 600, 666, 733, 800, 866, 933, 1000}));
}

TEST(ReportLayout, CurveSpansTheFrameInTheValueWindow) {
    // Three samples: the bottom, the top and the middle of the window -100..200.
    const std::vector<float> values = {-100.0f, 200.0f, 50.0f};
    const ReportGraphPage page = reportGraphPage(values, ticks());
    const std::vector<ReportLine> curve = {{-750, 200, -380, 1000}, {-380, 1000, -10, 600}};
    EXPECT_EQ(page.curve, curve);

    // Another scroll position moves the window, not the frame: 25 at 400.
    const std::vector<float> two = {25.0f, 25.0f};
    const ReportGraphPage moved = reportGraphPage(two, ticks(70));
    ASSERT_EQ(moved.curve.size(), 1u);
    EXPECT_EQ(moved.curve[0], (ReportLine{-750, 200 + 800 * 75 / 300, -10, 200 + 800 * 75 / 300}));
    EXPECT_EQ(moved.labels[1].text, "-50.0");
}

TEST(ReportLayout, CurveIsClippedToTheFrame) {
    // 50 sits at 600; the no-value mark and the extremes run off the window.
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> values = {50.0f, 3000.0f, 50.0f,         -1.0e30f,
                                       inf,   50.0f,   std::nanf(""), 50.0f};
    const ReportGraphPage page = reportGraphPage(values, ticks());
    ASSERT_EQ(page.curve.size(), 5u); // the pieces to and from NaN are left out
    for (const ReportLine& l : page.curve)
        EXPECT_TRUE(std::min(l.x1, l.x2) >= -750 && std::max(l.x1, l.x2) <= -10 &&
                    std::min(l.y1, l.y2) >= 200 && std::max(l.y1, l.y2) <= 1000);
    // Up to the frame's top and back, down to its bottom: cut where they leave it.
    EXPECT_EQ(page.curve[0], (ReportLine{-750, 600, page.curve[0].x2, 1000}));
    EXPECT_EQ(page.curve[1].y1, 1000);
    EXPECT_EQ(page.curve[2].y2, 200);

    // A window without height draws no curve rather than dividing by zero.
    ReportTicks flat{};
    flat.fill(5.0f);
    EXPECT_TRUE(reportGraphPage(values, flat).curve.empty());
}

TEST(ReportLayout, SampleNumbersAndVerticalGrid) {
    struct Row {
        int n;
        std::vector<std::string> texts; // all labels, in order
        std::vector<int> xs;            // their x, and the grid lines'
    };
    const std::vector<Row> rows = {
        // One sample: "1" alone at the frame's left edge.
        {1, {"1"}, {-750}},
        // Short series: one label per sample at the sample's x.
        {2, {"1", "2"}, {-750, -10}},
        {3, {"1", "2", "3"}, {-750, -380, -10}},
        {5, {"1", "2", "3", "4", "5"}, {-750, -565, -380, -195, -10}},
    };
    for (const Row& row : rows) {
        const std::vector<float> values(static_cast<std::size_t>(row.n), 20.0f);
        const ReportGraphPage page = reportGraphPage(values, ticks());
        const std::vector<ReportText> labels = sampleLabels(page);
        const std::vector<ReportLine> grid = verticalGrid(page);
        ASSERT_EQ(labels.size(), row.texts.size()) << "n = " << row.n;
        ASSERT_EQ(grid.size(), row.texts.size()) << "n = " << row.n;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].text, row.texts[i]) << "n = " << row.n;
            EXPECT_EQ(labels[i].x, row.xs[i]) << "n = " << row.n;
            EXPECT_EQ(grid[i], (ReportLine{row.xs[i], 200, row.xs[i], 1000})) << "n = " << row.n;
        }
    }

    // Up to 13 samples every sample is numbered, each at its own x, in the frame.
    for (int n = 2; n <= 13; ++n) {
        const std::vector<float> values(static_cast<std::size_t>(n), 20.0f);
        const std::vector<ReportText> labels = sampleLabels(reportGraphPage(values, ticks()));
        ASSERT_EQ(labels.size(), static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(labels[i].text, std::to_string(i + 1));
            EXPECT_NEAR(labels[i].x, -750 + 740.0 * i / (n - 1), 1.0) << "n = " << n;
        }
    }
}

TEST(ReportLayout, LongSeriesNumberEveryKthSampleAtLeast61UnitsApart) {
    // n = 14: s = 56.9, k = 1: samples 1..14, the last at the right edge.
    std::vector<ReportText> labels = sampleLabels(reportGraphPage(std::vector<float>(14), ticks()));
    ASSERT_EQ(labels.size(), 14u);
    EXPECT_EQ(labels.back().text, "14");
    EXPECT_NEAR(labels.back().x, -10, 1);

    // n = 100: s = 7.47, k = trunc(61 / s) = 8: 1, 9, .. 97, thirteen labels.
    labels = sampleLabels(reportGraphPage(std::vector<float>(100), ticks()));
    ASSERT_EQ(labels.size(), 13u);
    EXPECT_EQ(labels[1].text, "9");
    EXPECT_EQ(labels[1].x, static_cast<int>(8 * (740.0f / 99.0f) - 750));
    EXPECT_EQ(labels.back().text, "97");

    // n = 4000: k = 329; twenty labels at the most, none past the frame.
    const ReportGraphPage full = reportGraphPage(std::vector<float>(4000), ticks());
    labels = sampleLabels(full);
    EXPECT_EQ(labels[1].text, "330");
    EXPECT_LE(labels.size(), 20u);
    for (const ReportText& t : labels)
        EXPECT_LE(t.x, -10);
    EXPECT_EQ(verticalGrid(full).size(), labels.size());

    // An empty series: title and frame only.
    const ReportGraphPage empty = reportGraphPage({}, ticks());
    EXPECT_TRUE(empty.curve.empty());
    EXPECT_TRUE(empty.labels.empty());
    EXPECT_TRUE(empty.grid.empty());
    EXPECT_EQ(empty.frame.size(), 4u);
}

TEST(ReportLayout, TablePagesListThirtyRowsFromTheTop) {
    const TableSeries series(31);
    const ReportTablePage first = series.page(2);
    EXPECT_EQ(first.rule, (ReportLine{-770, 1050, -10, 1050}));
    ASSERT_EQ(first.texts.size(), 4u + 30u * 4u);
    EXPECT_EQ(first.texts[0], (ReportText{"NO", -618, 1080, ReportFont::Text}));
    EXPECT_EQ(first.texts[1], (ReportText{"DATA", -466, 1080, ReportFont::Text}));
    EXPECT_EQ(first.texts[2], (ReportText{"UNIT", -314, 1080, ReportFont::Text}));
    EXPECT_EQ(first.texts[3], (ReportText{"TIME", -162, 1080, ReportFont::Text}));
    for (int j = 0; j < 30; ++j) {
        const auto at = static_cast<std::size_t>(4 + 4 * j);
        EXPECT_EQ(first.texts[at], (ReportText{std::to_string(j + 1), -618, 1020 - 30 * j}));
        EXPECT_EQ(first.texts[at + 1].y, 1020 - 30 * j);
        EXPECT_EQ(first.texts[at + 3].x, -162);
    }
    EXPECT_EQ(first.texts[4 + 4 * 29 + 1].text, "22.9");

    // Row 31 alone at the top of page 3; page 4 has the titles only.
    const ReportTablePage second = series.page(3);
    ASSERT_EQ(second.texts.size(), 8u);
    EXPECT_EQ(second.texts[4], (ReportText{"31", -618, 1020}));
    EXPECT_EQ(second.texts[5], (ReportText{"23.0", -466, 1020}));
    EXPECT_EQ(second.texts[6], (ReportText{"C", -314, 1020}));
    EXPECT_EQ(second.texts[7], (ReportText{"12-06-26/09:37:40", -162, 1020}));
    EXPECT_EQ(series.page(4).texts.size(), 4u);
}

TEST(ReportLayout, NoValueIsPrintedAsDashes) {
    TableSeries series(3);
    series.values[1] = kNoValue;
    series.values[2] = 5000.0f;
    const ReportTablePage page = series.page(2);
    ASSERT_EQ(page.texts.size(), 16u);
    EXPECT_EQ(page.texts[9].text, "----");
    EXPECT_EQ(page.texts[8].text, "2");
    EXPECT_EQ(page.texts[10].text, "F");
    EXPECT_EQ(page.texts[11].text, series.times[1]);
    EXPECT_EQ(page.texts[13].text, "----");
}

TEST(ReportLayout, BeginAfterALoadMakesTheLoadedSeriesTheRecordedOne) {
    const ZoneScope zone("UTC");
    Acquisition acq;
    const SampleStore& s = acq.store();
    const FrameBytes one = encodeFrame(makeFrame(1.0, true, 0, 0.95, false, false, false));
    for (int i = 0; i < 40; ++i)
        acq.onBlock(one, 1000 + i);
    const std::int64_t loadedTime = 1796549871;
    acq.loadGraph({7.5f, kNoValue, 9.0f}, {"F", "F", "C"},
                  {formatTimeText(loadedTime), formatTimeText(loadedTime + 1), "not a time"});

    // Not printed yet: nothing changes, but the page count is the loaded one's.
    EXPECT_EQ(reportRecordCount(acq), 3);
    EXPECT_EQ(s.recCount(), 40);

    EXPECT_EQ(beginReport(acq), 2);
    EXPECT_EQ(s.recCount(), 3);
    EXPECT_EQ(s.recData()[0], 7.5f);
    EXPECT_EQ(s.recData()[1], kNoValue);
    EXPECT_EQ(s.recUnit()[2], "C");
    EXPECT_EQ(s.recTimeText()[1], formatTimeText(loadedTime + 1));
    EXPECT_EQ(s.recTime()[0], loadedTime);
    EXPECT_EQ(s.recTime()[1], loadedTime + 1);
    EXPECT_EQ(s.recTime()[2], 0);
    EXPECT_EQ(s.recData()[3], 1.0f); // beyond the loaded count: untouched

    // Without a load the recorded series is printed as it is.
    Acquisition live;
    live.onBlock(one, 5);
    live.clearScreen();
    EXPECT_EQ(beginReport(live), 2);
    EXPECT_EQ(live.store().recCount(), 1);
}

TEST(ReportLayout, TimeTextsParseBackInLocalTime) {
    const ZoneScope scope("UTC");
    for (const char* zone : {"UTC", "America/New_York", "Australia/Adelaide"}) {
        ZoneScope::use(zone);
        for (std::int64_t t : {0LL, 1796549871LL, 1720000000LL, 1893456000LL})
            EXPECT_EQ(parseTimeText(formatTimeText(t)), t) << zone << " " << t;
    }
    EXPECT_FALSE(parseTimeText("").has_value());
    EXPECT_FALSE(parseTimeText("12-06-26/09:37:51x").has_value());
    EXPECT_FALSE(parseTimeText("13-40-26/09:37:51").has_value());
}
