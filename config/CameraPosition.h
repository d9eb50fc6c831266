#pragma once
// The four camera positions the interface knows, in the order every table of the record uses.
#include <array>
#include <cstddef>
#include <cstdint>

enum class CameraPosition : std::uint8_t { Rear = 0, Front = 1, Left = 2, Right = 3 };

constexpr std::array<CameraPosition, 4> kCameraPositions{CameraPosition::Rear, CameraPosition::Front,
                                                         CameraPosition::Left, CameraPosition::Right};

constexpr std::size_t Index(CameraPosition position) {
    return static_cast<std::size_t>(position);
}
