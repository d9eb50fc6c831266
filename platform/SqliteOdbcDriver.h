#pragma once
// The ODBC driver that opens the updater's own SQLite files (the install journal): its library
// path or registered name on this system, as the connection string's Driver value. One adapter
// per system (platform/linux, platform/win32).
#include <filesystem>
#include <string>

std::string SqliteOdbcDriver();
// A file's name as the ODBC driver will open it (UTF-8; under wine, the host's name of the file).
std::string OdbcDriverFilePath(const std::filesystem::path& file);
