#pragma once
// The system the program runs on, for the diagnostics log: its name, version and machine
// ("Linux 6.1.0-18-amd64 x86_64", "Windows 10.0.19045", with wine's version under wine). One
// definition per system (platform/linux, platform/win32).
#include <string>

std::string SystemDescription();
