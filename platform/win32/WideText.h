#pragma once
// Text across the Windows API: the program's UTF-16 and UTF-8 texts as the system's wide strings.
#include <string>
#include <string_view>

#include "platform/Text.h"

inline std::wstring WideFromUtf16(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string Utf16FromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

inline std::wstring WideFromUtf8(std::string_view text) {
    return WideFromUtf16(FromUtf8(text));
}

inline std::string Utf8FromWide(std::wstring_view text) {
    return ToUtf8(Utf16FromWide(text));
}
