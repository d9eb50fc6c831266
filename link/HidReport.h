#pragma once
// The 65-byte report exchanged with the interface: report id 0 in byte 0, command or reply code in
// byte 1, payload in bytes 2..64, multi-byte numbers little-endian.
#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::size_t kHidReportSize = 65;
using HidReport = std::array<std::uint8_t, kHidReportSize>;

inline std::uint16_t ReadLe16(const HidReport& report, std::size_t offset) {
    return static_cast<std::uint16_t>(report[offset] | (report[offset + 1] << 8));
}
inline std::uint32_t ReadLe32(const HidReport& report, std::size_t offset) {
    return static_cast<std::uint32_t>(report[offset]) | (static_cast<std::uint32_t>(report[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(report[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(report[offset + 3]) << 24);
}
inline void WriteLe16(HidReport& report, std::size_t offset, std::uint16_t value) {
    report[offset] = static_cast<std::uint8_t>(value & 0xFF);
    report[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}
