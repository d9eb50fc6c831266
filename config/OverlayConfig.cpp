#include "config/OverlayConfig.h"

void OverlayConfig::setOverlayParams(const std::array<std::uint8_t, 3>& params) {
    bytes_[0] = params[0];
    bytes_[1] = params[1];
    bytes_[2] = params[2];
}

OverlayConfig::Pair OverlayConfig::EnableAt(CameraPosition position) {
    return {kOverlayEnables, static_cast<unsigned>(Index(position) * 2)};
}

OverlayConfig::Pair OverlayConfig::CaptionAt(CameraPosition position) {
    switch (position) {
        case CameraPosition::Rear:
            return {5, 4};
        case CameraPosition::Front:
            return {5, 6};
        case CameraPosition::Left:
            return {6, 0};
        case CameraPosition::Right:
            return {6, 2};
    }
    return {5, 4};
}

void OverlayConfig::Write(Pair pair, std::uint8_t value) {
    const auto mask = static_cast<std::uint8_t>(0x3 << pair.shift);
    bytes_[pair.byte] =
        static_cast<std::uint8_t>((bytes_[pair.byte] & ~mask) | ((value << pair.shift) & mask));
}

std::uint8_t OverlayConfig::enablePair(CameraPosition position) const {
    return Read(EnableAt(position));
}
std::uint8_t OverlayConfig::captionPair(CameraPosition position) const {
    return Read(CaptionAt(position));
}

void OverlayConfig::setOverlayEnabled(CameraPosition position, bool on) {
    Write(EnableAt(position), on ? 0x1 : 0x0);
}

void OverlayConfig::setCameraCaption(CameraPosition position, bool on) {
    Write(CaptionAt(position), on ? 0x3 : 0x0);
}
