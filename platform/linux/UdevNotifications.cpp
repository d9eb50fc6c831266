#include "platform/linux/UdevNotifications.h"

#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <sstream>

#include "platform/linux/MountedVolumes.h"

namespace {
struct Monitor {
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
    Monitor() {
        context = udev_new();
        if (context == nullptr) {
            return;
        }
        monitor = udev_monitor_new_from_netlink(context, "udev");
        if (monitor == nullptr) {
            return;
        }
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr);
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "block", nullptr);
        if (udev_monitor_enable_receiving(monitor) < 0) {
            udev_monitor_unref(monitor);
            monitor = nullptr;
        }
    }
    ~Monitor() {
        if (monitor != nullptr) {
            udev_monitor_unref(monitor);
        }
        if (context != nullptr) {
            udev_unref(context);
        }
    }
    int Fd() const { return monitor != nullptr ? udev_monitor_get_fd(monitor) : -1; }
};

// The notification for one udev event, or nothing when it does not count.
std::optional<DeviceChange> ChangeFor(udev_device* device, const MountedRoots& roots) {
    const char* action = udev_device_get_action(device);
    const char* subsystem = udev_device_get_subsystem(device);
    if (action == nullptr || subsystem == nullptr) {
        return std::nullopt;
    }
    const bool hidraw = std::strcmp(subsystem, "hidraw") == 0;
    if (std::strcmp(action, "remove") == 0) {
        if (hidraw) {
            return DeviceChange{DBT_DEVICEREMOVECOMPLETE, DeviceKind::HidInterface,
                                HidrawPath(udev_device_get_devnode(device), udev_device_get_sysname(device))};
        }
        const char* node = udev_device_get_devnode(device);
        return DeviceChange{DBT_DEVICEREMOVECOMPLETE, DeviceKind::Volume,
                            node != nullptr ? RootOfSource(roots, node) : std::string()};
    }
    if (std::strcmp(action, "add") == 0 && hidraw) {
        return DeviceChange{DBT_DEVICEARRIVAL, DeviceKind::HidInterface,
                            HidrawPath(udev_device_get_devnode(device), udev_device_get_sysname(device))};
    }
    return std::nullopt;  // a block device is announced once it is mounted, by the mount table
}

MountedRoots ReadMountTable(int fd) {
    std::string text;
    char buffer[4096];
    lseek(fd, 0, SEEK_SET);
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    std::istringstream in(text);
    return ReadMountedRoots(in);
}
}  // namespace

UdevNotifications::UdevNotifications(std::string mountinfoPath)
    : mountinfoPath_(std::move(mountinfoPath)), stopFd_(eventfd(0, EFD_CLOEXEC)) {}

UdevNotifications::~UdevNotifications() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        (void)!write(stopFd_, &one, sizeof one);
        thread_.join();
    }
    if (stopFd_ >= 0) {
        close(stopFd_);
    }
}

DeviceSubscription UdevNotifications::Subscribe(DeviceChangeSink sink) {
    DeviceSubscription subscription = sinks_.Add(std::move(sink));
    std::lock_guard lock(mutex_);
    if (!thread_.joinable() && stopFd_ >= 0) {
        watching_ = true;
        thread_ = std::thread([this] { Run(); });
    }
    return subscription;
}

bool UdevNotifications::Watching() const {
    std::lock_guard lock(mutex_);
    return watching_;
}

void UdevNotifications::Run() {
    Monitor monitor;
    const int mountFd = open(mountinfoPath_.c_str(), O_RDONLY | O_CLOEXEC);
    if (monitor.Fd() < 0 && mountFd < 0) {
        std::lock_guard lock(mutex_);
        watching_ = false;
    }
    // Kept to name the volume of a removed block device, and to tell newly mounted volumes.
    MountedRoots roots = mountFd >= 0 ? ReadMountTable(mountFd) : MountedRoots{};
    pollfd fds[3] = {{stopFd_, POLLIN, 0}, {monitor.Fd(), POLLIN, 0}, {mountFd, POLLPRI, 0}};
    for (;;) {
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (fds[0].revents != 0) {
            break;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            if (udev_device* device = udev_monitor_receive_device(monitor.monitor)) {
                const std::optional<DeviceChange> change = ChangeFor(device, roots);
                udev_device_unref(device);
                if (change) {
                    sinks_.Deliver(*change);
                }
            }
        }
        if ((fds[2].revents & (POLLPRI | POLLERR)) != 0) {
            // Re-reading the mount table also re-arms the notification.
            MountedRoots now = ReadMountTable(mountFd);
            for (const DeviceChange& change : MountChanges(roots, now)) {
                sinks_.Deliver(change);
            }
            roots = std::move(now);
        }
    }
    if (mountFd >= 0) {
        close(mountFd);
    }
}

std::string HidrawPath(const char* devnode, const char* sysname) {
    if (devnode != nullptr) {
        return devnode;
    }
    return sysname != nullptr ? std::string("/dev/") + sysname : std::string();
}

MountedRoots ReadMountedRoots(std::istream& mountinfo) {
    MountedRoots roots;
    for (std::string line; std::getline(mountinfo, line);) {
        MountInfoLine parsed;
        if (ParseMountInfoLine(line, parsed) && parsed.root == "/" && parsed.source.starts_with("/dev/")) {
            const std::string& point = parsed.mountPoint;
            roots.emplace(point.ends_with('/') ? point : point + "/", parsed.source);
        }
    }
    return roots;
}

std::vector<DeviceChange> MountChanges(const MountedRoots& before, const MountedRoots& after) {
    std::vector<DeviceChange> changes;
    for (const auto& [root, source] : after) {
        if (!before.contains(root)) {
            changes.push_back({DBT_DEVICEARRIVAL, DeviceKind::Volume, root});
        }
    }
    return changes;
}

std::string RootOfSource(const MountedRoots& roots, const std::string& source) {
    for (const auto& [root, mounted] : roots) {
        if (mounted == source) {
            return root;
        }
    }
    return {};
}
