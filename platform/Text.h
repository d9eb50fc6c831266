#pragma once
// Text conversions between the program's UTF-16 texts, UTF-8 (files, terminals, libraries) and
// the interface's 8-bit texts (one byte per character, U+0000..U+00FF).
#include <string>
#include <string_view>

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
// Each UTF-16 unit keeps only its low byte, as the interface's strings are narrowed.
std::string NarrowLowBytes(std::u16string_view text);
// Each byte becomes the character of the same number (Latin-1).
std::u16string WidenLatin1(std::string_view text);
