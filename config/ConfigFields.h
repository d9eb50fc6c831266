#pragma once
// Configuration fields of the shared context: the record read from the interface (the one working
// copy every window edits), the overlay block and the interface's identity. Window thread only;
// the database worker reads identity and vehicle texts while the controller waits for it.
#include <array>
#include <cstdint>
#include <string>

#include "config/DeviceConfig.h"
#include "config/OverlayConfig.h"

struct ConfigFields {
    DeviceConfig deviceConfig;       // all zero until the first successful read
    OverlayConfig overlayConfig;     // as last read from the interface, or as last accepted
    bool deviceConfigValid = false;  // a read-config reply with status 0x16 has been taken
    std::array<std::uint8_t, 16> mcuId{};
    std::uint16_t softwareId = 0;
    std::uint8_t softwareBuild = 0;
    std::u16string mcu_serial;
};
