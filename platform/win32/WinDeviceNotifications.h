#pragma once
// Device notifications on Windows: a message-only window on its own thread, registered with
// RegisterDeviceNotificationW for the HID interface class. WM_DEVICECHANGE arrivals and removals of
// HID interfaces, and volume arrivals and removals (the update volume comes as a drive), reach the
// sinks as DBT_DEVICEARRIVAL / DBT_DEVICEREMOVECOMPLETE on that thread.
//
// A desktop program's main window can take the window's place: made with
// NotificationSource::CallerWindow the port starts no thread of its own, the main window is
// registered with RegisterHidNotifications and hands every WM_DEVICECHANGE it receives to
// OnDeviceChange (on the window thread; the sinks then run there).
#include <cstdint>
#include <future>
#include <mutex>
#include <thread>

#include "platform/DeviceChangeSinks.h"
#include "platform/DeviceNotifications.h"

enum class NotificationSource { OwnWindow, CallerWindow };

class WinDeviceNotifications final : public DeviceNotificationPort {
  public:
    explicit WinDeviceNotifications(NotificationSource source = NotificationSource::OwnWindow)
        : source_(source) {}
    ~WinDeviceNotifications() override;
    WinDeviceNotifications(const WinDeviceNotifications&) = delete;
    WinDeviceNotifications& operator=(const WinDeviceNotifications&) = delete;

    // The first subscription starts the window thread; it returns once the window exists.
    [[nodiscard]] DeviceSubscription Subscribe(DeviceChangeSink sink) override;
    // True while the window exists and its registration for HID interfaces holds.
    bool Watching() const;

    // Hands one WM_DEVICECHANGE (event code and the DEV_BROADCAST_HDR it carries) to the sinks.
    void OnDeviceChange(std::uintptr_t eventCode, const void* broadcast);

  private:
    void Run(std::promise<void>& ready);

    const NotificationSource source_;
    mutable std::mutex mutex_;
    DeviceChangeSinks sinks_;
    void* window_ = nullptr;  // HWND, owned by the window thread
    bool watching_ = false;
    bool started_ = false;
    std::thread thread_;
};

// Registers window (an HWND) for the notifications of the HID interface class; the handle ends
// the registration with UnregisterHidNotifications. Null when the system refused.
void* RegisterHidNotifications(void* window);
void UnregisterHidNotifications(void* registration);

// Whether a WM_DEVICECHANGE is one the link acts on: a device interface or a volume coming or
// going. Pure, for tests.
bool IsLinkDeviceChange(std::uintptr_t eventCode, std::uint32_t deviceType);
