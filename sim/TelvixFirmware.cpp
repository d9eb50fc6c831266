#include "sim/TelvixFirmware.h"

#include "config/ModelDefaults.h"
#include "platform/Text.h"

ApplicationOptions DefaultApplicationOptions(const std::string& modelCode) {
    ApplicationOptions options;
    options.modelCode = modelCode;
    if (const auto defaults = FactoryDefaults(FromUtf8(modelCode))) {
        options.config = defaults->config;
        options.overlay = defaults->overlay;
    } else {
        options.config.set(CAP_VIDEO_SETTINGS, true);
        options.config.set(CAP_REAR_INPUT, true);
    }
    // A controller id that differs per model and stays the same between runs.
    std::uint32_t state = 2166136261u;
    for (char c : modelCode) {
        state = (state ^ static_cast<std::uint8_t>(c)) * 16777619u;
    }
    for (auto& byte : options.mcuId) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    options.softwareId = 1;
    options.softwareBuild = 1;
    return options;
}

TelvixFirmware InstallTelvixFirmware(EmulatedInterface& device, ApplicationOptions options) {
    TelvixFirmware telvix;
    telvix.flash = std::make_shared<EmulatedFlash>();
    telvix.faults = std::make_shared<FirmwareFaults>();
    telvix.application =
        std::make_shared<ApplicationFirmware>(std::move(options), telvix.flash, telvix.faults);
    telvix.bootloader = std::make_shared<Bootloader>(telvix.flash, telvix.faults);
    device.InstallFirmware(DeviceMode::Application, telvix.application);
    device.InstallFirmware(DeviceMode::Bootloader, telvix.bootloader);
    return telvix;
}
