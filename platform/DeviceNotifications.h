#pragma once
// Arrival and removal of HID interfaces (and of the interface's update volume), as event codes.
// The real adapter is UdevNotifications; the emulator raises them on plug, unplug and restart.
#include <cstdint>
#include <functional>

constexpr std::uint32_t DBT_DEVICEARRIVAL = 0x8000;
constexpr std::uint32_t DBT_DEVICEREMOVECOMPLETE = 0x8004;

using DeviceChangeSink = std::function<void(std::uint32_t eventCode)>;

class DeviceNotificationPort {
  public:
    virtual ~DeviceNotificationPort() = default;
    // Adds a sink. Sinks are called on the port's own thread (or the emulator's), never on the
    // window thread: a front end queues the code and runs OnDeviceChange on its window thread.
    // A sink stays registered for the life of the port and must outlive it.
    virtual void Subscribe(DeviceChangeSink sink) = 0;
};
