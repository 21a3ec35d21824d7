#include "core/files/filechain.h"
#include "core/files/savefilenames.h"
#include "tests/app/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::int64_t kTime = 1'800'000'000;

TEST(FileChain, SuffixesGoBeforeTheExtension) {
    const struct {
        const char* name;
        int n;
        const char* expected;
    } rows[] = {
        {"full.DovDat", 1, "full.DovDat"},
        {"full.DovDat", 2, "full-2.DovDat"},
        {"/data/run.v1/full.DovDat", 12, "/data/run.v1/full-12.DovDat"},
        {"26-12-06 09.42.51 .txt", 2, "26-12-06 09.42.51-2 .txt"},
        {"logs/full", 3, "logs/full-3"},
        {"run.d/.hidden", 2, "run.d/.hidden-2"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(suffixedName(row.name, row.n), row.expected) << row.name;
}

const float kValues[] = {20.5f, 21.0f};
const std::string kUnits[] = {"C", "C"};
const std::int64_t kTimes[] = {kTime, kTime + 1};
const std::string kTexts[] = {"26-12-06 09:42:51", "26-12-06 09:42:52"};
const RecordedSeries kSeries{kValues, kUnits, kTimes, kTexts};

std::set<std::string> filesIn(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

// Three files of a chain written in one second beside what a folder holds: a
// taken name, the one asked for included, is passed over and left as it was.
TEST(FileChain, NoNameEverReplacesAFile) {
    const SaveFileNames save = saveFileNames(kTime);
    const std::string stamp = save.dataFile.substr(0, save.dataFile.size() - 7);
    const struct {
        const char* name;
        std::string asked;
        std::set<std::string> taken;
        std::vector<std::pair<std::string, std::string>> expected;
    } rows[] = {
        {"asked, all free",
         "full.DovDat",
         {},
         {{"full.DovDat", save.textFile},
          {"full-2.DovDat", stamp + "-2 .txt"},
          {"full-3.DovDat", stamp + "-3 .txt"}}},
        {"asked, an earlier chain there",
         "full.DovDat",
         {"full.DovDat", "full-2.DovDat", "full-4.DovDat", save.textFile},
         {{"full-3.DovDat", stamp + "-2 .txt"},
          {"full-5.DovDat", stamp + "-3 .txt"},
          {"full-6.DovDat", stamp + "-4 .txt"}}},
        {"Save's names, the export of another run taken",
         "",
         {save.textFile, stamp + "-3.DovDat"},
         {{stamp + "-2.DovDat", stamp + "-2 .txt"},
          {stamp + "-4.DovDat", stamp + "-4 .txt"},
          {stamp + "-5.DovDat", stamp + "-5 .txt"}}},
    };
    for (const auto& row : rows) {
        TempDir dir;
        for (const std::string& name : row.taken)
            writeText(dir.path() / name, "taken");
        FileChain chain(row.asked.empty() ? "" : (dir.path() / row.asked).string(),
                        dir.path().string());
        std::set<std::string> expected = row.taken;
        for (const auto& [data, text] : row.expected) {
            const Result<WrittenPair, DataFilePairFailure> written =
                writeNewDataFilePair(chain.next(kTime), kSeries);
            ASSERT_TRUE(written) << row.name << ": " << written.error().reason;
            chain.wrote(*written);
            EXPECT_EQ(written->dataFile, dir.path() / data) << row.name;
            EXPECT_EQ(written->textFile, dir.path() / text) << row.name;
            expected.insert({data, text});
        }
        EXPECT_EQ(filesIn(dir.path()), expected) << row.name;
        for (const std::string& name : row.taken)
            EXPECT_EQ(readText(dir.path() / name), "taken") << row.name << " " << name;
        EXPECT_EQ(chain.files(), 3) << row.name;
    }
}

// Writers in one folder at once, each sure the name was free: every one gets
// a pair of its own.
TEST(FileChain, WritersAtOnceEachTakeANameOfTheirOwn) {
    constexpr int kWriters = 8;
    TempDir dir;
    std::vector<std::thread> writers;
    std::atomic<int> failed{0};
    for (int i = 0; i < kWriters; ++i)
        writers.emplace_back([&] {
            FileChain chain({}, dir.path().string());
            if (!writeNewDataFilePair(chain.next(kTime), kSeries))
                ++failed;
        });
    for (std::thread& writer : writers)
        writer.join();
    EXPECT_EQ(failed, 0);
    const std::set<std::string> files = filesIn(dir.path());
    EXPECT_EQ(files.size(), std::size_t{2 * kWriters});
    EXPECT_TRUE(std::none_of(files.begin(), files.end(),
                             [](const std::string& f) { return f.ends_with(".tmp"); }));
}

} // namespace
