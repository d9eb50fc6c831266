#pragma once
// File names are kept as UTF-8 text inside the program. These convert them to and from the
// system's own path type without going through a narrow code page (which on Windows would lose
// every character outside it).
#include <filesystem>
#include <string>
#include <string_view>

inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
