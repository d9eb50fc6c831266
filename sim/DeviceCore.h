#pragma once
// State of one emulated device shared between its thread, the bus and the host's open handles.
// Handles keep the core alive, so a handle outliving the bus fails cleanly instead of dangling.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "platform/ManualResetEvent.h"
#include "sim/Firmware.h"

// Input reports waiting for one open read handle, like the per-handle buffer of a HID driver.
struct ReadQueue {
    static constexpr std::size_t kCapacity = 256;
    std::mutex mutex;
    std::deque<HidReport> reports;
    bool dead = false;
    ManualResetEvent ready;  // set while a report is waiting or the handle is dead

    void Push(const HidReport& report);
    void Kill();
};

// What the device thread hands to the firmware: a report, its start, or a wake-up it asked for.
enum class DeviceEvent { Report, Start, Wake };

struct InboxItem {
    HidReport report{};
    std::uint64_t generation = 0;
    DeviceEvent event = DeviceEvent::Report;
    std::chrono::steady_clock::time_point written{};  // when the host wrote the report
};

struct PendingWake {
    std::chrono::steady_clock::time_point when;
    std::uint64_t generation = 0;
};

struct DeviceCore {
    std::mutex mutex;
    std::condition_variable changed;
    DeviceMode mode = DeviceMode::Unplugged;
    std::uint64_t generation = 0;  // bumped on every arrival and removal; stale handles fail
    bool shutdown = false;
    bool busy = false;
    std::deque<InboxItem> inbox;
    std::vector<std::weak_ptr<ReadQueue>> readers;
    std::vector<HidReport> received;
    std::vector<HidReport> sent;
    std::shared_ptr<Firmware> applicationFirmware;
    std::shared_ptr<Firmware> bootloaderFirmware;
    LatencyHook latencyHook;
    bool refuseOpen = false;
    bool refuseStrings = false;
    const Clock* clock = nullptr;  // the device's own clock
    std::optional<PendingWake> wake;
    int refusedReports = 0;

    bool PresentsHid() const { return mode == DeviceMode::Application || mode == DeviceMode::Bootloader; }
    // Delivers an input report to every live read handle of the given presence. Caller holds mutex.
    void DeliverLocked(const HidReport& report, std::uint64_t ofGeneration);
    void KillReadersLocked();
};
