#include "config/DeviceConfig.h"

#include <algorithm>
#include <bit>

namespace {
unsigned ShiftOf(std::uint8_t mask) {
    return static_cast<unsigned>(std::countr_zero(mask));
}
}  // namespace

void DeviceConfig::Assign(std::size_t byte, std::uint8_t mask, bool on) {
    bytes_[byte] = static_cast<std::uint8_t>(on ? (bytes_[byte] | mask) : (bytes_[byte] & ~mask));
}

std::uint8_t DeviceConfig::Field(std::size_t byte, std::uint8_t mask) const {
    return static_cast<std::uint8_t>((bytes_[byte] & mask) >> ShiftOf(mask));
}

void DeviceConfig::SetField(std::size_t byte, std::uint8_t mask, std::uint8_t value) {
    const auto shifted = static_cast<std::uint8_t>((value << ShiftOf(mask)) & mask);
    bytes_[byte] = static_cast<std::uint8_t>((bytes_[byte] & ~mask) | shifted);
}

std::uint8_t DeviceConfig::inputSource(int input) const {
    if (input < 1 || input > 4) {
        return 0;
    }
    const auto shift = static_cast<unsigned>((input - 1) * 2);
    return static_cast<std::uint8_t>((bytes_[kInputSources] >> shift) & 0x3);
}

void DeviceConfig::setInputSource(int input, std::uint8_t code) {
    if (input < 1 || input > 4) {
        return;
    }
    const auto shift = static_cast<unsigned>((input - 1) * 2);
    SetField(kInputSources, static_cast<std::uint8_t>(0x3 << shift), code);
}

CapabilityBit DeviceConfig::CapabilityOf(CameraPosition position) {
    static constexpr std::array<CapabilityBit, 4> bits{CAP_REAR_INPUT, CAP_FRONT_INPUT, CAP_LEFT_INPUT,
                                                       CAP_RIGHT_INPUT};
    return bits[Index(position)];
}

CameraFlagBit DeviceConfig::AftermarketOf(CameraPosition position) {
    static constexpr std::array<CameraFlagBit, 4> bits{CAM_AFTERMARKET_REAR, CAM_AFTERMARKET_FRONT,
                                                       CAM_AFTERMARKET_LEFT, CAM_AFTERMARKET_RIGHT};
    return bits[Index(position)];
}

InputEnableBit DeviceConfig::InputOf(CameraPosition position) {
    static constexpr std::array<InputEnableBit, 4> bits{IN_REAR, IN_FRONT, IN_LEFT, IN_RIGHT};
    return bits[Index(position)];
}

bool DeviceConfig::factoryCamera(CameraPosition position) const {
    switch (position) {
        case CameraPosition::Rear:
            return has(CAM_FACTORY_REAR);
        case CameraPosition::Front:
            return has(CAM_FACTORY_FRONT);
        case CameraPosition::Left:
            return has(CAM_FACTORY_LEFT);
        case CameraPosition::Right:
            return has(CAM_FACTORY_RIGHT);
    }
    return false;
}

void DeviceConfig::setFactoryCamera(CameraPosition position, bool on) {
    switch (position) {
        case CameraPosition::Rear:
            set(CAM_FACTORY_REAR, on);
            break;
        case CameraPosition::Front:
            set(CAM_FACTORY_FRONT, on);
            break;
        case CameraPosition::Left:
            set(CAM_FACTORY_LEFT, on);
            break;
        case CameraPosition::Right:
            set(CAM_FACTORY_RIGHT, on);
            break;
    }
}

std::string DeviceConfig::Text(std::size_t offset) const {
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
    const auto end = std::find(begin, begin + kVehicleTextField, std::uint8_t{0});
    return std::string(begin, end);
}

void DeviceConfig::SetText(std::size_t offset, std::size_t lengthByte, std::string_view latin1) {
    latin1 = latin1.substr(0, std::min(latin1.find('\0'), kVehicleTextMax));
    const auto field = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
    std::fill(field, field + kVehicleTextField, std::uint8_t{0});
    std::copy(latin1.begin(), latin1.end(), field);
    bytes_[lengthByte] = static_cast<std::uint8_t>(latin1.size());
}

std::uint16_t DeviceConfig::totalUpdates() const {
    return static_cast<std::uint16_t>(bytes_[kTotalUpdates] | (bytes_[kTotalUpdates + 1] << 8));
}

void DeviceConfig::setTotalUpdates(std::uint16_t count) {
    bytes_[kTotalUpdates] = static_cast<std::uint8_t>(count & 0xFF);
    bytes_[kTotalUpdates + 1] = static_cast<std::uint8_t>(count >> 8);
}
