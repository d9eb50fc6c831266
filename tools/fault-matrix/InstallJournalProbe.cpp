#include "tools/fault-matrix/InstallJournalProbe.h"

#include "catalogue/InstallJournal.h"

JournalFacts JournalStateOf(const std::filesystem::path& journalFile) {
    JournalFacts facts;
    std::string why;
    const auto entries = InstallJournal::Read(journalFile, why);
    if (!entries) {
        facts.text = "unreadable: " + why;
        return facts;
    }
    if (entries->empty())
        return facts;
    const JournalEntry& last = entries->front();  // newest first
    facts.holdsInstall = true;
    facts.recordPending = last.recordState == RecordState::Pending;
    facts.text = std::string(RecordStateName(last.recordState)) + ", " +
                 (!last.finished   ? "open"
                  : last.succeeded ? "success"
                                   : "aborted");
    return facts;
}
