#include "app/windows/DemoMachine.h"

#include <algorithm>

#include "FixtureCatalogue.h"
#include "FixtureWriters.h"
#include "platform/SystemAdapters.h"
#include "platform/Utf8Path.h"

std::optional<std::string> WriteDemoData(const std::filesystem::path& dir, DemoData& data) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        return "cannot create " + PathToUtf8(dir) + ": " + error.message();
    }
    data.catalogueFile = dir / "catalogue.sqlite";
    data.imageStore = dir / "images";
    const FixtureCatalogue catalogue = BuildFixtureCatalogue();
    std::string failure = WriteSqliteCatalogue(catalogue, PathToUtf8(data.catalogueFile));
    if (failure.empty()) {
        failure = WriteImageStore(catalogue, PathToUtf8(data.imageStore));
    }
    if (!failure.empty()) {
        return failure;
    }
    return std::nullopt;
}

EndpointSettings DemoEndpoints(const DemoData& data, const std::string& makerWebAddress) {
    EndpointSettings settings;
    settings.catalogueConnection =
        "Driver=" + SqliteOdbcDriver() + ";Database=" + OdbcDriverFilePath(data.catalogueFile) + ";NoCreat=1";
    settings.catalogueTimeoutSeconds = 5;
    settings.ftp.scheme = "file";
    settings.ftp.basePath = PathToUtf8(data.imageStore);
    settings.makerWebAddress = makerWebAddress;
    settings.sourceFile = "demo";
    return settings;
}

bool IsKnownModel(const std::string& modelCode) {
    const std::vector<FixtureHardware>& models = FixtureHardwareModels();
    return std::any_of(models.begin(), models.end(),
                       [&](const FixtureHardware& hw) { return hw.mfg_id == modelCode; });
}

// The factory state of the model, carrying what the catalogue records for its serviced unit.
static ApplicationOptions DemoOptions(const std::string& modelCode) {
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
            options.config.setVehicleMake(device.vehicle_make);
            options.config.setVehicleModel(device.vehicle_model);
        }
    }
    options.config.set(CAP_FEATURES, true);
    // The updater asks for the programming status once and then waits for the outcome; the
    // demo's interface has it ready at that first request.
    options.programSequence = {{2, 0}};
    return options;
}

DemoMachine::DemoMachine(const std::string& modelCode) {
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
    firmware_ = InstallTelvixFirmware(*device_, DemoOptions(modelCode));
    volumeWatcher_ = std::make_unique<UpdateVolumeWatcher>(*device_, firmware_.flash);
    volumeWatcher_->Start();
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
