#include "platform/linux/UdevNotifications.h"

#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

// The event code for one udev event, or 0 when it does not count.
std::uint32_t CodeFor(udev_device* device) {
    const char* action = udev_device_get_action(device);
    const char* subsystem = udev_device_get_subsystem(device);
    if (action == nullptr || subsystem == nullptr) {
        return 0;
    }
    if (std::strcmp(action, "remove") == 0) {
        return DBT_DEVICEREMOVECOMPLETE;
    }
    if (std::strcmp(action, "add") == 0 && std::strcmp(subsystem, "hidraw") == 0) {
        return DBT_DEVICEARRIVAL;
    }
    return 0;  // a block device is announced once it is mounted, by the mount table
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

void UdevNotifications::Subscribe(DeviceChangeSink sink) {
    std::lock_guard lock(mutex_);
    sinks_.push_back(std::move(sink));
    if (!thread_.joinable() && stopFd_ >= 0) {
        watching_ = true;
        thread_ = std::thread([this] { Run(); });
    }
}

bool UdevNotifications::Watching() const {
    std::lock_guard lock(mutex_);
    return watching_;
}

void UdevNotifications::Deliver(std::uint32_t eventCode) {
    std::vector<DeviceChangeSink> sinks;
    {
        std::lock_guard lock(mutex_);
        sinks = sinks_;
    }
    for (const auto& sink : sinks) {
        sink(eventCode);
    }
}

void UdevNotifications::Run() {
    Monitor monitor;
    const int mountFd = open(mountinfoPath_.c_str(), O_RDONLY | O_CLOEXEC);
    if (monitor.Fd() < 0 && mountFd < 0) {
        std::lock_guard lock(mutex_);
        watching_ = false;
    }
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
                const std::uint32_t code = CodeFor(device);
                udev_device_unref(device);
                if (code != 0) {
                    Deliver(code);
                }
            }
        }
        if ((fds[2].revents & (POLLPRI | POLLERR)) != 0) {
            // The mount table changed; re-reading it re-arms the notification.
            char buffer[4096];
            lseek(mountFd, 0, SEEK_SET);
            while (read(mountFd, buffer, sizeof buffer) > 0) {
            }
            Deliver(DBT_DEVICEARRIVAL);
        }
    }
    if (mountFd >= 0) {
        close(mountFd);
    }
}
