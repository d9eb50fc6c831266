#pragma once
// The image check of the HID install route: an image is taken at exactly the catalogue's length
// and its MD5 digest text must equal the catalogue's digest text. Pure functions, any thread.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

using Md5Bytes = std::array<std::uint8_t, 16>;
// The MD5 digest of data through the system's own cryptography (one definition per system);
// nothing when the system offers no MD5.
std::optional<Md5Bytes> Md5(std::span<const std::uint8_t> data);

// MD5 of all bytes of data as 32 lower-case hexadecimal digits, in digest byte order.
std::string ImageDigest(std::span<const std::uint8_t> data);

// True when ImageDigest(data) equals expected code unit by code unit: case-sensitive, nothing
// trimmed, lengths compared too.
bool VerifyImage(std::span<const std::uint8_t> data, std::u16string_view expected);
