#include "core/files/savefilenames.h"
#include "core/store/filechain.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
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

TEST(FileChain, NamesNotAskedForNeverReplaceAFile) {
    const SaveFileNames save = saveFileNames(kTime);
    const std::string stamp = save.dataFile.substr(0, save.dataFile.size() - 7);
    const struct {
        const char* name;
        std::string asked;
        std::string folder;
        std::set<std::string> taken;
        std::vector<ChainFileNames> expected; // three files written in the same second
    } rows[] = {
        {"asked, all free",
         "out/full.DovDat",
         "",
         {},
         {{"out/full.DovDat", "out/" + save.textFile},
          {"out/full-2.DovDat", "out/" + stamp + "-2 .txt"},
          {"out/full-3.DovDat", "out/" + stamp + "-3 .txt"}}},
        {"asked, an earlier chain there",
         "full.DovDat",
         ".",
         {"full.DovDat", "full-2.DovDat", "full-4.DovDat", save.textFile},
         {{"full.DovDat", stamp + "-2 .txt"},
          {"full-3.DovDat", stamp + "-3 .txt"},
          {"full-5.DovDat", stamp + "-4 .txt"}}},
        {"Save's names, the export of another run taken",
         "",
         "/d",
         {"/d/" + save.textFile},
         {{"/d/" + stamp + "-2.DovDat", "/d/" + stamp + "-2 .txt"},
          {"/d/" + stamp + "-3.DovDat", "/d/" + stamp + "-3 .txt"},
          {"/d/" + stamp + "-4.DovDat", "/d/" + stamp + "-4 .txt"}}},
    };
    for (const auto& row : rows) {
        std::set<std::string> taken = row.taken;
        FileChain chain(row.asked, row.folder,
                        [&](const std::string& p) { return taken.contains(p); });
        for (const ChainFileNames& expected : row.expected) {
            const ChainFileNames names = chain.next(kTime);
            EXPECT_EQ(names.dataFile, expected.dataFile) << row.name;
            EXPECT_EQ(names.textFile, expected.textFile) << row.name;
            taken.insert(names.dataFile);
            taken.insert(names.textFile);
        }
        EXPECT_EQ(chain.files(), 3) << row.name;
    }
}

} // namespace
