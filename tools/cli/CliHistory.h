#pragma once
// telvix-cli history: the install journal, newest first (time, model, serial, software, vehicle,
// outcome and whether the catalogue took the install's record). Needs no interface.
#include <filesystem>
#include <iosfwd>

// Lists the journal file; EXIT_OK, or EXIT_ERROR with the reason when it cannot be read.
int History(const std::filesystem::path& journalFile, bool json, std::ostream& out, std::ostream& err);
