#include "core/journal/journalslots.h"
#include "tests/app/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

JournalSample sample(int n) {
    return {20.0f + static_cast<float>(n),
            "C",
            1'800'000'000 + n,
            "12-07-26/09:00:1" + std::to_string(n),
            n,
            n,
            30.0f,
            20.0f};
}

TEST(JournalSlots, ARunTakesTheFirstJournalNobodyHoldsAndNoUnsavedRecordingIsIn) {
    TempDir dir;
    const fs::path first = dir.path() / "recording.journal";
    EXPECT_EQ(numberedJournal(first, 1), first);
    EXPECT_EQ(numberedJournal(first, 3), dir.path() / "recording-3.journal");

    RecordingJournal held; // another run, recording
    ASSERT_TRUE(held.open(first));
    {
        RecordingJournal unsaved; // a run that crashed
        ASSERT_TRUE(unsaved.open(numberedJournal(first, 2)));
        ASSERT_TRUE(unsaved.appendSample(sample(1)));
        RecordingJournal saved; // a run that ended with its recording saved
        ASSERT_TRUE(saved.open(numberedJournal(first, 3)));
        ASSERT_TRUE(saved.appendSample(sample(1)) && saved.appendSaved(1));
    }
    std::ofstream(dir.path() / "recording-20261207-193915.journal") << "set aside";

    EXPECT_EQ(numberedJournals(first),
              (std::vector<fs::path>{first, numberedJournal(first, 2), numberedJournal(first, 3)}));
    const JournalTaken taken = takeFreeJournal(first);
    ASSERT_TRUE(taken.journal) << taken.error;
    EXPECT_EQ(taken.journal->path(), numberedJournal(first, 3));
    EXPECT_TRUE(taken.journal->ready());
    EXPECT_EQ(taken.inUse, std::vector<fs::path>{first});
    EXPECT_EQ(taken.unsaved,
              (std::vector<UnsavedJournal>{
                  {numberedJournal(first, 2), 1, sample(1).timeText, sample(1).timeText}}));

    // The unsaved one stays as it was, free for the restore question.
    RecordingJournal later;
    ASSERT_TRUE(later.open(numberedJournal(first, 2)));
    EXPECT_EQ(later.found().recording.count(), 1);

    // A folder that cannot be made: no journal, and why.
    const JournalTaken none = takeFreeJournal(dir.path() / "recording-2.journal" / "x.journal");
    EXPECT_FALSE(none.journal);
    EXPECT_FALSE(none.error.empty());
}

} // namespace
