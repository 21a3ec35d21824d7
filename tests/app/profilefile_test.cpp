#include "core/config/profilefile.h"

#include "tests/app/tempdir.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fs = std::filesystem;

namespace {

TEST(ProfileFileRead, IntegerValues) {
    struct Row {
        const char* value;
        int expected;
    };
    const Row rows[] = {
        {"12", 12},
        {" 12", 12},
        {"12abc", 12},
        {"1 2", 1},
        {"abc", 0},
        {"-50", -50},
        {"  -7  ", -7},
        {"+5", 5},
        {"0x10", 0},
        {"-", 0},
        {"--5", 0},
        {"", 77}, // an empty value counts as not set
        {"   ", 77},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},
        {"-99999999999999999999999999", INT_MIN},
        {"000000000000000000000000000042", 42},
    };
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    const ProfileFile profile(file);
    for (const auto& row : rows) {
        writeText(file, std::string("[S]\nk=") + row.value + "\n");
        EXPECT_EQ(profile.readInt("S", "k", 77), row.expected) << '"' << row.value << '"';
    }
}

TEST(ProfileFileRead, MissingFileSectionOrKeyGivesDefault) {
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    const ProfileFile profile(file);
    EXPECT_EQ(profile.readInt("S", "k", -50), -50);
    EXPECT_EQ(profile.readString("S", "k", "dflt"), "dflt");

    const char* texts[] = {
        "",
        "[T]\nk=5\n",      // key in another section
        "[S]\nj=5\n",      // other key
        "k=5\n[S]\n",      // before any section
        "[S]\n;k=5\n#k=5", // comments
        "[S]\nk 5\n",      // no '='
        "[Sx]\nk=5\n",
    };
    for (const char* text : texts) {
        writeText(file, text);
        EXPECT_EQ(profile.readInt("S", "k", -50), -50) << text;
    }
}

TEST(ProfileFileRead, NamesIgnoreCaseAndBlanks) {
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    writeText(file, "; settings\r\n  [ comInfo ]  \r\n\tcom NUM = 7 \r\npath = /dev/tty S1 \r\n");
    const ProfileFile profile(file);
    EXPECT_EQ(profile.readInt("COMInfo", "COM num", 3), 7);
    EXPECT_EQ(profile.readInt(" cominfo", "com num ", 3), 7);
    EXPECT_EQ(profile.readString("COMINFO", "PATH", ""), "/dev/tty S1");
}

TEST(ProfileFileRead, FirstOccurrenceWinsAndIsTheOneWritten) {
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    writeText(file, "[A]\nk=1\nk=2\n[B]\n[a]\nk=3\nj=4\n");
    ProfileFile profile(file);
    EXPECT_EQ(profile.readInt("A", "k", 0), 1);
    EXPECT_EQ(profile.readInt("A", "j", 0), 4); // found in the repeated section
    ASSERT_TRUE(profile.writeString("A", "k", "9"));
    ASSERT_TRUE(profile.writeString("A", "j", "8"));
    EXPECT_EQ(readText(file), "[A]\nk=9\nk=2\n[B]\n[a]\nk=3\nj=8\n");
    EXPECT_EQ(profile.readInt("A", "k", 0), 9);
}

TEST(ProfileFileRead, GarbageAndOddFilesGiveDefaults) {
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    const ProfileFile profile(file);

    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary.push_back(static_cast<char>((i * 7919) & 0xFF));
    writeText(file, binary);
    EXPECT_EQ(profile.readInt("COMInfo", "COM num", 3), 3);

    const char withNul[] = "[S]\nk=\0\xff"
                           "5\n";
    writeText(file, std::string(withNul, sizeof withNul - 1));
    EXPECT_EQ(profile.readInt("S", "k", 3), 0);
    writeText(file, "[[[]]]]=\n=\n[\n]\n==\n[S\nk=6\n");
    EXPECT_EQ(profile.readInt("S", "k", 3), 6); // unclosed header still names a section

    // Oversized: not parsed at all.
    std::string huge = "[S]\nk=9\n";
    huge.resize(ProfileFile::kMaxFileSize + 1, ';');
    writeText(file, huge);
    EXPECT_EQ(profile.readInt("S", "k", 3), 3);
    huge.resize(ProfileFile::kMaxFileSize);
    writeText(file, huge);
    EXPECT_EQ(profile.readInt("S", "k", 3), 9);

    // A folder or a FIFO in its place: no read, no hang.
    fs::remove(file);
    fs::create_directory(file);
    EXPECT_EQ(profile.readInt("S", "k", 3), 3);
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(profile.readInt("S", "k", 3), 3);
}

