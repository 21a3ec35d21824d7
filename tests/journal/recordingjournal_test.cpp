#include "core/journal/recordingjournal.h"
#include "tests/app/tempdir.h"
#include "tests/support/readonlyfolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

JournalSample sample(int n) {
    return {static_cast<float>(n) / 2,
            "C",
            1'800'000'000 + n,
            "12-07-26/09:00:" + std::to_string(10 + n),
            n,
            n,
            static_cast<float>(n),
            0.0f};
}

Bytes bytesOf(const fs::path& p) {
    const std::string s = readText(p);
    return Bytes(s.begin(), s.end());
}

JournalRecording recordingAt(const fs::path& p) {
    return readJournal(bytesOf(p)).recording;
}

// The files beside the journal other than the journal itself.
std::vector<fs::path> asideFiles(const fs::path& journal) {
    std::vector<fs::path> found;
    for (const auto& e : fs::directory_iterator(journal.parent_path()))
        if (e.path() != journal)
            found.push_back(e.path());
    return found;
}

TEST(JournalPaths, StateFolderDatedNames) {
    struct Row {
        const char* xdg;
        const char* home;
        const char* want;
    };
    const Row rows[] = {
        {"/x/state", "/home/u", "/x/state/Orvane/recording.journal"},
        {nullptr, "/home/u", "/home/u/.local/state/Orvane/recording.journal"},
        {"", "/home/u", "/home/u/.local/state/Orvane/recording.journal"},
        {"relative/state", "/home/u", "/home/u/.local/state/Orvane/recording.journal"},
        {nullptr, nullptr, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(journalPathFor(row.xdg, row.home), fs::path(row.want));

    const char* tz = std::getenv("TZ");
    const std::string oldTz = tz ? tz : "";
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    EXPECT_EQ(asideJournalPath("/s/Orvane/recording.journal", 1'800'000'000),
              fs::path("/s/Orvane/recording-20270115-080000.journal"));
    tz ? ::setenv("TZ", oldTz.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

TEST(JournalWriter, RecordsSurviveAReopenAndGoOnAfterIt) {
    TempDir dir;
    const fs::path path = dir.path() / "state" / "Orvane" / "recording.journal";
    {
        RecordingJournal j;
        ASSERT_TRUE(j.open(path));
        EXPECT_TRUE(j.ready());
        EXPECT_TRUE(j.found().recording.empty());
        EXPECT_EQ(fs::status(path.parent_path()).permissions() & fs::perms::all,
                  fs::perms::owner_all);
        for (int n = 1; n <= 3; ++n)
            EXPECT_TRUE(j.appendSample(sample(n)));
        EXPECT_TRUE(j.unsynced());
        EXPECT_TRUE(j.sync());
        EXPECT_FALSE(j.unsynced());
        EXPECT_TRUE(j.appendClearScreen(3));
        // Each record is in the file once append returns, synced or not.
        EXPECT_EQ(recordingAt(path).count(), 3);
        EXPECT_EQ(recordingAt(path).graphCount, 0);
    }
    RecordingJournal j;
    ASSERT_TRUE(j.open(path));
    EXPECT_EQ(j.found().recording.count(), 3);
    // Nothing is appended until the owner decides what becomes of the samples.
    EXPECT_FALSE(j.ready());
    EXPECT_FALSE(j.appendSample(sample(4)));
    ASSERT_TRUE(j.resume());
    JournalSample fourth = sample(4);
    fourth.graphCount = 1; // the graph restarted at Clear Screen
    EXPECT_TRUE(j.appendSample(fourth));
    EXPECT_TRUE(j.appendSaved(4));
    const JournalRecording r = recordingAt(path);
    EXPECT_EQ(r.count(), 4);
    EXPECT_EQ(r.graphCount, 4 - 3);
    EXPECT_EQ(r.savedCount, 4);
    EXPECT_TRUE(asideFiles(path).empty());
}

TEST(JournalWriter, OnlyARegularFileIsOpened) {
    RecordingJournal journal;
    const auto opened = journal.open("/dev/null");
    EXPECT_FALSE(journal.isOpen());
    EXPECT_NE(opened.error().message.find("not a regular file"), std::string::npos);
}

TEST(JournalWriter, ASecondOpenerIsToldItIsInUse) {
    TempDir dir;
    const fs::path path = dir.path() / "recording.journal";
    RecordingJournal first;
    ASSERT_TRUE(first.open(path));
    ASSERT_TRUE(first.appendSample(sample(1)));

    RecordingJournal second;
    const auto opened = second.open(path);
    EXPECT_TRUE(opened.error().inUse);
    EXPECT_FALSE(second.isOpen());
    EXPECT_NE(opened.error().message.find("in use"), std::string::npos) << opened.error().message;
    EXPECT_FALSE(second.appendSample(sample(2)));
    EXPECT_EQ(recordingAt(path).count(), 1);

    first.close();
    EXPECT_TRUE(second.open(path));
    EXPECT_EQ(second.found().recording.count(), 1);
}

TEST(JournalWriter, ClearAndSetAsideNeverLoseTheOldFile) {
    TempDir dir;
    const fs::path path = dir.path() / "recording.journal";
    RecordingJournal j;
    ASSERT_TRUE(j.open(path));
    ASSERT_TRUE(j.appendSample(sample(1)));
    ASSERT_TRUE(j.clear());
    EXPECT_EQ(bytesOf(path), encodeJournalHeader());
    ASSERT_TRUE(j.appendSample(sample(1)));
    ASSERT_TRUE(j.appendSample(sample(2)));
    const Bytes before = bytesOf(path);

    const fs::path aside = j.setAside(1'800'000'000);
    EXPECT_EQ(aside.parent_path(), path.parent_path());
    EXPECT_EQ(bytesOf(aside), before);
    EXPECT_EQ(bytesOf(path), encodeJournalHeader());
    // The same second again: another name, nothing overwritten.
    ASSERT_TRUE(j.appendSample(sample(1)));
    const fs::path again = j.setAside(1'800'000'000);
    EXPECT_NE(again, aside);
    EXPECT_EQ(bytesOf(aside), before);
    EXPECT_EQ(recordingAt(again).count(), 1);
    EXPECT_EQ(asideFiles(path).size(), 2u);

    // The fresh journal is locked as the first one was.
    RecordingJournal other;
    EXPECT_TRUE(other.open(path).error().inUse);
    EXPECT_TRUE(j.appendSample(sample(1)));
    EXPECT_EQ(recordingAt(path).count(), 1);
}

TEST(JournalWriter, ResumingADamagedJournalWritesItAgainAfterKeepingACopy) {
    TempDir dir;
    const fs::path path = dir.path() / "recording.journal";
    Bytes bytes = encodeJournalHeader();
    for (int n = 1; n <= 3; ++n)
        appendSampleRecord(bytes, sample(n));
    bytes[kJournalHeaderSize + 60] ^= 0x04; // in the second record
    appendSampleRecord(bytes, sample(3));   // a repeated record
    appendSampleRecord(bytes, sample(4));
    bytes.resize(bytes.size() - 5); // the crash cut the fourth sample
    writeText(path, std::string(bytes.begin(), bytes.end()));

    RecordingJournal j;
    ASSERT_TRUE(j.open(path));
    EXPECT_TRUE(j.found().damaged());
    EXPECT_EQ(bytesOf(path), bytes); // reading wrote nothing
    ASSERT_TRUE(j.resume());
    ASSERT_EQ(asideFiles(path).size(), 1u);
    EXPECT_EQ(bytesOf(asideFiles(path).front()), bytes);
    // The journal now holds the restored samples, numbered as the store has them.
    JournalSample third = sample(3);
    third.recCount = third.graphCount = 3;
    ASSERT_TRUE(j.appendSample(third));
    const JournalReading r = readJournal(bytesOf(path));
    EXPECT_FALSE(r.damaged());
    EXPECT_EQ(r.recording.count(), 3);
}

TEST(JournalWriter, FilesItCannotReadAreSetAsideAtOpen) {
    struct Row {
        const char* what;
        Bytes bytes;
    };
    Bytes v9 = encodeJournalHeader();
    v9[8] = 9;
    Bytes noneWhole = encodeJournalHeader();
    appendSampleRecord(noneWhole, sample(1));
    noneWhole[20] ^= 0x10;
    const Row rows[] = {
        {"another version", v9},
        {"damaged in its only record", noneWhole},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        const fs::path path = dir.path() / "recording.journal";
        writeText(path, std::string(row.bytes.begin(), row.bytes.end()));
        RecordingJournal j;
        ASSERT_TRUE(j.open(path));
        EXPECT_TRUE(j.ready());
        ASSERT_FALSE(j.setAsideAtOpen().empty());
        EXPECT_EQ(bytesOf(j.setAsideAtOpen()), row.bytes);
        EXPECT_EQ(bytesOf(path), encodeJournalHeader());
    }
    // A header cut while it was written holds nothing: it is simply started again.
    TempDir dir;
    const fs::path path = dir.path() / "recording.journal";
    writeText(path, "OrvJ");
    RecordingJournal j;
    ASSERT_TRUE(j.open(path));
    EXPECT_TRUE(j.setAsideAtOpen().empty());
    EXPECT_EQ(bytesOf(path), encodeJournalHeader());
}

// What is not a journal of its own is refused and left exactly as it was:
// somebody's file, a symbolic link (dangling or not), a link as the folder.
TEST(JournalWriter, WhatIsNotAJournalIsRefusedAndLeftAsItIs) {
    TempDir dir;
    const fs::path notes = dir.path() / "notes.txt";
    writeText(notes, "my notes\n");
    fs::create_directory(dir.path() / "real");
    fs::create_directory_symlink(dir.path() / "real", dir.path() / "linked");
    fs::create_symlink(notes, dir.path() / "to-notes.journal");
    fs::create_symlink(dir.path() / "nowhere", dir.path() / "dangling.journal");
    struct Row {
        fs::path path;
        const char* says;
    };
    const Row rows[] = {
        {notes, "is not a recording journal; it was left as it is"},
        {dir.path() / "to-notes.journal", "is a symbolic link"},
        {dir.path() / "dangling.journal", "is a symbolic link"},
        {dir.path() / "linked" / "recording.journal", "is a symbolic link"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path.string());
        RecordingJournal j;
        const auto opened = j.open(row.path);
        EXPECT_FALSE(opened);
        EXPECT_NE(opened.error().message.find(row.says), std::string::npos);
    }
    EXPECT_EQ(readText(notes), "my notes\n");
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "real"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 5);
}

// A journal that cannot be written is read all the same and offered; what
// would write to it fails with the reason, and its bytes stay as they were.
TEST(JournalWriter, AReadOnlyJournalIsReadAndNeverWritten) {
    TempDir dir;
    const fs::path folder = dir.path() / "state";
    fs::create_directory(folder);
    const fs::path path = folder / "recording.journal";
    Bytes bytes = encodeJournalHeader();
    for (int n = 1; n <= 3; ++n)
        appendSampleRecord(bytes, sample(n));
    bytes.push_back(1); // a cut record
    writeText(path, std::string(bytes.begin(), bytes.end()));

    const ReadOnlyFolder readOnly(folder);
    ASSERT_TRUE(readOnly.readOnly()) << readOnly.how();
    RecordingJournal j;
    ASSERT_TRUE(j.open(path));
    EXPECT_EQ(j.found().recording.count(), 3);
    EXPECT_TRUE(j.found().damaged());
    EXPECT_FALSE(j.ready());
    EXPECT_FALSE(j.resume());
    EXPECT_NE(j.takeError().value_or("").find("Cannot write the recording journal"),
              std::string::npos);
    EXPECT_TRUE(j.setAside().empty());
    EXPECT_FALSE(j.clear());
    EXPECT_EQ(bytesOf(path), bytes) << readOnly.how();
    EXPECT_TRUE(asideFiles(path).empty());
    // Nothing to restore in it: it cannot become the journal, and says why.
    j.close();
    RecordingJournal second;
    EXPECT_FALSE(second.open(folder / "missing.journal"));
}

TEST(JournalWriter, AFolderThatCannotBeMadeIsReportedOnce) {
    TempDir dir;
    writeText(dir.path() / "state", "a file where the folder should be");
    RecordingJournal j;
    const auto opened = j.open(dir.path() / "state" / "Orvane" / "recording.journal");
    EXPECT_FALSE(j.isOpen());
    EXPECT_NE(opened.error().message.find("Not a directory"), std::string::npos)
        << opened.error().message;
    EXPECT_FALSE(j.takeError().has_value()); // told by open(), not again
    EXPECT_FALSE(j.appendSample(sample(1)));
    EXPECT_TRUE(j.sync());
}

// A full disk, made with a file-size limit: the record that did not fit is cut
// off, the error is told once, no later record is written until the journal is
// emptied, and the file still reads to every whole record.
TEST(JournalWriter, AFullDiskStopsJournallingCleanly) {
    TempDir dir;
    const fs::path path = dir.path() / "recording.journal";
    RecordingJournal j;
    ASSERT_TRUE(j.open(path));
    Bytes one;
    appendSampleRecord(one, sample(1));

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = kJournalHeaderSize + 2 * one.size() + 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written[4] = {};
    for (int n = 1; n <= 4; ++n)
        written[n - 1] = j.appendSample(sample(n));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(written[0] && written[1]);
    EXPECT_FALSE(written[2] || written[3]);
    EXPECT_TRUE(j.failed());
    const auto error = j.takeError();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find(path.string()), std::string::npos) << *error;
    EXPECT_FALSE(j.takeError().has_value());
    EXPECT_FALSE(j.appendSample(sample(3))); // room again, but the series has a gap
    const JournalReading r = readJournal(bytesOf(path));
    EXPECT_FALSE(r.damaged());
    EXPECT_EQ(r.recording.count(), 2);

    ASSERT_TRUE(j.clear());
    EXPECT_FALSE(j.failed());
    EXPECT_TRUE(j.appendSample(sample(1)));
    EXPECT_EQ(recordingAt(path).count(), 1);
}

} // namespace
