#pragma once
// Shared helpers for tests that drive the device link on the emulator: a window that queues
// device changes for the test thread to hand to OnDeviceChange, and waiting for a condition
// that another thread brings about.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "link/DeviceLink.h"
#include "link/HidReport.h"

class QueuedLinkWindow final : public LinkWindow {
  public:
    void PostDeviceChange(const DeviceChange& change) override;
    void StartReplyTimer() override;

    // Hands every queued change to link.OnDeviceChange on the calling thread; returns how many.
    std::size_t Drain(DeviceLink& link);
    std::size_t Pending() const;
    int TimerStarts() const;

  private:
    mutable std::mutex mutex_;
    std::deque<DeviceChange> changes_;
    int timerStarts_ = 0;
};

// A notification with its event code only, as from a system that does not say which device.
inline DeviceChange Unnamed(std::uint32_t eventCode) {
    return {eventCode, DeviceKind::Unknown, {}};
}

// Polls `condition` until it holds or `timeout` runs out; true when it held.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));

// A report with the given code in byte 1 and optional payload bytes from byte 2 on.
HidReport MakeReport(std::uint8_t code, std::initializer_list<std::uint8_t> payload = {});
