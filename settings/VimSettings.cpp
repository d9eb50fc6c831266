#include "settings/VimSettings.h"

void FillVimSettings(const DeviceConfig& config, VimControls& controls) {
    for (const auto position : kCameraPositions) {
        if (!config.has(DeviceConfig::CapabilityOf(position))) {
            continue;
        }
        auto& box = controls.camera[Index(position)];
        box.checked = config.has(DeviceConfig::AftermarketOf(position));
        if (position != CameraPosition::Rear) {
            box.enabled = true;
        }
    }
    if (config.has(VID_VIM_SUPPORTED)) {
        controls.videoInMotion.enabled = true;
        controls.videoInMotion.checked = config.has(SIG_VIDEO_IN_MOTION);
    }
}

void AcceptVimSettings(const VimControls& controls, DeviceConfig& config) {
    config.set(SIG_VIDEO_IN_MOTION, controls.videoInMotion.checked);
    for (const auto position : kCameraPositions) {
        config.set(DeviceConfig::AftermarketOf(position), controls.camera[Index(position)].checked);
    }
}
