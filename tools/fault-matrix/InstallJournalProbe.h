#pragma once
// What the local install journal holds for an interface's last install, as one short text
// ("recorded", "pending", ...), or "-" when it holds nothing.
#include <string>

std::string JournalStateOf(const std::string& mcuSerial);
// False while the program keeps no journal (then no row can be missing).
bool JournalAvailable();
