#include "cli/recovercommand.h"

#include "cli/clitext.h"
#include "cli/exitstatus.h"
#include "cli/recordingfiles.h"
#include "core/files/filechain.h"
#include "core/journal/journalslots.h"
#include "core/journal/recordingjournal.h"
#include "core/text/valuetext.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <span>
#include <vector>

#include <sys/stat.h>

int runRecover(const RecoverRequest& request) {
    const std::string where = request.journal.string();
    struct stat st {};
    if (::stat(request.journal.c_str(), &st) != 0) {
        printError(
            Cli::tr("nothing to recover: %1: %2")
                .arg(QString::fromStdString(where), QString::fromLocal8Bit(std::strerror(errno)))
                .toStdString());
        return kExitFailure;
    }
    RecordingJournal journal;
    if (const auto opened = journal.open(request.journal); !opened && opened.error().inUse) {
        if (request.quiet)
            return kRecoverNothing; // another run's recording, going on
        printError(Cli::tr("the recording journal %1 is in use by another process that is "
                           "recording; recover it once that recording has ended")
                       .arg(QString::fromStdString(where))
                       .toStdString());
        return kExitFailure;
    } else if (!opened) {
        printError(opened.error().message);
        return kExitFailure;
    }
    if (!journal.setAsideAtOpen().empty()) {
        printError(Cli::tr("nothing to recover: %1 is not a recording journal this program can "
                           "read; it was kept as %2")
                       .arg(QString::fromStdString(where),
                            QString::fromStdString(journal.setAsideAtOpen().string()))
                       .toStdString());
        return kExitFailure;
    }
    const JournalReading& found = journal.found();
    const JournalRecording& r = found.recording;
    if (request.quiet && r.unsavedCount() == 0)
        return kRecoverNothing;
    if (r.empty()) {
        printError(Cli::tr("nothing to recover: the recording journal %1 holds no samples")
                       .arg(QString::fromStdString(where))
                       .toStdString());
        return kExitFailure;
    }

    const std::string asked = QFile::encodeName(request.dataFile).toStdString();
    FileChain chain(asked, ".");
    const PairNames names = chain.next(static_cast<std::int64_t>(std::time(nullptr)));
    if (!asked.empty())
        tellDataName(asked, freeDataName(names));
    const std::optional<WrittenPair> written =
        writeRecordingFiles(names, {std::span(r.values), std::span(r.units), std::span(r.times),
                                    std::span(r.timeTexts)});
    if (!written)
        return kExitFailure; // the journal stays as it was

    std::printf("Recovered %d sample%s (%s to %s) into %s.\n", r.count(), r.count() == 1 ? "" : "s",
                printableText(r.timeTexts.front()).c_str(),
                printableText(r.timeTexts.back()).c_str(), writtenFiles(*written).c_str());
    if (r.savedCount > 0)
        std::printf("The first %d of them had been saved before.\n", r.savedCount);
    if (found.damaged())
        std::printf("%s\n", journalDamageText(found).c_str());
    std::fflush(stdout);
    const std::filesystem::path aside = journal.setAside();
    if (aside.empty()) {
        // A journal on a read-only disk is recovered all the same; it stays.
        std::printf("The journal was left where it is (%s); recovering it again writes the same "
                    "samples.\n",
                    journal.takeError().value_or("it could not be set aside").c_str());
        return kExitOk;
    }
    std::printf("The journal was set aside as %s.\n", aside.c_str());
    return kExitOk;
}

int runRecoverAll(const RecoverRequest& request) {
    const std::vector<std::filesystem::path> journals = numberedJournals(request.journal);
    if (journals.size() <= 1)
        return runRecover(request);
    int recovered = 0;
    bool failed = false;
    for (const std::filesystem::path& journal : journals) {
        // Each data file after the first passes over the ones before.
        const int status = runRecover({journal, request.dataFile, true});
        if (status == kExitOk)
            ++recovered;
        else if (status != kRecoverNothing)
            failed = true;
    }
    if (recovered == 0 && !failed) {
        printError(Cli::tr("nothing to recover: no recording journal beside %1 keeps an unsaved "
                           "recording")
                       .arg(QString::fromStdString(request.journal.string()))
                       .toStdString());
        return kExitFailure;
    }
    return failed ? kExitFailure : kExitOk;
}
