#pragma once
// Configuration fields of the shared context: the record read from the interface, its working
// copies, the overlay block and the interface's identity.
#include <array>
#include <cstdint>
#include <string>

struct ConfigFields {
    std::array<std::uint8_t, 16> mcuId{};
    std::uint16_t softwareId = 0;
    std::uint8_t softwareBuild = 0;
    std::u16string mcu_serial;
};
