#pragma once
// Device notifications on Linux: a libudev monitor for hidraw nodes (the HID interfaces) and
// block devices, and the mount table for volumes coming and going. Delivered on the adapter's own
// thread: hidraw add as DBT_DEVICEARRIVAL, hidraw or block remove as DBT_DEVICEREMOVECOMPLETE,
// and a change of the mount table as DBT_DEVICEARRIVAL, one for each volume newly mounted.
// A hidraw node is named by its device node (/dev/hidrawN, the path hidapi lists), a volume by
// its mount point with a trailing '/' (the root path MountedVolumes lists).
#include <istream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DeviceChangeSinks.h"
#include "platform/DeviceNotifications.h"

class UdevNotifications final : public DeviceNotificationPort {
  public:
    explicit UdevNotifications(std::string mountinfoPath = "/proc/self/mountinfo");
    ~UdevNotifications() override;
    UdevNotifications(const UdevNotifications&) = delete;
    UdevNotifications& operator=(const UdevNotifications&) = delete;

    // The first subscription starts the monitor thread.
    DeviceSubscription Subscribe(DeviceChangeSink sink) override;
    // False when neither the udev monitor nor the mount table could be watched.
    bool Watching() const;

  private:
    void Run();

    std::string mountinfoPath_;
    int stopFd_ = -1;
    mutable std::mutex mutex_;
    DeviceChangeSinks sinks_;
    bool watching_ = false;
    std::thread thread_;
};

// The path of a hidraw node as hidapi lists it: its device node, or /dev/ and its kernel name
// when the event carries no node.
std::string HidrawPath(const char* devnode, const char* sysname);

// The block-device volumes of a mount table in mountinfo format: root path (mount point with a
// trailing '/') to mount source (/dev/sdb1).
using MountedRoots = std::map<std::string, std::string>;
MountedRoots ReadMountedRoots(std::istream& mountinfo);
// What a change of the mount table means: an arrival for each root in `after` but not `before`.
std::vector<DeviceChange> MountChanges(const MountedRoots& before, const MountedRoots& after);
// The root path the removed block device was mounted on, or empty when it was not mounted.
std::string RootOfSource(const MountedRoots& roots, const std::string& source);