TEST(ProfileFileWrite, KeepsEveryOtherLine) {
    struct Row {
        const char* before;
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    };
    const char* base = "; top\n[Other]\nx=1\n[S]\nk=1\nm=2\n\n[T]\ny=3\n";
    const Row rows[] = {
        {base, "S", "k", "9", "; top\n[Other]\nx=1\n[S]\nk=9\nm=2\n\n[T]\ny=3\n"},
        {base, "s", "n", "9", "; top\n[Other]\nx=1\n[S]\nk=1\nm=2\nn=9\n\n[T]\ny=3\n"},
        {base, "U", "z", "", "; top\n[Other]\nx=1\n[S]\nk=1\nm=2\n\n[T]\ny=3\n[U]\nz=\n"},
        {"[S]\nk=1", "T", "y", "2", "[S]\nk=1\n[T]\ny=2\n"},
        {"[S]\nk=1", "S", "n", "2", "[S]\nk=1\nn=2\n"},
        {"[S]", "S", "k", "1", "[S]\nk=1\n"},
        {"[S]\n; about k\n", "S", "k", "1", "[S]\nk=1\n; about k\n"},
        {"[S]\r\nk=1\r\n[T]\r\n", "S", "k", "22", "[S]\r\nk=22\r\n[T]\r\n"},
        {"[S]\r\nk=1\r\n[T]\r\n", "S", "n", "3", "[S]\r\nk=1\r\nn=3\r\n[T]\r\n"},
        {"[S]\r\nk=1\r\n[T]", "U", "z", "1", "[S]\r\nk=1\r\n[T]\r\n[U]\r\nz=1\r\n"},
        {"[s]\r\n  COM NUM = 4 \r\n", "S", "com num", "5", "[s]\r\n  COM NUM =5\r\n"},
        {"\x01\xff junk\n[S]\nk=1\n", "S", "k", "-50", "\x01\xff junk\n[S]\nk=-50\n"},
    };
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    ProfileFile profile(file);
    for (const auto& row : rows) {
        writeText(file, row.before);
        const Result<> written = profile.writeString(row.section, row.key, row.value);
        ASSERT_TRUE(written) << written.error();
        EXPECT_EQ(readText(file), row.after) << row.before;
    }
}

