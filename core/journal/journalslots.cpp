#include "core/journal/journalslots.h"

#include "core/files/filechain.h"

namespace {

// More runs at once than any computer has serial lines.
constexpr int kMaxJournals = 99;

} // namespace

std::filesystem::path numberedJournal(const std::filesystem::path& first, int n) {
    return suffixedName(first.string(), n);
}

std::vector<std::filesystem::path> numberedJournals(const std::filesystem::path& first) {
    std::vector<std::filesystem::path> found;
    for (int n = 1; n <= kMaxJournals; ++n) {
        const std::filesystem::path path = numberedJournal(first, n);
        if (pathTaken(path.string()))
            found.push_back(path);
    }
    return found;
}

JournalTaken takeFreeJournal(const std::filesystem::path& first) {
    JournalTaken taken;
    for (int n = 1; n <= kMaxJournals; ++n) {
        const std::filesystem::path path = numberedJournal(first, n);
        auto journal = std::make_unique<RecordingJournal>();
        if (const auto opened = journal->open(path); !opened && opened.error().inUse) {
            taken.inUse.push_back(path);
            continue;
        } else if (!opened) {
            taken.error = opened.error().message;
            return taken;
        }
        if (!journal->setAsideAtOpen().empty())
            taken.setAside.push_back(journal->setAsideAtOpen());
        const JournalRecording& found = journal->found().recording;
        if (found.unsavedCount() > 0) {
            taken.unsaved.push_back(
                {path, found.count(), found.timeTexts.front(), found.timeTexts.back()});
            continue; // closed and unlocked: it stays for the restore question or recover
        }
        if (!found.empty())
            journal->clear(); // everything in it was saved
        taken.journal = std::move(journal);
        return taken;
    }
    taken.error = "no free recording journal beside " + first.string();
    return taken;
}
