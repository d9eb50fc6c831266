#pragma once
// The software that runs inside an emulated Telvix interface. The emulated device owns one thread;
// on it, it hands every output report the host writes to the firmware of its current mode
// (application or bootloader) and gives the firmware a FirmwareHost through which it answers.
//
// Threading: OnStart, OnOutputReport and OnWake are called only on the device's own thread, one
// call at a time, so a firmware needs no lock for its own state. FirmwareHost members may be called
// only from inside those calls (or, for Identity and Mode, from any thread).
//
// Time: the device has its own clock (the system clock unless a test gives it another, see
// EmulatedInterface::SetClock). A firmware that does something by itself after a while asks for
// a wake-up at a time of that clock; the device then calls OnWake once that time has come.
//
// A firmware object stays installed across restarts of the device: state it keeps (flash contents,
// configuration record) survives a reboot, as it does on the real interface.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "link/HidReport.h"

// How the emulated device presents itself on the bus.
enum class DeviceMode {
    Unplugged,     // not on the bus at all
    Application,   // HID collection 0xFF00/1, runs the application firmware
    Bootloader,    // HID collection 0xFF00/1, runs the bootloader
    UpdateVolume,  // no HID collection; a removable FAT volume labelled with the model code
};

const char* DeviceModeName(DeviceMode mode);

// Who the device is. The serial string begins with the 7-character model code.
struct DeviceIdentity {
    std::string modelCode;   // e.g. "QD7720R"
    std::u16string product;  // HID product string, e.g. "CAR INTERFACE"
    std::u16string serial;   // HID serial string, e.g. "QD7720R0001234"
};

class FirmwareHost {
  public:
    virtual ~FirmwareHost() = default;
    // Queues an input report to every read handle the host has open on the device.
    virtual void SendInput(const HidReport& report) = 0;
    // Asks the device to restart into `mode` once the current call returns: it leaves the bus
    // (a removal notification), then comes back in the new mode (an arrival notification).
    virtual void RequestRestart(DeviceMode mode) = 0;
    virtual const DeviceIdentity& Identity() const = 0;
    virtual DeviceMode Mode() const = 0;
    // The device's clock.
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    // Calls OnWake once Now() has reached `when`; replaces an earlier request. A restart or an
    // unplug drops the request.
    virtual void WakeAt(std::chrono::steady_clock::time_point when) = 0;
    // Counts a report the firmware refused as malformed (see EmulatedInterface::RefusedReports).
    virtual void RefuseReport() = 0;
};

class Firmware {
  public:
    virtual ~Firmware() = default;
    // The device has (re)started in this firmware's mode.
    virtual void OnStart(FirmwareHost& host) { (void)host; }
    // One output report written by the host, in the order written.
    virtual void OnOutputReport(const HidReport& report, FirmwareHost& host) = 0;
    // The time asked for with FirmwareHost::WakeAt has come.
    virtual void OnWake(FirmwareHost& host) { (void)host; }
};

// Called on the device's thread before each output report is handed to the firmware, with the time
// the host wrote it. It may block to stand for the link's and the interface's time (the timing
// models of sim/LinkTiming.h, or a test's gate that holds a report back). Installed per device
// with EmulatedInterface::SetLatencyHook.
using LatencyHook = std::function<void(const HidReport& report, DeviceMode mode,
                                       std::chrono::steady_clock::time_point written)>;

// The minimal firmware of both modes: answers the probe 0x01 with 0x10, status 0x00 in the
// bootloader and 0x21 in the application, and ignores every other report.
class ProbeFirmware final : public Firmware {
  public:
    void OnOutputReport(const HidReport& report, FirmwareHost& host) override;
};
