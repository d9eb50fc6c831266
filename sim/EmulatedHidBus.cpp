#include "sim/EmulatedHidBus.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/ScratchDirectory.h"
#include "platform/Text.h"
#include "platform/Utf8Path.h"

namespace {
std::filesystem::path MakeVolumeDirectory() {
    std::filesystem::path directory = MakeScratchDirectory("telvix-sim-");
    if (directory.empty()) {
        throw std::runtime_error("cannot create the emulator's volume directory");
    }
    return directory;
}
}  // namespace

EmulatedHidBus::EmulatedHidBus() : volumeDirectory_(MakeVolumeDirectory()) {}

EmulatedHidBus::~EmulatedHidBus() {
    std::vector<std::unique_ptr<EmulatedInterface>> devices;
    {
        std::lock_guard lock(mutex_);
        devices.swap(devices_);
    }
    devices.clear();  // joins the device threads
    std::error_code ignored;
    std::filesystem::remove_all(volumeDirectory_, ignored);
}

EmulatedInterface& EmulatedHidBus::PlugInterface(const std::string& modelCode, DeviceMode mode) {
    DeviceIdentity identity{modelCode, u"CAR INTERFACE", FromUtf8(modelCode) + u"0001234"};
    return PlugInterface(identity, mode);
}

EmulatedInterface& EmulatedHidBus::PlugInterface(const DeviceIdentity& identity, DeviceMode mode) {
    int id = 0;
    {
        std::lock_guard lock(mutex_);
        id = nextId_++;
    }
    return Add(std::make_unique<EmulatedInterface>(*this, id, identity, 0xFF00, 0x0001, true), mode);
}

EmulatedInterface& EmulatedHidBus::PlugOtherDevice(const OtherDeviceOptions& options) {
    int id = 0;
    {
        std::lock_guard lock(mutex_);
        id = nextId_++;
    }
    DeviceIdentity identity{"", options.product, options.serial};
    return Add(
        std::make_unique<EmulatedInterface>(*this, id, identity, options.usagePage, options.usage, false),
        DeviceMode::Application);
}

EmulatedInterface& EmulatedHidBus::Add(std::unique_ptr<EmulatedInterface> device, DeviceMode mode) {
    EmulatedInterface& added = *device;
    {
        std::lock_guard lock(mutex_);
        devices_.push_back(std::move(device));
    }
    added.Plug(mode);
    return added;
}

void EmulatedHidBus::AddVolume(const VolumeEntry& volume) {
    std::lock_guard lock(mutex_);
    volumes_.push_back(volume);
}

void EmulatedHidBus::PlugVolume(const VolumeEntry& volume) {
    AddVolume(volume);
    Raise({DBT_DEVICEARRIVAL, DeviceKind::Volume, volume.rootPath});
}

void EmulatedHidBus::UnplugVolume(const std::string& rootPath) {
    {
        std::lock_guard lock(mutex_);
        std::erase_if(volumes_, [&](const VolumeEntry& volume) { return volume.rootPath == rootPath; });
    }
    Raise({DBT_DEVICEREMOVECOMPLETE, DeviceKind::Volume, rootPath});
}

std::vector<DeviceChange> EmulatedHidBus::RaisedNotifications() const {
    std::lock_guard lock(mutex_);
    return raised_;
}

void EmulatedHidBus::Raise(const DeviceChange& change) {
    {
        std::lock_guard lock(mutex_);
        raised_.push_back(change);
    }
    sinks_.Deliver(change);
}

DeviceSubscription EmulatedHidBus::Subscribe(DeviceChangeSink sink) {
    return sinks_.Add(std::move(sink));
}

std::vector<HidCollectionInfo> EmulatedHidBus::ListCollections() {
    std::lock_guard lock(mutex_);
    std::vector<HidCollectionInfo> list;
    for (const auto& device : devices_) {
        if (device->PresentsHid()) {
            const DeviceIdentity& identity = device->Identity();
            list.push_back(
                {device->Path(), device->UsagePage(), device->Usage(), identity.product, identity.serial});
        }
    }
    return list;
}

EmulatedInterface* EmulatedHidBus::FindByPath(const std::string& path) const {
    for (const auto& device : devices_) {
        if (device->PresentsHid() && device->Path() == path) {
            return device.get();
        }
    }
    return nullptr;
}

std::optional<std::u16string> EmulatedHidBus::ReadProductString(const std::string& path) {
    std::lock_guard lock(mutex_);
    EmulatedInterface* device = FindByPath(path);
    if (device == nullptr || device->RefusesStrings()) {
        return std::nullopt;
    }
    return device->Identity().product;
}

std::optional<std::u16string> EmulatedHidBus::ReadSerialString(const std::string& path) {
    std::lock_guard lock(mutex_);
    EmulatedInterface* device = FindByPath(path);
    if (device == nullptr || device->RefusesStrings()) {
        return std::nullopt;
    }
    return device->Identity().serial;
}

std::unique_ptr<HidReadHandle> EmulatedHidBus::OpenRead(const std::string& path) {
    std::lock_guard lock(mutex_);
    EmulatedInterface* device = FindByPath(path);
    return device == nullptr ? nullptr : device->OpenRead();
}

std::unique_ptr<HidWriteHandle> EmulatedHidBus::OpenWrite(const std::string& path) {
    std::lock_guard lock(mutex_);
    EmulatedInterface* device = FindByPath(path);
    return device == nullptr ? nullptr : device->OpenWrite();
}

std::vector<VolumeEntry> EmulatedHidBus::ListVolumes() {
    std::lock_guard lock(mutex_);
    std::vector<VolumeEntry> list = volumes_;
    for (const auto& device : devices_) {
        if (device->Mode() == DeviceMode::UpdateVolume) {
            const DeviceIdentity& identity = device->Identity();
            list.push_back({PathToUtf8(device->VolumeRoot()) + "/", true,
                            VolumeDetails{u"FAT", FromUtf8(identity.modelCode)}});
        }
    }
    return list;
}
