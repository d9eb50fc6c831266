#include "sim/EmulatedInterface.h"

#include <algorithm>
#include <optional>

#include "platform/DeviceNotifications.h"
#include "sim/DeviceCore.h"
#include "sim/EmulatedHidBus.h"
#include "sim/SimHandles.h"

namespace {
// How often a pending wake-up looks at a clock that may be moved by hand.
constexpr std::chrono::milliseconds kWakePoll{2};

const Clock& SystemDeviceClock() {
    static SystemClock clock;
    return clock;
}
}  // namespace

// What the firmware sees of its device during one call on the device thread.
class EmulatedInterface::Host final : public FirmwareHost {
  public:
    Host(DeviceCore& core, const DeviceIdentity& identity, DeviceMode mode, std::uint64_t generation,
         const Clock& clock)
        : core_(core), identity_(identity), mode_(mode), generation_(generation), clock_(clock) {}

    void SendInput(const HidReport& report) override {
        std::lock_guard lock(core_.mutex);
        core_.DeliverLocked(report, generation_);
    }
    void RequestRestart(DeviceMode mode) override {
        restartRequested = true;
        restartMode = mode;
    }
    const DeviceIdentity& Identity() const override { return identity_; }
    DeviceMode Mode() const override { return mode_; }
    std::chrono::steady_clock::time_point Now() const override { return clock_.Now(); }
    void WakeAt(std::chrono::steady_clock::time_point when) override { wake = when; }
    void RefuseReport() override {
        std::lock_guard lock(core_.mutex);
        ++core_.refusedReports;
    }

    bool restartRequested = false;
    DeviceMode restartMode = DeviceMode::Unplugged;
    std::optional<std::chrono::steady_clock::time_point> wake;

  private:
    DeviceCore& core_;
    const DeviceIdentity& identity_;
    const DeviceMode mode_;
    const std::uint64_t generation_;
    const Clock& clock_;
};

EmulatedInterface::EmulatedInterface(EmulatedHidBus& bus, int id, DeviceIdentity identity,
                                     std::uint16_t usagePage, std::uint16_t usage, bool answers)
    : bus_(bus),
      id_(id),
      identity_(std::move(identity)),
      usagePage_(usagePage),
      usage_(usage),
      answers_(answers),
      core_(std::make_shared<DeviceCore>()) {
    core_->clock = &SystemDeviceClock();
    if (answers_) {
        core_->applicationFirmware = std::make_shared<ProbeFirmware>();
        core_->bootloaderFirmware = std::make_shared<ProbeFirmware>();
    }
    thread_ = std::thread([this] { Run(); });
}

EmulatedInterface::~EmulatedInterface() {
    {
        std::lock_guard lock(core_->mutex);
        core_->shutdown = true;
        core_->KillReadersLocked();
        core_->changed.notify_all();
    }
    thread_.join();
}

void EmulatedInterface::Plug(DeviceMode mode) {
    std::unique_lock lock(core_->mutex);
    Leave(lock);
    Enter(mode, lock);
}

void EmulatedInterface::Unplug() {
    std::unique_lock lock(core_->mutex);
    Leave(lock);
}

void EmulatedInterface::Reboot(DeviceMode mode) {
    Plug(mode);
}

DeviceMode EmulatedInterface::Mode() const {
    std::lock_guard lock(core_->mutex);
    return core_->mode;
}

void EmulatedInterface::Enter(DeviceMode mode, std::unique_lock<std::mutex>& lock) {
    if (mode == DeviceMode::Unplugged || core_->shutdown) {
        return;
    }
    if (!answers_ && mode != DeviceMode::Application) {
        mode = DeviceMode::Application;  // an ordinary HID device has one way of being present
    }
    core_->mode = mode;
    ++core_->generation;
    if (core_->PresentsHid() && answers_) {
        core_->inbox.push_back(InboxItem{HidReport{}, core_->generation, DeviceEvent::Start});
        core_->changed.notify_all();
    }
    if (mode == DeviceMode::UpdateVolume) {
        std::error_code ignored;
        std::filesystem::create_directories(VolumeRoot(), ignored);
    }
    const DeviceChange change = PresenceLocked(DBT_DEVICEARRIVAL);
    lock.unlock();
    bus_.Raise(change);
    lock.lock();
}

void EmulatedInterface::Leave(std::unique_lock<std::mutex>& lock) {
    if (core_->mode == DeviceMode::Unplugged) {
        return;
    }
    const DeviceChange change = PresenceLocked(DBT_DEVICEREMOVECOMPLETE);  // the presence that ends
    core_->KillReadersLocked();
    core_->inbox.clear();
    core_->wake.reset();
    core_->mode = DeviceMode::Unplugged;
    ++core_->generation;
    core_->changed.notify_all();
    lock.unlock();
    bus_.Raise(change);
    lock.lock();
}

DeviceChange EmulatedInterface::PresenceLocked(std::uint32_t eventCode) const {
    if (core_->mode == DeviceMode::UpdateVolume) {
        return {eventCode, DeviceKind::Volume, VolumeRoot().string() + "/"};
    }
    return {eventCode, DeviceKind::HidInterface, PathLocked()};
}

