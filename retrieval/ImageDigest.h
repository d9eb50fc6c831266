#pragma once
// The image check of the HID install route: an image is taken at exactly the catalogue's length
// and its MD5 digest text must equal the catalogue's digest text. Pure functions, any thread.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// MD5 of all bytes of data as 32 lower-case hexadecimal digits, in digest byte order.
std::string ImageDigest(std::span<const std::uint8_t> data);

// True when ImageDigest(data) equals expected code unit by code unit: case-sensitive, nothing
// trimmed, lengths compared too.
bool VerifyImage(std::span<const std::uint8_t> data, std::u16string_view expected);
