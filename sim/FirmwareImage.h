#pragma once
// The header an emulated interface reads from a software image to learn which software it runs
// after the image was written (through the bootloader or as firmware.bin on the update volume).
// Fixture generators that make images for the emulator lay this header at the image's start:
//
//   offset  width  content
//   0       4      magic "TVXF"
//   4       2      softwareId, unsigned 16-bit little-endian
//   6       1      softwareBuild
//   7       1      header version, 1
//   8       4      total image length in bytes, header included, unsigned 32-bit little-endian
//   12      8      model code, 7 ASCII characters and a zero byte (e.g. "QD7720R\0")
//   20      ...    image body
//
// An image without the magic still flashes; the interface then reports software id 0, build 0.
// On the update volume, firmware.bin counts as complete once its size reaches the header's length.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kImageHeaderSize = 20;
constexpr std::uint8_t kImageHeaderVersion = 1;

struct ImageHeader {
    std::uint16_t softwareId = 0;
    std::uint8_t softwareBuild = 0;
    std::uint32_t imageLength = 0;
    std::string modelCode;
};

// The header of an image, or nothing when the image does not start with one.
std::optional<ImageHeader> ParseImageHeader(std::span<const std::uint8_t> image);

// An image of imageLength bytes (at least kImageHeaderSize) with the header and a body of bytes
// that follow a simple pattern seeded by softwareId, so two builds never flash the same bytes.
std::vector<std::uint8_t> MakeFirmwareImage(std::string_view modelCode, std::uint16_t softwareId,
                                            std::uint8_t softwareBuild, std::uint32_t imageLength);
