#include "sim/FirmwareImage.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr char kMagic[4] = {'T', 'V', 'X', 'F'};
}

std::optional<ImageHeader> ParseImageHeader(std::span<const std::uint8_t> image) {
    if (image.size() < kImageHeaderSize || std::memcmp(image.data(), kMagic, sizeof kMagic) != 0) {
        return std::nullopt;
    }
    ImageHeader header;
    header.softwareId = static_cast<std::uint16_t>(image[4] | (image[5] << 8));
    header.softwareBuild = image[6];
    header.imageLength = static_cast<std::uint32_t>(image[8]) | (static_cast<std::uint32_t>(image[9]) << 8) |
                         (static_cast<std::uint32_t>(image[10]) << 16) |
                         (static_cast<std::uint32_t>(image[11]) << 24);
    for (std::size_t i = 12; i < 19 && image[i] != 0; ++i) {
        header.modelCode.push_back(static_cast<char>(image[i]));
    }
    return header;
}

std::vector<std::uint8_t> MakeFirmwareImage(std::string_view modelCode, std::uint16_t softwareId,
                                            std::uint8_t softwareBuild, std::uint32_t imageLength) {
    std::vector<std::uint8_t> image(std::max<std::size_t>(imageLength, kImageHeaderSize));
    std::memcpy(image.data(), kMagic, sizeof kMagic);
    image[4] = static_cast<std::uint8_t>(softwareId);
    image[5] = static_cast<std::uint8_t>(softwareId >> 8);
    image[6] = softwareBuild;
    image[7] = kImageHeaderVersion;
    const auto length = static_cast<std::uint32_t>(image.size());
    for (int i = 0; i < 4; ++i) {
        image[8 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    for (std::size_t i = 0; i < 7 && i < modelCode.size(); ++i) {
        image[12 + i] = static_cast<std::uint8_t>(modelCode[i]);
    }
    std::uint32_t state = 0x9E3779B9u ^ (std::uint32_t{softwareId} << 8) ^ softwareBuild;
    for (std::size_t i = kImageHeaderSize; i < image.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        image[i] = static_cast<std::uint8_t>(state >> 24);
    }
    return image;
}
