#include "sim/demo/DemoMachine.h"

#include <algorithm>

#include "FixtureCatalogue.h"
#include "sim/demo/CatalogueInterface.h"

ApplicationOptions DemoInterfaceOptions(const std::string& modelCode) {
    ApplicationOptions options = DefaultApplicationOptions(modelCode);
    for (const FixtureHardware& hw : FixtureHardwareModels()) {
        if (hw.mfg_id == modelCode) {
            options.hasHidBootloader = hw.hw_hid == 1;
        }
    }
    const std::vector<std::uint8_t> mcuId = FixtureMcuId(modelCode);
    std::copy_n(mcuId.begin(), std::min(mcuId.size(), options.mcuId.size()), options.mcuId.begin());
    const FixtureCatalogue catalogue = BuildFixtureCatalogue();
    for (const FixtureDevice& device : catalogue.devices) {
        if (device.mfg_id == modelCode) {
            options.softwareId = static_cast<std::uint16_t>(device.sw_id);
            options.softwareBuild = static_cast<std::uint8_t>(device.sw_build);
            options.config.setVehicle(InterfaceText(device.vehicle_make),
                                      InterfaceText(device.vehicle_model));
        }
    }
    options.config.setOffersFeatures(true);
    return options;
}

DemoMachine::DemoMachine(const std::string& modelCode, MachineSetup setup) : setup_(std::move(setup)) {
    PlugNew(modelCode);
}

DeviceMode DemoMachine::Mode() const {
    return device_ != nullptr ? device_->Mode() : DeviceMode::Unplugged;
}

void DemoMachine::PlugNew(const std::string& modelCode) {
    model_ = modelCode;
    // Off the bus until its firmware is in, so that it starts with it.
    device_ = &bus_.PlugInterface(modelCode, DeviceMode::Unplugged);
    volumeWatcher_.reset();
    firmware_ = InstallTelvixFirmware(*device_, setup_.interfaceFor(modelCode));
    if (setup_.clock != nullptr) {
        device_->SetClock(*setup_.clock);
    }
    volumeWatcher_ = std::make_unique<UpdateVolumeWatcher>(*device_, firmware_.flash);
    if (setup_.watchVolumeOnItsOwn) {
        volumeWatcher_->Start();
    }
    device_->Plug(DeviceMode::Application);
}

void DemoMachine::Plug() {
    if (device_ != nullptr && device_->Mode() == DeviceMode::Unplugged) {
        device_->Plug(DeviceMode::Application);
    }
}

void DemoMachine::Unplug() {
    if (device_ != nullptr && device_->Mode() != DeviceMode::Unplugged) {
        device_->Unplug();
    }
}

void DemoMachine::Reboot() {
    if (device_ != nullptr && device_->Mode() != DeviceMode::Unplugged) {
        device_->Reboot(DeviceMode::Application);
    }
}

void DemoMachine::ChangeModel(const std::string& modelCode) {
    if (modelCode == model_) {
        return;
    }
    Unplug();
    PlugNew(modelCode);
}

void DemoMachine::SetFailFlash(bool fail) {
    if (firmware_.faults) {
        firmware_.faults->Update([fail](FaultPlan& plan) { plan.failedSectorChecks = fail ? 1000 : 0; });
    }
}

void DemoMachine::PollUpdateVolume() {
    if (volumeWatcher_ != nullptr && !setup_.watchVolumeOnItsOwn) {
        volumeWatcher_->Poll();
    }
}
