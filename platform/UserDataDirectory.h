#pragma once
// Where the updater keeps what it writes for the user: the diagnostics log and the install
// journal. One adapter per system (platform/linux, platform/win32).
#include <ctime>
#include <filesystem>

// $XDG_DATA_HOME/telvix-updater (or ~/.local/share/telvix-updater) on Linux; the user's
// application data folder on Windows. TELVIX_UPDATER_DATA_DIR overrides both (tests, portable
// installs). Empty when no folder can be named. The folder is not created here.
std::filesystem::path UserDataDirectory();

// The calendar fields of a time in the local time zone, thread-safe.
std::tm LocalTime(std::time_t seconds);
