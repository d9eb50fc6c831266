#include "settings/CameraPages.h"

#include "app/UpdaterContext.h"
#include "config/ModelCodes.h"
#include "settings/VideoInputSettings.h"

namespace {

// Aftermarket boxes of the positions the interface has: ticked when the camera is installed or
// its input is on. The boxes of other positions keep their ticks.
void FillAftermarketBoxes(const DeviceConfig& config, std::array<CheckBoxState, 4>& boxes) {
    for (const auto position : kCameraPositions) {
        if (config.has(DeviceConfig::CapabilityOf(position))) {
            boxes[Index(position)].checked = config.has(DeviceConfig::AftermarketOf(position)) ||
                                             config.has(DeviceConfig::InputOf(position));
        }
    }
}

// A factory camera with an aftermarket box ticked means the aftermarket input is routed beside
// it; without a factory camera the aftermarket box stands for camera and input together.
void ApplyPosition(CameraPosition position, bool factoryTicked, bool aftermarketTicked,
                   DeviceConfig& config) {
    config.setFactoryCamera(position, factoryTicked);
    config.set(DeviceConfig::AftermarketOf(position), !factoryTicked && aftermarketTicked);
    config.set(DeviceConfig::InputOf(position), aftermarketTicked);
}

}  // namespace

void FillLvdsPage(const DeviceConfig& config, LvdsPageControls& controls) {
    FillAftermarketBoxes(config, controls.aftermarket);
    if (LacksHdmiInput(controls.modelCode)) {
        controls.hdmi.enabled = false;
        controls.hdmi.checked = false;
    } else {
        controls.hdmi.checked = config.has(IN_HDMI);
    }
    for (const auto position : kCameraPositions) {
        if (config.factoryCamera(position)) {
            controls.factory[Index(position)].checked = true;
        }
    }
    switch (config.frontCameraMode()) {
        case CAMERA_MODE_MANUAL:
            controls.groupA.selection = LVDS_A_MANUAL;
            break;
        case CAMERA_MODE_WITH_SPEED_CHECK:
            controls.groupA.selection = LVDS_A_WITH_SPEED_CHECK;
            break;
        default:
            break;
    }
    switch (config.laneCameraMode()) {
        case CAMERA_MODE_MANUAL:
            controls.groupB.selection = LVDS_B_MANUAL;
            break;
        case CAMERA_MODE_WITH_SPEED_CHECK:
            controls.groupB.selection = LVDS_B_WITH_SPEED_CHECK;
            break;
        case CAMERA_MODE_WITHOUT_SPEED_CHECK:
            controls.groupB.selection = LVDS_B_WITHOUT_SPEED_CHECK;
            break;
        default:
            break;
    }
}

void ApplyLvdsPage(const LvdsPageControls& controls, DeviceConfig& config) {
    config.set(IN_HDMI, controls.hdmi.checked);
    for (const auto position : kCameraPositions) {
        ApplyPosition(position, controls.factory[Index(position)].checked,
                      controls.aftermarket[Index(position)].checked, config);
    }
    if (controls.groupA.selection == LVDS_A_MANUAL) {
        config.setFrontCameraMode(CAMERA_MODE_MANUAL);
    } else if (controls.groupA.selection == LVDS_A_WITH_SPEED_CHECK) {
        config.setFrontCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    }
    if (controls.groupB.selection == LVDS_B_MANUAL) {
        config.setLaneCameraMode(CAMERA_MODE_MANUAL);
    } else if (controls.groupB.selection == LVDS_B_WITH_SPEED_CHECK) {
        config.setLaneCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    } else if (controls.groupB.selection == LVDS_B_WITHOUT_SPEED_CHECK) {
        config.setLaneCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    }
}

void FillHdmiPage(const DeviceConfig& config, HdmiPageControls& controls) {
    FillSyncAndParkingLines(config, controls.syncPolarity, controls.syncOnGreen, controls.parkingLines);
    FillAftermarketBoxes(config, controls.aftermarket);
    controls.hdmi.checked = config.has(IN_HDMI);
    if (config.has(CAM_FACTORY_REAR)) {
        controls.factoryRear.checked = true;
    }
    if (config.frontCameraMode() == CAMERA_MODE_MANUAL) {
        controls.groupA.selection = HDMI_A_MANUAL;
    } else if (config.frontCameraMode() == CAMERA_MODE_WITHOUT_SPEED_CHECK) {
        controls.groupA.selection = HDMI_A_WITHOUT_SPEED_CHECK;
    }
}

void ApplyHdmiPage(const HdmiPageControls& controls, DeviceConfig& config) {
    config.set(IN_HDMI, controls.hdmi.checked);
    ApplyPosition(CameraPosition::Rear, controls.factoryRear.checked,
                  controls.aftermarket[Index(CameraPosition::Rear)].checked, config);
    for (const auto position : {CameraPosition::Front, CameraPosition::Left, CameraPosition::Right}) {
        const bool ticked = controls.aftermarket[Index(position)].checked;
        config.set(DeviceConfig::AftermarketOf(position), ticked);
        config.set(DeviceConfig::InputOf(position), ticked);
    }
    if (controls.groupA.selection == HDMI_A_MANUAL) {
        config.setFrontCameraMode(CAMERA_MODE_MANUAL);
    } else if (controls.groupA.selection == HDMI_A_WITHOUT_SPEED_CHECK) {
        config.setFrontCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    }
    AcceptSyncAndParkingLines(controls.syncPolarity, controls.syncOnGreen, controls.parkingLines, config);
}

void FillLvdsPage(UpdaterContext& ctx, LvdsPageControls& controls) {
    ctx.configWritePending = false;
    FillLvdsPage(ctx.deviceConfig, controls);
}

SettingsOutcome ApplyLvdsPage(UpdaterContext& ctx, const LvdsPageControls& controls) {
    DeviceConfig edited = ctx.deviceConfig;
    ApplyLvdsPage(controls, edited);
    return RequestConfigWrite(ctx, edited);
}

void FillHdmiPage(UpdaterContext& ctx, HdmiPageControls& controls) {
    ctx.configWritePending = false;
    FillHdmiPage(ctx.deviceConfig, controls);
}

SettingsOutcome ApplyHdmiPage(UpdaterContext& ctx, const HdmiPageControls& controls) {
    DeviceConfig edited = ctx.deviceConfig;
    ApplyHdmiPage(controls, edited);
    return RequestConfigWrite(ctx, edited);
}
