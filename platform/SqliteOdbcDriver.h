#pragma once
// The ODBC driver that opens the updater's own SQLite files (the install journal): its library
// path or registered name on this system, as the connection string's Driver value. One adapter
// per system (platform/linux, platform/win32).
#include <string>

std::string SqliteOdbcDriver();
