#include "core/files/atomicfile.h"
#include "core/files/outputtarget.h"
#include "tests/app/tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Kind = OutputTarget::Kind;

TEST(OutputTarget, EachKindOfOutputIsWrittenAsItCanBeWithoutHarm) {
    TempDir dir;
    const fs::path file = dir.path() / "old.csv";
    writeText(file, "old");
    fs::create_directory(dir.path() / "folder");
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    fs::create_symlink(file, dir.path() / "link.csv");
    fs::create_symlink("new.csv", dir.path() / "dangling.csv");
    fs::create_symlink("folder", dir.path() / "to-folder");
    fs::create_symlink("loop", dir.path() / "loop");
    struct Row {
        fs::path named;
        Kind kind;
        fs::path path; // File: the file replaced
        const char* reason = "";
    };
    const Row rows[] = {
        {file, Kind::File, file},
        {dir.path() / "new.csv", Kind::File, dir.path() / "new.csv"},
        {dir.path() / "link.csv", Kind::File, file},
        {dir.path() / "dangling.csv", Kind::File, dir.path() / "new.csv"},
        {dir.path() / "folder", Kind::Refused, {}, "it is a folder"},
        {dir.path() / "to-folder", Kind::Refused, {}, "it is a folder"},
        {dir.path() / "loop", Kind::Refused, {}, "cannot be looked at"},
        {dir.path() / "pipe", Kind::Stream, dir.path() / "pipe"},
        {"/dev/null", Kind::Stream, "/dev/null"},
        {"/dev/full", Kind::Stream, "/dev/full"},
        {"/dev/stdout", Kind::Stream, "/dev/stdout"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.named.string());
        const OutputTarget t = resolveOutput(row.named);
        EXPECT_EQ(t.kind, row.kind);
        if (row.kind != Kind::Refused) {
            EXPECT_EQ(t.path, row.path);
        }
        EXPECT_NE(t.reason.find(row.reason), std::string::npos) << t.reason;
    }
    EXPECT_EQ(resolveOutput("/proc/self/fd/2").fd, 2);
    EXPECT_EQ(resolveOutput("/dev/fd/1").fd, 1);
    EXPECT_EQ(resolveOutput("/dev/fd/999").kind, Kind::Refused);
    EXPECT_EQ(readText(file), "old");
    EXPECT_FALSE(fs::exists(dir.path() / "new.csv"));

    // A stream is written into and closed; nothing is made in its place.
    OutputTarget null = resolveOutput("/dev/null");
    EXPECT_TRUE(writeOutputStream(null, "x"));
    EXPECT_FALSE(writeOutputStream(resolveOutput("/dev/full"), "x"));
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// AtomicFile replaces the file a link leads to and keeps the link; it refuses
// what it cannot replace and leaves it as it was.
TEST(OutputTarget, AtomicFileFollowsLinksAndReplacesOnlyRegularFiles) {
    TempDir dir;
    const fs::path file = dir.path() / "data.DovDat";
    writeText(file, "old");
    const fs::path link = dir.path() / "latest.DovDat";
    fs::create_symlink("data.DovDat", link);
    AtomicFile viaLink(link);
    ASSERT_TRUE(viaLink.write("new"));
    ASSERT_TRUE(viaLink.commitRevertibly());
    viaLink.release();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readText(file), "new");

    fs::create_directory(dir.path() / "folder");
    writeText(dir.path() / "folder" / "inside", "kept");
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    for (const char* name : {"folder", "pipe"}) {
        SCOPED_TRACE(name);
        AtomicFile refused(dir.path() / name);
        EXPECT_FALSE(refused.write("x"));
        const Result<> committed = refused.commitRevertibly();
        EXPECT_NE(committed.error().find(std::string(name) == "folder" ? "folder" : "regular"),
                  std::string::npos)
            << committed.error();
    }
    EXPECT_EQ(readText(dir.path() / "folder" / "inside"), "kept");
    EXPECT_TRUE(fs::is_fifo(dir.path() / "pipe"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);
}

// The new content is on the disk before it takes the target's name: a crash
// just after the rename leaves the new file whole, never an empty one.
TEST(OutputTarget, AtomicFileFlushesTheNewContentBeforeItReplacesTheTarget) {
    TempDir dir;
    const fs::path file = dir.path() / "data.DovDat";
    writeText(file, "old");
    struct Sync {
        std::string name;
        off_t size;
        std::string target;
    };
    std::vector<Sync> syncs;
    watchDiskSyncs([&](int fd) {
        struct stat st {};
        ::fstat(fd, &st);
        const fs::path name = fs::read_symlink("/proc/self/fd/" + std::to_string(fd));
        syncs.push_back({name.filename().string(), st.st_size, readText(file)});
    });
    const bool replaced = static_cast<bool>(AtomicFile(file).replace("new content"));
    watchDiskSyncs({});
    ASSERT_TRUE(replaced);
    ASSERT_EQ(syncs.size(), 1u);
    EXPECT_TRUE(syncs[0].name.starts_with(".data.DovDat.")) << syncs[0].name;
    EXPECT_EQ(syncs[0].size, 11);
    EXPECT_EQ(syncs[0].target, "old");
    EXPECT_EQ(readText(file), "new content");
}

// Content written in parts replaces the target only at the commit, whole; a
// part that does not fit (a file-size limit) or a cancel leaves the target as
// it was and nothing beside it.
TEST(OutputTarget, AtomicFileInPartsReplacesTheTargetWholeOrNotAtAll) {
    TempDir dir;
    const fs::path file = dir.path() / "week.csv";
    for (const int ending : {0, 1, 2}) { // commit, a part too large, cancel
        writeText(file, "old");
        AtomicFile parts(file);
        ASSERT_TRUE(parts.begin());
        ASSERT_TRUE(parts.append("first,"));
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = ending == 1 ? 10 : old.rlim_cur;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const bool appended = static_cast<bool>(parts.append("second"));
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(appended, ending != 1);
        EXPECT_EQ(readText(file), "old");
        if (ending == 2)
            parts.cancel();
        const Result<> committed = parts.commit();
        EXPECT_EQ(static_cast<bool>(committed), ending == 0);
        if (ending == 1) {
            EXPECT_EQ(committed.error(), std::strerror(EFBIG));
        }
        EXPECT_EQ(readText(file), ending == 0 ? "first,second" : "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
}

// Temporary files a killed save left are removed by the next save in their
// folder; those of a live process, and files of other patterns, stay.
TEST(OutputTarget, TheNextSaveRemovesTheTemporariesOfADeadProcess) {
    TempDir dir;
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ASSERT_GT(dead, 0);
    ::waitpid(dead, nullptr, 0);
    const std::string d = std::to_string(dead);
    const std::string live = std::to_string(::getppid());
    const char* left[] = {".a.DovDat.", ".b.txt.", ".a.DovDat."};
    const std::string deadOnes[] = {left[0] + d + ".0.tmp", left[1] + d + ".12.tmp"};
    const std::string kept[] = {left[2] + live + ".0.tmp", left[0] + d + ".0.old",
                                ".a.DovDat." + d + ".x.tmp", "a." + d + ".0.tmp"};
    for (const std::string& name : deadOnes)
        writeText(dir.path() / name, "x");
    for (const std::string& name : kept)
        writeText(dir.path() / name, "x");
    AtomicFile save(dir.path() / "c.DovDat");
    ASSERT_TRUE(save.replace("data"));
    for (const std::string& name : deadOnes)
        EXPECT_FALSE(fs::exists(dir.path() / name)) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(dir.path() / name)) << name;
}

} // namespace
