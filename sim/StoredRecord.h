#pragma once
// The configuration record and the overlay block as the interface keeps them in its flash: plain
// bytes, read and written by offset. The interface gives most bytes no meaning of its own; it
// stores what the host writes and hands it back on a read. What it does know:
//
//   record byte  width  content
//   0..7         8      capability, camera, input, mode, video and source bytes (host's to edit;
//                       byte 0 says what the interface offers)
//   8..21        14     vehicle make, single-byte characters, a zero byte after a shorter text
//   22..35       14     vehicle model, the same form
//   36           1      number of characters of the make
//   37           1      number of characters of the model
//   38..39       2      reserved
//   40..41       2      software updates counted so far, unsigned 16-bit little-endian
//   42..45       4      reserved
//
// The overlay block is 8 bytes the interface stores and returns unchanged.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace stored_record {
inline constexpr std::size_t kSize = 46;
inline constexpr std::size_t kCapabilities = 0;
inline constexpr std::size_t kVehicleMake = 8;
inline constexpr std::size_t kVehicleModel = 22;
inline constexpr std::size_t kVehicleField = 14;
inline constexpr std::size_t kVehicleMakeLength = 36;
inline constexpr std::size_t kVehicleModelLength = 37;
inline constexpr std::size_t kTotalUpdates = 40;
// Byte 0: the interface offers feature programming.
inline constexpr std::uint8_t kOffersFeatures = 0x02;
}  // namespace stored_record

inline constexpr std::size_t kOverlayBlockSize = 8;
using OverlayBlock = std::array<std::uint8_t, kOverlayBlockSize>;

class StoredRecord {
  public:
    using Bytes = std::array<std::uint8_t, stored_record::kSize>;

    StoredRecord() = default;
    explicit StoredRecord(const Bytes& bytes) : bytes_(bytes) {}

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

    // The vehicle texts up to their zero byte, never beyond their 14-byte field.
    std::string vehicleMake() const { return Text(stored_record::kVehicleMake); }
    std::string vehicleModel() const { return Text(stored_record::kVehicleModel); }
    // Stores at most 13 characters, a zero byte after them and zeros to the end of the field, and
    // sets the length byte.
    void setVehicle(std::string_view make, std::string_view model);

    std::uint16_t totalUpdates() const;
    void setTotalUpdates(std::uint16_t count);

    bool offersFeatures() const {
        return (bytes_[stored_record::kCapabilities] & stored_record::kOffersFeatures) != 0;
    }
    void setOffersFeatures(bool on);

    bool operator==(const StoredRecord&) const = default;

  private:
    std::string Text(std::size_t offset) const;
    void SetText(std::size_t offset, std::size_t lengthByte, std::string_view text);

    Bytes bytes_{};
};
