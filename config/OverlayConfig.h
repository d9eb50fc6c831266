#pragma once
// The interface's 8-byte text-overlay block as a value with named accessors. Per camera position
// an enable pair (any non-zero pair reads as on; the updater writes 01 or 00) and a caption pair
// (11 shows the camera's name, anything else the input's name; the updater writes 11 or 00).
// Bits outside the pairs and bytes 3 and 7 are kept as read.
#include <array>
#include <cstddef>
#include <cstdint>

#include "config/CameraPosition.h"

constexpr std::size_t kOverlayConfigSize = 8;
// Written into bytes 0..2 by every accepted overlay edit.
constexpr std::array<std::uint8_t, 3> kOverlayParams{0x10, 0x07, 0x70};

class OverlayConfig {
  public:
    using Bytes = std::array<std::uint8_t, kOverlayConfigSize>;

    OverlayConfig() = default;
    explicit OverlayConfig(const Bytes& bytes) : bytes_(bytes) {}

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

    std::array<std::uint8_t, 3> overlayParams() const { return {bytes_[0], bytes_[1], bytes_[2]}; }
    void setOverlayParams(const std::array<std::uint8_t, 3>& params);
    std::uint8_t overlayEnables() const { return bytes_[kOverlayEnables]; }
    void setOverlayEnables(std::uint8_t value) { bytes_[kOverlayEnables] = value; }

    std::uint8_t enablePair(CameraPosition position) const;
    std::uint8_t captionPair(CameraPosition position) const;
    bool overlayEnabled(CameraPosition position) const { return enablePair(position) != 0; }
    bool cameraCaption(CameraPosition position) const { return captionPair(position) == 0x3; }
    void setOverlayEnabled(CameraPosition position, bool on);  // pair := 01 or 00
    void setCameraCaption(CameraPosition position, bool on);   // pair := 11 or 00

    bool operator==(const OverlayConfig&) const = default;

    static constexpr std::size_t kOverlayEnables = 4;

  private:
    struct Pair {
        std::size_t byte;
        unsigned shift;
    };
    static Pair EnableAt(CameraPosition position);
    static Pair CaptionAt(CameraPosition position);
    std::uint8_t Read(Pair pair) const { return (bytes_[pair.byte] >> pair.shift) & 0x3; }
    void Write(Pair pair, std::uint8_t value);

    Bytes bytes_{};
};
