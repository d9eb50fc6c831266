#pragma once
// Device notifications on Linux: a libudev monitor for hidraw nodes (the HID interfaces) and
// block devices, and the mount table for volumes coming and going. Delivered on the adapter's own
// thread: hidraw add as DBT_DEVICEARRIVAL, hidraw or block remove as DBT_DEVICEREMOVECOMPLETE,
// and a change of the mount table (a volume was mounted) as DBT_DEVICEARRIVAL.
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DeviceNotifications.h"

class UdevNotifications final : public DeviceNotificationPort {
  public:
    explicit UdevNotifications(std::string mountinfoPath = "/proc/self/mountinfo");
    ~UdevNotifications() override;
    UdevNotifications(const UdevNotifications&) = delete;
    UdevNotifications& operator=(const UdevNotifications&) = delete;

    // The first subscription starts the monitor thread.
    void Subscribe(DeviceChangeSink sink) override;
    // False when neither the udev monitor nor the mount table could be watched.
    bool Watching() const;

  private:
    void Run();
    void Deliver(std::uint32_t eventCode);

    std::string mountinfoPath_;
    int stopFd_ = -1;
    mutable std::mutex mutex_;
    std::vector<DeviceChangeSink> sinks_;
    bool watching_ = false;
    std::thread thread_;
};
