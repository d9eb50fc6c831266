#pragma once
// One emulated device on the EmulatedHidBus: a Telvix interface (or another HID device) with a
// mode, the firmware of each mode, and its own thread that takes the host's output reports in
// order and hands them to the firmware. Created by the bus; lives as long as the bus.
//
// Threading: every public member may be called from any thread.
//
// Strictness: a report whose byte 0 (the report id) is not 0 is refused by the device in every
// mode: it is recorded as received but never reaches the firmware, gets no answer, and is counted
// in RefusedReports(), as are the malformed commands a firmware refuses.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DeviceNotifications.h"
#include "platform/Clock.h"
#include "platform/HidBus.h"
#include "sim/Firmware.h"

class EmulatedHidBus;
struct DeviceCore;
struct InboxItem;

class EmulatedInterface {
  public:
    EmulatedInterface(EmulatedHidBus& bus, int id, DeviceIdentity identity, std::uint16_t usagePage,
                      std::uint16_t usage, bool answers);
    ~EmulatedInterface();
    EmulatedInterface(const EmulatedInterface&) = delete;
    EmulatedInterface& operator=(const EmulatedInterface&) = delete;

    // Bus presence. Each of them raises the notifications a real device would: Unplug a removal,
    // Plug an arrival, Reboot a removal then an arrival. Open handles die with the old presence.
    void Plug(DeviceMode mode);
    void Unplug();
    void Reboot(DeviceMode mode);
    DeviceMode Mode() const;
    const DeviceIdentity& Identity() const { return identity_; }

    // The firmware run in `mode` (Application or Bootloader); replaces ProbeFirmware.
    void InstallFirmware(DeviceMode mode, std::shared_ptr<Firmware> firmware);
    void SetLatencyHook(LatencyHook hook);
    // The device's own clock, which times what its firmware does by itself (the system clock
    // until set). It must outlive the bus. A clock that a test moves by hand is looked at every
    // few milliseconds while a wake-up is pending.
    void SetClock(const Clock& clock);

    // Reports refused as malformed since the device was made (wrong report id, or a command its
    // firmware refused).
    int RefusedReports() const;

    // An input report from the device, as if its firmware had sent it (for tests).
    void SendInput(const HidReport& report);

    // Every output report the host wrote to the device, in order, in any mode.
    std::vector<HidReport> ReceivedReports() const;
    std::size_t ReceivedCount() const;
    // Every input report the device sent while present, in order, in any mode (what a read handle
    // opened at the time would have read).
    std::vector<HidReport> SentReports() const;
    // Waits until at least `count` reports were received in all; false on time-out.
    bool WaitForReceived(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // Waits until the device thread has handed every received report to the firmware.
    bool WaitUntilIdle(std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    // Faults of the bus side: opens of the device fail; string reads fail.
    void SetRefuseOpen(bool refuse);
    void SetRefuseStrings(bool refuse);

    // Root directory of the update volume (exists once the device was in update-volume mode).
    std::filesystem::path VolumeRoot() const;

    // Used by the bus.
    std::string Path() const;
    bool PresentsHid() const;
    std::uint16_t UsagePage() const { return usagePage_; }
    std::uint16_t Usage() const { return usage_; }
    bool RefusesStrings() const;
    std::unique_ptr<HidReadHandle> OpenRead();
    std::unique_ptr<HidWriteHandle> OpenWrite();

  private:
    class Host;
    void Run();
    void Enter(DeviceMode mode, std::unique_lock<std::mutex>& lock);
    void Leave(std::unique_lock<std::mutex>& lock);
    void HandleOne(const InboxItem& item, std::unique_lock<std::mutex>& lock);
    // The notification naming the current presence: its HID path, or its volume's root path.
    DeviceChange PresenceLocked(std::uint32_t eventCode) const;
    std::string PathLocked() const;

    EmulatedHidBus& bus_;
    const int id_;
    const DeviceIdentity identity_;
    const std::uint16_t usagePage_;
    const std::uint16_t usage_;
    const bool answers_;
    std::shared_ptr<DeviceCore> core_;
    std::thread thread_;
};
