#include "app/tempdir.h"
#include "core/files/dovdatcodec.h"
#include "core/store/samplestore.h"
#include "core/viewer/recordingreader.h"
#include "support/zoneguard.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::int64_t kAt = 1796648631000; // 7 December 2026, 14:03:51 in Berlin

void writeDataFile(const std::filesystem::path& p, const std::vector<float>& values,
                   const std::vector<std::string>& times) {
    const std::vector<std::string> units(values.size(), "C");
    const auto bytes = encodeDovDat(values, units, times);
    writeText(p, std::string(bytes->begin(), bytes->end()));
}

struct Sample {
    std::int64_t ms;
    float value;
    char unit;
    bool mark;
    int file;
    int sample;
};

std::vector<Sample> samplesOf(const RecordingSeries& s) {
    std::vector<Sample> out;
    for (std::size_t i = 0; i < s.size(); ++i)
        out.push_back({s.time(i) - kAt, s.hasValue(i) ? s.value(i) : -1.0f, s.unit(i), s.mark(i),
                       s.source(i).file, s.source(i).sample});
    return out;
}

// Every style of CSV reads to the same samples; without milliseconds the two
// samples of one second are spread over it.
TEST(RecordingReader, CsvStylesSeparatorsAndMilliseconds) {
    const ZoneGuard zone("Europe/Berlin");
    const struct {
        const char* name;
        const char* text;
        std::int64_t second; // the middle sample's time
    } rows[] = {
        {"local, comma, ms",
         "number,time,utc_offset,value,unit,log\r\n"
         "1,2026-12-07 14:03:51.250,+01:00,25.3,C,0\r\n"
         "2,2026-12-07 14:03:51.750,+01:00,,C,1\r\n"
         "3,2026-12-07 14:03:52.000,+01:00,-4.5,F,0\r\n",
         750},
        {"local, semicolon, ms, LF, BOM",
         "\xEF\xBB\xBFnumber;time;utc_offset;value;unit;log\n"
         "1;2026-12-07 14:03:51.250;+01:00;25,3;C;0\n"
         "2;2026-12-07 14:03:51.750;+01:00;;C;1\n"
         "3;2026-12-07 14:03:52.000;+01:00;-4,5;F;0\n",
         750},
        {"iso, comma, ms",
         "number,time,value,unit,log\r\n"
         "1,2026-12-07T14:03:51.250+01:00,25.3,C,0\r\n"
         "2,2026-12-07T13:03:51.750Z,,C,1\r\n"
         "3,2026-12-07T08:03:52.000-05:00,-4.5,F,0\r\n",
         750},
        {"iso, semicolon, ms",
         "number;time;value;unit;log\r\n"
         "1;2026-12-07T14:03:51.250+01:00;25,3;C;0\r\n"
         "2;2026-12-07T14:03:51.750+01:00;;C;1\r\n"
         "3;2026-12-07T14:03:52.000+01:00;-4,5;F;0\r\n",
         750},
        {"local, comma, whole seconds",
         "number,time,utc_offset,value,unit,log\r\n"
         "1,2026-12-07 14:03:51,+01:00,25.3,C,0\r\n"
         "2,2026-12-07 14:03:51,+01:00,,C,1\r\n"
         "3,2026-12-07 14:03:52,+01:00,-4.5,F,0\r\n",
         500},
        {"iso, semicolon, whole seconds",
         "number;time;value;unit;log\r\n"
         "1;2026-12-07T14:03:51+01:00;25,3;C;0\r\n"
         "2;2026-12-07T14:03:51+01:00;;C;1\r\n"
         "3;2026-12-07T14:03:52+01:00;-4,5;F;0\r\n",
         500},
    };
    for (const auto& row : rows) {
        const TempDir dir;
        writeText(dir.path() / "run.csv", row.text);
        const LoadedRecordings loaded = readRecordings({(dir.path() / "run.csv").string()});
        EXPECT_TRUE(loaded.refused.empty() && loaded.damaged.empty()) << row.name;
        const std::int64_t first = row.second == 500 ? 0 : 250;
        const std::vector<Sample> want = {{first, 25.3f, 'C', false, 0, 0},
                                          {row.second, -1.0f, 'C', true, 0, 1},
                                          {1000, -4.5f, 'F', false, 0, 2}};
        const std::vector<Sample> got = samplesOf(loaded.series);
        ASSERT_EQ(got.size(), want.size()) << row.name;
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].ms, want[i].ms) << row.name << " sample " << i;
            EXPECT_EQ(got[i].value, want[i].value) << row.name << " sample " << i;
            EXPECT_EQ(got[i].unit, want[i].unit) << row.name << " sample " << i;
            EXPECT_EQ(got[i].mark, want[i].mark) << row.name << " sample " << i;
            EXPECT_EQ(got[i].sample, want[i].sample) << row.name << " sample " << i;
        }
        EXPECT_TRUE(loaded.series.breakBefore(1) && loaded.series.breakBefore(2)) << row.name;
    }
}

