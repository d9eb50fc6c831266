#pragma once
// Link fields of the shared context: how the interface is present, its model code and the two
// report buffers. The reader thread writes iUsbConnectSts and bootProbeActive while the window
// thread reads them, hence atomics.
#include <atomic>
#include <cstdint>
#include <string>

#include "link/ReportBuffer.h"

enum UsbConnectStatus : std::int32_t {
    USB_NOT_CONNECTED = 0,
    USB_MASS_STORAGE = 1,
    USB_APPLICATION = 2,
    USB_BOOTLOADER = 3,
    USB_CONNECTING = 4,
};

struct LinkFields {
    std::atomic<std::int32_t> iUsbConnectSts{USB_NOT_CONNECTED};
    std::u16string mfg_id;     // hardware model code, at most 15 characters
    std::string volumeRoot;    // root directory of the update volume, ending in '/'
    bool linkOpen = false;
    std::atomic<bool> bootProbeActive{false};
    // A matching collection of the last connect attempt that this user may not open; empty when none.
    std::string deniedInterfacePath;
    ReportBuffer inputReport;
    ReportBuffer outputReport;
};
