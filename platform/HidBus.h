#pragma once
// The HID bus as the device link sees it: the present HID collections, their strings, and the two
// handles of a report channel (one for reads that a stop event can interrupt, one for blocking
// writes). The real adapter is HidapiBus; tests and the demo use the interface emulator.
//
// Threading: the bus itself is called from the window thread. A read handle is used by one reader
// thread; a write handle by one writer at a time (the writer thread, or the flashing engine while
// the writer is stopped). Any thread may destroy a handle once nobody uses it.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ManualResetEvent.h"

// Report id in byte 0, then 64 bytes; the same type as the link's HidReport.
using HidReportBytes = std::array<std::uint8_t, 65>;

struct HidCollectionInfo {
    std::string path;  // opaque device path, valid until the device leaves
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::u16string product;
    std::u16string serial;
};

enum class HidReadResult {
    Report,   // a whole report is in the buffer
    Stopped,  // the stop event was signalled while waiting; the buffer is untouched
    Failed,   // the device left or the read failed; the buffer is untouched
};

class HidReadHandle {
  public:
    virtual ~HidReadHandle() = default;
    // Waits for the next input report. On a report, copies it into `report`, signals `completion`
    // and returns Report. Returns Stopped as soon as `stop` is signalled while waiting (stop wins
    // when both are ready), Failed when the device is gone.
    virtual HidReadResult Read(HidReportBytes& report, ManualResetEvent& completion,
                               const ManualResetEvent& stop) = 0;
};

class HidWriteHandle {
  public:
    virtual ~HidWriteHandle() = default;
    // Writes one 65-byte report and returns once it has left; false when the device refused it.
    virtual bool Write(const HidReportBytes& report) = 0;
};

class HidBus {
  public:
    virtual ~HidBus() = default;
    // The present HID collections whose capabilities could be read, in the bus's order.
    virtual std::vector<HidCollectionInfo> ListCollections() = 0;
    // The device's strings, read afresh from the device; nothing when it cannot be opened.
    virtual std::optional<std::u16string> ReadProductString(const std::string& path) = 0;
    virtual std::optional<std::u16string> ReadSerialString(const std::string& path) = 0;
    // Channel handles; nullptr when the path cannot be opened.
    virtual std::unique_ptr<HidReadHandle> OpenRead(const std::string& path) = 0;
    virtual std::unique_ptr<HidWriteHandle> OpenWrite(const std::string& path) = 0;
    // True when the path exists but this user lacks the permission to open it (no udev rule).
    virtual bool OpenDenied(const std::string& path) {
        (void)path;
        return false;
    }
};