// A folder with a chain: ordered by name as numbers, and by time; the second
// shared across a seam is spread over both files; other files and damaged
// ones are named and left out, the rest is read.
TEST(RecordingReader, ChainsFoldersAndDamagedFiles) {
    const ZoneGuard zone("Europe/Berlin");
    const TempDir dir;
    const std::filesystem::path d = dir.path();
    writeDataFile(d / "run.DovDat", {20.0f, 21.0f}, {"12-07-26/14:03:50", "12-07-26/14:03:51"});
    writeDataFile(d / "run-2.DovDat", {22.0f, 23.0f}, {"12-07-26/14:03:51", "12-07-26/14:03:51"});
    writeDataFile(d / "run-10.DovDat", {24.0f, 25.0f}, {"12-07-26/14:03:52", "12-07-26/bad"});
    writeText(d / "run.txt", "a text export is not read\n");
    writeText(d / "broken.DovDat", std::string("\x05\0\0\0 not a data file", 20));
    writeText(d / "other.csv", "date,temperature\n2026-12-07,20\n");
    writeText(d / "cut.csv", "number,time,utc_offset,value,unit,log\r\n"
                             "1,2026-12-07 14:03:53.000,+01:00,26.0,C,0\r\n"
                             "2,2026-12-07 14:03:5\r\n"
                             "3,2026-12-07 14:03:54.000,+01:00,27.5x,C,0\r\n"
                             "4,2026-12-07 14:03:55.000,+01:00,28.0,C,0\r\n"
                             "5,2026-12-07 14:0");

    const LoadedRecordings loaded = readRecordings({d.string(), (d / "missing.DovDat").string()});
    const std::vector<Sample> got = samplesOf(loaded.series);
    const auto& files = loaded.series.files();
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(std::filesystem::path(files[0]).filename(), "cut.csv");
    EXPECT_EQ(std::filesystem::path(files[1]).filename(), "run.DovDat");
    EXPECT_EQ(std::filesystem::path(files[2]).filename(), "run-2.DovDat");
    EXPECT_EQ(std::filesystem::path(files[3]).filename(), "run-10.DovDat");
    const std::vector<Sample> want = {
        {-1000, 20.0f, 'C', false, 1, 0}, {0, 21.0f, 'C', false, 1, 1},
        {333, 22.0f, 'C', false, 2, 0},   {666, 23.0f, 'C', false, 2, 1},
        {1000, 24.0f, 'C', false, 3, 0},  {2000, 26.0f, 'C', false, 0, 0},
        {4000, 28.0f, 'C', false, 0, 3}};
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].ms, want[i].ms) << "sample " << i;
        EXPECT_EQ(got[i].value, want[i].value) << "sample " << i;
        EXPECT_EQ(got[i].file, want[i].file) << "sample " << i;
        EXPECT_EQ(got[i].sample, want[i].sample) << "sample " << i;
    }

    std::vector<std::string> refused;
    for (const RecordingProblem& p : loaded.refused)
        refused.push_back(std::filesystem::path(p.path).filename().string() + ": " + p.reason);
    EXPECT_EQ(refused, (std::vector<std::string>{
                           "missing.DovDat: No such file or directory",
                           "broken.DovDat: it is not a data file: the file ends after 20 bytes, "
                           "in value 5 of 5",
                           "other.csv: its first line is not that of a CSV file this program "
                           "writes"}));
    std::vector<std::string> damaged;
    for (const RecordingProblem& p : loaded.damaged)
        damaged.push_back(std::filesystem::path(p.path).filename().string() + ": " + p.reason);
    EXPECT_EQ(damaged, (std::vector<std::string>{
                           "cut.csv: 3 lines could not be read (the first is line 3)",
                           "run-10.DovDat: 1 sample could not be read (the first is sample 2)"}));
}

// Unsorted input and gaps: files given against time come out in time, and a
// pause longer than 10 s and ten usual intervals breaks the line.
TEST(RecordingReader, OrdersByTimeAndMarksGaps) {
    const ZoneGuard zone("UTC");
    const TempDir dir;
    std::string late = "number,time,value,unit,log\r\n";
    std::string early = late;
    for (int i = 0; i < 20; ++i) {
        const std::string second = (i < 10 ? "0" : "") + std::to_string(i);
        early += std::to_string(i + 1) + ",2026-12-07T10:00:" + second + ".000Z,1.0,C,0\r\n";
        late += std::to_string(i + 1) + ",2026-12-07T10:01:" + second + ".000Z,2.0,C,0\r\n";
    }
    writeText(dir.path() / "a.csv", late);
    writeText(dir.path() / "b.csv", early);
    const LoadedRecordings loaded =
        readRecordings({(dir.path() / "a.csv").string(), (dir.path() / "b.csv").string()});
    const RecordingSeries& s = loaded.series;
    ASSERT_EQ(s.size(), 40u);
    EXPECT_EQ(s.usualInterval(), 1000);
    EXPECT_EQ(s.gapThreshold(), 10000);
    for (std::size_t i = 1; i < s.size(); ++i) {
        EXPECT_LT(s.time(i - 1), s.time(i));
        EXPECT_EQ(s.gapBefore(i), i == 20) << i;
        EXPECT_EQ(s.source(i).file, i < 20 ? 1 : 0) << i;
        EXPECT_EQ(s.source(i).sample, static_cast<int>(i % 20)) << i;
    }
}

} // namespace