void EmulatedInterface::Run() {
    std::unique_lock lock(core_->mutex);
    for (;;) {
        if (core_->shutdown) {
            return;
        }
        if (!core_->inbox.empty()) {
            const InboxItem item = core_->inbox.front();
            core_->inbox.pop_front();
            if (item.generation == core_->generation) {  // else written to a presence that has ended
                HandleOne(item, lock);
            }
            continue;
        }
        if (core_->wake) {
            const PendingWake wake = *core_->wake;
            const auto now = core_->clock->Now();
            if (wake.generation != core_->generation) {
                core_->wake.reset();
            } else if (now >= wake.when) {
                core_->wake.reset();
                HandleOne(InboxItem{HidReport{}, wake.generation, DeviceEvent::Wake}, lock);
            } else {
                const std::chrono::steady_clock::duration remaining = wake.when - now;
                core_->changed.wait_for(lock,
                                        std::min<std::chrono::steady_clock::duration>(remaining, kWakePoll));
            }
            continue;
        }
        core_->changed.wait(lock);
    }
}

void EmulatedInterface::HandleOne(const InboxItem& item, std::unique_lock<std::mutex>& lock) {
    core_->busy = true;
    const DeviceMode mode = core_->mode;
    const std::shared_ptr<Firmware> firmware =
        mode == DeviceMode::Application ? core_->applicationFirmware : core_->bootloaderFirmware;
    const LatencyHook hook = core_->latencyHook;
    const Clock& clock = *core_->clock;
    lock.unlock();

    Host host(*core_, identity_, mode, item.generation, clock);
    switch (item.event) {
        case DeviceEvent::Report:
            if (!answers_) {
                break;
            }
            if (item.report[0] != 0) {
                host.RefuseReport();  // no such report on this device
                break;
            }
            if (hook) {
                hook(item.report, mode, item.written);
            }
            if (firmware) {
                firmware->OnOutputReport(item.report, host);
            }
            break;
        case DeviceEvent::Start:
            if (firmware) {
                firmware->OnStart(host);
            }
            break;
        case DeviceEvent::Wake:
            if (firmware) {
                firmware->OnWake(host);
            }
            break;
    }

    lock.lock();
    if (core_->generation == item.generation) {
        if (host.wake) {
            core_->wake = PendingWake{*host.wake, item.generation};
        }
        if (host.restartRequested) {
            Leave(lock);
            Enter(host.restartMode, lock);
        }
    }
    core_->busy = false;
    core_->changed.notify_all();
}

void EmulatedInterface::InstallFirmware(DeviceMode mode, std::shared_ptr<Firmware> firmware) {
    std::lock_guard lock(core_->mutex);
    if (mode == DeviceMode::Application) {
        core_->applicationFirmware = std::move(firmware);
    } else if (mode == DeviceMode::Bootloader) {
        core_->bootloaderFirmware = std::move(firmware);
    }
}

void EmulatedInterface::SetLatencyHook(LatencyHook hook) {
    std::lock_guard lock(core_->mutex);
    core_->latencyHook = std::move(hook);
}

void EmulatedInterface::SetClock(const Clock& clock) {
    std::lock_guard lock(core_->mutex);
    core_->clock = &clock;
    core_->changed.notify_all();
}

int EmulatedInterface::RefusedReports() const {
    std::lock_guard lock(core_->mutex);
    return core_->refusedReports;
}

void EmulatedInterface::SendInput(const HidReport& report) {
    std::lock_guard lock(core_->mutex);
    core_->DeliverLocked(report, core_->generation);
}

std::vector<HidReport> EmulatedInterface::ReceivedReports() const {
    std::lock_guard lock(core_->mutex);
    return core_->received;
}

std::vector<HidReport> EmulatedInterface::SentReports() const {
    std::lock_guard lock(core_->mutex);
    return core_->sent;
}

std::size_t EmulatedInterface::ReceivedCount() const {
    std::lock_guard lock(core_->mutex);
    return core_->received.size();
}

bool EmulatedInterface::WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(core_->mutex);
    return core_->changed.wait_for(lock, timeout, [&] { return core_->received.size() >= count; });
}

bool EmulatedInterface::WaitUntilIdle(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(core_->mutex);
    return core_->changed.wait_for(lock, timeout, [&] { return core_->inbox.empty() && !core_->busy; });
}

void EmulatedInterface::SetRefuseOpen(bool refuse) {
    std::lock_guard lock(core_->mutex);
    core_->refuseOpen = refuse;
}

void EmulatedInterface::SetRefuseStrings(bool refuse) {
    std::lock_guard lock(core_->mutex);
    core_->refuseStrings = refuse;
}

bool EmulatedInterface::RefusesStrings() const {
    std::lock_guard lock(core_->mutex);
    return core_->refuseStrings;
}

std::filesystem::path EmulatedInterface::VolumeRoot() const {
    return bus_.VolumeDirectory() / (identity_.modelCode + "-" + std::to_string(id_));
}

std::string EmulatedInterface::Path() const {
    std::lock_guard lock(core_->mutex);
    return PathLocked();
}

std::string EmulatedInterface::PathLocked() const {
    return "sim:" + std::to_string(id_) + ":" + std::to_string(core_->generation);
}

bool EmulatedInterface::PresentsHid() const {
    std::lock_guard lock(core_->mutex);
    return core_->PresentsHid();
}

std::unique_ptr<HidReadHandle> EmulatedInterface::OpenRead() {
    std::lock_guard lock(core_->mutex);
    if (core_->refuseOpen || !core_->PresentsHid()) {
        return nullptr;
    }
    auto queue = std::make_shared<ReadQueue>();
    core_->readers.push_back(queue);
    return std::make_unique<SimReadHandle>(std::move(queue));
}

std::unique_ptr<HidWriteHandle> EmulatedInterface::OpenWrite() {
    std::lock_guard lock(core_->mutex);
    if (core_->refuseOpen || !core_->PresentsHid()) {
        return nullptr;
    }
    return std::make_unique<SimWriteHandle>(core_, core_->generation);
}
