#pragma once
// What the device link needs from the main window: a way onto the window thread for device-change
// notifications, and the reply timer (id 4145, 300 ms) that runs the reply decoder.
#include "platform/DeviceNotifications.h"

class LinkWindow {
  public:
    virtual ~LinkWindow() = default;
    // Called on the notification port's thread: queue the change so that the window thread later
    // calls DeviceLink::OnDeviceChange(change). Must not call into the link directly.
    virtual void PostDeviceChange(const DeviceChange& change) = 0;
    // Starts, or restarts, the reply timer (REPLY_TIMER_ID, REPLY_TIMER_PERIOD_MS).
    virtual void StartReplyTimer() = 0;
};
