#include "sim/TelvixFirmware.h"

#include "sim/FactoryRecords.h"

namespace {
// Record byte 0 of a model the emulator has no factory record for: video settings, rear input.
constexpr std::uint8_t kUnknownModelCapabilities = 0x04 | 0x08;
}  // namespace

ApplicationOptions DefaultApplicationOptions(const std::string& modelCode) {
    ApplicationOptions options;
    options.modelCode = modelCode;
    if (const auto factory = FactoryRecordOf(modelCode)) {
        options.config = factory->record;
        options.overlay = factory->overlay;
    } else {
        options.config.bytes()[stored_record::kCapabilities] = kUnknownModelCapabilities;
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
