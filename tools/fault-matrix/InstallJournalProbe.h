#pragma once
// What the local install journal holds for the last install of a run.
#include <filesystem>
#include <string>

struct JournalFacts {
    std::string text = "-";  // "pending, aborted", "recorded, success", ...; "-" when it holds none
    bool holdsInstall = false;
    bool recordPending = false;
};

JournalFacts JournalStateOf(const std::filesystem::path& journalFile);
