#include "sim/StoredRecord.h"

#include <algorithm>

using namespace stored_record;

std::string StoredRecord::Text(std::size_t offset) const {
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
    const auto end = std::find(begin, begin + kVehicleField, std::uint8_t{0});
    return std::string(begin, end);
}

void StoredRecord::SetText(std::size_t offset, std::size_t lengthByte, std::string_view text) {
    const std::size_t length = std::min(text.find('\0'), std::min(text.size(), kVehicleField - 1));
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), kVehicleField, std::uint8_t{0});
    std::copy_n(text.begin(), length, bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    bytes_[lengthByte] = static_cast<std::uint8_t>(length);
}

void StoredRecord::setVehicle(std::string_view make, std::string_view model) {
    SetText(kVehicleMake, kVehicleMakeLength, make);
    SetText(kVehicleModel, kVehicleModelLength, model);
}

std::uint16_t StoredRecord::totalUpdates() const {
    return static_cast<std::uint16_t>(bytes_[kTotalUpdates] | (bytes_[kTotalUpdates + 1] << 8));
}

void StoredRecord::setTotalUpdates(std::uint16_t count) {
    bytes_[kTotalUpdates] = static_cast<std::uint8_t>(count & 0xFF);
    bytes_[kTotalUpdates + 1] = static_cast<std::uint8_t>(count >> 8);
}

void StoredRecord::setOffersFeatures(bool on) {
    std::uint8_t& byte = bytes_[kCapabilities];
    byte = static_cast<std::uint8_t>(on ? byte | kOffersFeatures : byte & ~kOffersFeatures);
}
