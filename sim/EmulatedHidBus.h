#pragma once
// An emulated HID bus with Telvix interfaces and other HID devices on it, standing in for the
// real bus, notifications and volumes behind the same three ports. Each plugged device runs on
// its own thread like a real one.
//
// How a test uses it:
//
//     EmulatedHidBus bus;
//     EmulatedInterface& box = bus.PlugInterface("QD7720R");             // application mode
//     bus.PlugOtherDevice({.usagePage = 0xFF00, .usage = 1, .product = u"GAMEPAD"});
//     DeviceLink link(ctx, bus.Hid(), bus.Notifications(), bus.Volumes(), clock);
//     link.ConnectInterface(window);
//     box.WaitForReceived(1);                    // the probe, when the model has an HID bootloader
//     box.Reboot(DeviceMode::Bootloader);        // removal then arrival notifications
//     box.Unplug();  box.Plug(DeviceMode::UpdateVolume);   // a FAT volume labelled "QD7720R"
//
// The firmware of each mode is ProbeFirmware until a test installs another one with
// EmulatedInterface::InstallFirmware. Volumes that belong to no interface (a FAT32 stick, a
// fixed disk) are added with AddVolume, or plugged and unplugged with their notifications by
// PlugVolume and UnplugVolume; they are listed first, in the order added, followed by the update
// volumes of interfaces in plug order.
//
// Every notification names its device: a HID presence by the path ListCollections gives it
// (a new one for each presence), a volume by its root path.
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/DeviceChangeSinks.h"
#include "platform/DeviceNotifications.h"
#include "platform/HidBus.h"
#include "platform/VolumePort.h"
#include "sim/EmulatedInterface.h"

// A HID device that is not a Telvix interface; it records reports and never answers.
struct OtherDeviceOptions {
    std::uint16_t usagePage = 0xFF00;
    std::uint16_t usage = 1;
    std::u16string product = u"USB HID DEVICE";
    std::u16string serial = u"000000000001";
};

class EmulatedHidBus final : private HidBus, private DeviceNotificationPort, private VolumePort {
  public:
    EmulatedHidBus();
    ~EmulatedHidBus() override;
    EmulatedHidBus(const EmulatedHidBus&) = delete;
    EmulatedHidBus& operator=(const EmulatedHidBus&) = delete;

    // A Telvix interface of the model: product "CAR INTERFACE", serial model code + "0001234".
    EmulatedInterface& PlugInterface(const std::string& modelCode, DeviceMode mode = DeviceMode::Application);
    EmulatedInterface& PlugInterface(const DeviceIdentity& identity, DeviceMode mode);
    EmulatedInterface& PlugOtherDevice(const OtherDeviceOptions& options);
    void AddVolume(const VolumeEntry& volume);
    // A volume of no interface plugged in (an arrival) or pulled out (a removal).
    void PlugVolume(const VolumeEntry& volume);
    void UnplugVolume(const std::string& rootPath);

    HidBus& Hid() { return *this; }
    DeviceNotificationPort& Notifications() { return *this; }
    VolumePort& Volumes() { return *this; }

    // Every notification raised so far, in order (what the subscribed sinks were given).
    std::vector<DeviceChange> RaisedNotifications() const;
    // The directory below which update volumes are laid out; removed with the bus.
    const std::filesystem::path& VolumeDirectory() const { return volumeDirectory_; }

  private:
    friend class EmulatedInterface;
    std::vector<HidCollectionInfo> ListCollections() override;
    std::optional<std::u16string> ReadProductString(const std::string& path) override;
    std::optional<std::u16string> ReadSerialString(const std::string& path) override;
    std::unique_ptr<HidReadHandle> OpenRead(const std::string& path) override;
    std::unique_ptr<HidWriteHandle> OpenWrite(const std::string& path) override;
    DeviceSubscription Subscribe(DeviceChangeSink sink) override;
    std::vector<VolumeEntry> ListVolumes() override;

    EmulatedInterface& Add(std::unique_ptr<EmulatedInterface> device, DeviceMode mode);
    EmulatedInterface* FindByPath(const std::string& path) const;
    void Raise(const DeviceChange& change);

    std::filesystem::path volumeDirectory_;
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<EmulatedInterface>> devices_;
    std::vector<VolumeEntry> volumes_;
    DeviceChangeSinks sinks_;
    std::vector<DeviceChange> raised_;
    int nextId_ = 1;
};
