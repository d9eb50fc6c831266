#pragma once
// Arrival and removal of HID interfaces and volumes. Each notification carries its event code and,
// when the system says, which device changed: for a HID collection the same opaque path that
// HidBus::ListCollections gives, for a volume its root path (as VolumePort lists it).
// The real adapter is UdevNotifications; the emulator raises them on plug, unplug and restart.
#include <cstdint>
#include <functional>
#include <string>

constexpr std::uint32_t DBT_DEVICEARRIVAL = 0x8000;
constexpr std::uint32_t DBT_DEVICEREMOVECOMPLETE = 0x8004;

enum class DeviceKind { Unknown, HidInterface, Volume };

struct DeviceChange {
    std::uint32_t eventCode = 0;
    DeviceKind kind = DeviceKind::Unknown;
    std::string path;  // empty when the system does not say which device it was

    bool operator==(const DeviceChange&) const = default;
};

using DeviceChangeSink = std::function<void(const DeviceChange& change)>;

// What Subscribe hands back. Destroying it, or calling Cancel, ends the subscription: once that
// returns, the sink is never called again. A call under way on another thread is waited for; when
// Cancel runs inside the sink itself it returns at once. It may outlive the port.
class DeviceSubscription {
  public:
    DeviceSubscription() = default;
    explicit DeviceSubscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    ~DeviceSubscription() { Cancel(); }
    DeviceSubscription(DeviceSubscription&& other) noexcept : cancel_(std::move(other.cancel_)) {
        other.cancel_ = nullptr;
    }
    DeviceSubscription& operator=(DeviceSubscription&& other) noexcept {
        if (this != &other) {
            Cancel();
            cancel_ = std::move(other.cancel_);
            other.cancel_ = nullptr;
        }
        return *this;
    }
    DeviceSubscription(const DeviceSubscription&) = delete;
    DeviceSubscription& operator=(const DeviceSubscription&) = delete;

    void Cancel() {
        if (cancel_) {
            auto cancel = std::move(cancel_);
            cancel_ = nullptr;
            cancel();
        }
    }
    bool Active() const { return static_cast<bool>(cancel_); }

  private:
    std::function<void()> cancel_;
};

class DeviceNotificationPort {
  public:
    virtual ~DeviceNotificationPort() = default;
    // Adds a sink until the returned subscription ends. Sinks are called on the port's own thread
    // (or the emulator's), never on the window thread: a front end queues the change and runs
    // OnDeviceChange on its window thread.
    [[nodiscard]] virtual DeviceSubscription Subscribe(DeviceChangeSink sink) = 0;
};
