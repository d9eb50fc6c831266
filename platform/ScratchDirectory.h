#pragma once
// A new, empty directory of the caller's own below the system's temporary folder, on every system
// (what mkdtemp does on Linux). Empty path when none could be made.
#include <filesystem>
#include <string_view>

std::filesystem::path MakeScratchDirectory(std::string_view prefix);