TEST(ProfileFileWrite, CreatesFolderAndFileAndLeavesNoTemporaryFiles) {
    TempDir dir;
    const fs::path file = dir.path() / "a" / "b" / "x.ini";
    ProfileFile profile(file);
    ASSERT_TRUE(profile.writeString("S", "k", "v"));
    ASSERT_TRUE(profile.writeString("S", "j", "w"));
    EXPECT_EQ(readText(file), "[S]\nk=v\nj=w\n");
    EXPECT_EQ(profile.readString("S", "j", ""), "w");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(file.parent_path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(ProfileFileWrite, KeepsModeAndSkipsUnchangedWrites) {
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    writeText(file, "[S]\nk=1\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ProfileFile profile(file);
    ASSERT_TRUE(profile.writeString("S", "k", "2"));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    struct stat before {};
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    ASSERT_TRUE(profile.writeString("s", "K", "2"));
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino); // not replaced
    ASSERT_TRUE(profile.writeString("S", "k", "3"));
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino); // replaced by rename, not rewritten in place
}

TEST(ProfileFileWrite, ThroughASymbolicLinkUpdatesItsTarget) {
    TempDir dir;
    const fs::path real = dir.path() / "real.ini";
    const fs::path link = dir.path() / "link.ini";
    writeText(real, "[S]\nk=1\n");
    fs::create_symlink(real, link);
    ProfileFile profile(link);
    ASSERT_TRUE(profile.writeString("S", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readText(real), "[S]\nk=2\n");
}

TEST(ProfileFileWrite, RefusesInputThatWouldBreakTheFile) {
    struct Row {
        const char* section;
        const char* key;
        std::string value;
    };
    const Row rows[] = {
        {"S", "k", "a\nb"}, {"S", "k", "a\rb"}, {"S", "k", std::string("a\0b", 3)},
        {"S", "k=j", "v"},  {"S", "[k]", "v"},  {"S", ";k", "v"},
        {"S]", "k", "v"},   {"S\n", "k", "v"},  {"", "k", "v"},
        {"S", " ", "v"},
    };
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    writeText(file, "[S]\nk=1\n");
    ProfileFile profile(file);
    for (const auto& row : rows) {
        const Result<> written = profile.writeString(row.section, row.key, row.value);
        EXPECT_FALSE(written) << row.section << "/" << row.key;
        EXPECT_NE(written.error().find(file.string()), std::string::npos) << written.error();
    }
    EXPECT_EQ(readText(file), "[S]\nk=1\n");
}

TEST(ProfileFileWrite, SeveralKeysInOneRewriteOrNone) {
    TempDir dir;
    const fs::path file = dir.path() / "a.ini";
    writeText(file, "[S]\nk=1\n");
    ProfileFile profile(file);
    const ProfileValue refused[] = {{"S", "k", "2"}, {"T", "j", "3"}, {"S", "bad=key", "4"}};
    EXPECT_FALSE(profile.write(refused));
    EXPECT_EQ(readText(file), "[S]\nk=1\n");
    const ProfileValue values[] = {{"S", "k", "2"}, {"T", "j", "3"}, {"S", "n", "4"}};
    ASSERT_TRUE(profile.write(values));
    EXPECT_EQ(readText(file), "[S]\nk=2\nn=4\n[T]\nj=3\n");
}

TEST(ProfileFileWrite, ReportsWhatCannotBeWritten) {
    TempDir dir;
    writeText(dir.path() / "plain", "x");

    // The folder cannot be created: a regular file is in the way.
    const fs::path underFile = dir.path() / "plain" / "sub" / "a.ini";
    ProfileFile blocked(underFile);
    std::string error = blocked.writeString("S", "k", "1").error();
    EXPECT_NE(error.find(underFile.string()), std::string::npos) << error;
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;

    // A folder stands where the file should be.
    const fs::path folder = dir.path() / "folder.ini";
    fs::create_directory(folder);
    EXPECT_FALSE(ProfileFile(folder).writeString("S", "k", "1").error().empty());

    // Too large to parse: refused, and left as it was.
    const fs::path huge = dir.path() / "huge.ini";
    writeText(huge, std::string(ProfileFile::kMaxFileSize + 10, 'x'));
    EXPECT_FALSE(ProfileFile(huge).writeString("S", "k", "1").error().empty());
    EXPECT_EQ(fs::file_size(huge), ProfileFile::kMaxFileSize + 10);

    // A folder everyone may read and search and no one may write in.
    const fs::path locked = dir.path() / "locked";
    fs::create_directory(locked);
    writeText(locked / "a.ini", "[S]\nk=1\n");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const auto writeLocked = [&] {
        return ProfileFile(locked / "a.ini").writeString("S", "k", "2").error();
    };
    if (::geteuid() != 0) {
        error = writeLocked();
        EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    } else {
        // Folder permissions do not bind root: the write is tried as nobody.
        fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
        EXPECT_EXIT(
            {
                const passwd* nobody = ::getpwnam("nobody");
                if (!nobody || ::setgroups(0, nullptr) != 0 ||
                    ::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) != 0 ||
                    ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0)
                    ::_exit(2);
                std::fputs(writeLocked().c_str(), stderr);
                std::fflush(stderr);
                ::_exit(0);
            },
            ::testing::ExitedWithCode(0), "Permission denied");
    }
    EXPECT_EQ(readText(locked / "a.ini"), "[S]\nk=1\n");
}

} // namespace
