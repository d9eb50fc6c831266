#include "config/ModelDefaults.h"

#include "config/ModelCodes.h"

namespace {

constexpr std::uint8_t kAllCameraInputs = CAP_REAR_INPUT | CAP_FRONT_INPUT | CAP_LEFT_INPUT | CAP_RIGHT_INPUT;

struct Vehicle {
    const char* make;
    const char* model;
    std::uint16_t updates;
};

DeviceConfig Base(std::uint8_t capabilities, Vehicle vehicle) {
    DeviceConfig config;
    config.setCapabilities(static_cast<std::uint8_t>(capabilities | CAP_VIDEO_SETTINGS));
    config.setVehicleMake(vehicle.make);
    config.setVehicleModel(vehicle.model);
    config.setTotalUpdates(vehicle.updates);
    return config;
}

OverlayConfig Overlay(std::uint8_t enables, std::uint8_t captions5, std::uint8_t captions6) {
    OverlayConfig overlay;
    overlay.setOverlayParams(kOverlayParams);
    overlay.setOverlayEnables(enables);
    overlay.bytes()[5] = captions5;
    overlay.bytes()[6] = captions6;
    return overlay;
}

// Video settings (146): four inputs, every camera input, so Input 2 leads with "Front camera"
// and Inputs 3 and 4 offer the side cameras.
ModelDefaults We5540r() {
    DeviceConfig c = Base(CAP_INPUT1_AUDIO | CAP_FEATURES | kAllCameraInputs, {"Chevrolet", "Silverado", 3});
    c.setVideoInputCount(4);
    c.set(VID_VIM_SUPPORTED, true);
    c.set(SIG_VIDEO_IN_MOTION, true);
    c.setSyncPolarity(SYNC_POSITIVE);
    c.setInputSource(1, SOURCE_VIDEO);
    c.setInputSource(2, SOURCE_CAMERA);
    c.setInputSource(3, SOURCE_CAMERA_ALT);
    c.setInputSource(4, SOURCE_VIDEO);
    return {c, Overlay(0, 0, 0)};
}

// HDMI settings (149) with a rear camera on Input 2, negative sync, parking lines hidden.
ModelDefaults Tn7581r() {
    DeviceConfig c = Base(CAP_FEATURES | CAP_REAR_INPUT, {"Toyota", "Tundra", 1});
    c.setVideoInputCount(2);
    c.set(VID_VIM_SUPPORTED, true);
    c.set(VID_PARKING_LINES_OFF, true);
    c.setSyncPolarity(SYNC_NEGATIVE);
    c.setInputSource(1, SOURCE_VIDEO);
    c.setInputSource(2, SOURCE_CAMERA);
    return {c, Overlay(0, 0, 0)};
}

// HDMI settings (149) with one input only: Input 2 disabled but holding "Front camera"; no sync.
ModelDefaults Tn7580r() {
    DeviceConfig c = Base(CAP_FRONT_INPUT | CAP_LEFT_INPUT, {"Lexus", "RX 350", 0});
    c.setVideoInputCount(1);
    c.setInputSource(1, SOURCE_VIDEO);
    return {c, Overlay(0, 0, 0)};
}

// Video in motion (150): all four camera switches and video in motion offered.
ModelDefaults Qh7720r() {
    DeviceConfig c = Base(CAP_FEATURES | kAllCameraInputs, {"GMC", "Sierra", 2});
    c.set(CAM_AFTERMARKET_REAR, true);
    c.set(CAM_AFTERMARKET_FRONT, true);
    c.set(VID_VIM_SUPPORTED, true);
    c.set(SIG_VIDEO_IN_MOTION, true);
    return {c, Overlay(0, 0, 0)};
}

// Video in motion (150) without the side cameras and without video in motion.
ModelDefaults Qh772er() {
    DeviceConfig c = Base(CAP_REAR_INPUT | CAP_FRONT_INPUT, {"Cadillac", "Escalade", 0});
    c.set(CAM_AFTERMARKET_REAR, true);
    return {c, Overlay(0, 0, 0)};
}

// LVDS host without HDMI input and without overlay block: factory rear with aftermarket input.
ModelDefaults Qd7720r() {
    DeviceConfig c = Base(CAP_FEATURES | kAllCameraInputs, {"Chevrolet", "Tahoe", 4});
    c.set(CAM_FACTORY_REAR, true);
    c.set(IN_REAR, true);
    c.set(CAM_AFTERMARKET_FRONT, true);
    c.set(IN_FRONT, true);
    c.setFrontCameraMode(CAMERA_MODE_MANUAL);
    c.setLaneCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    return {c, Overlay(0, 0, 0)};
}

ModelDefaults Qd772er() {
    DeviceConfig c = Base(CAP_REAR_INPUT | CAP_FRONT_INPUT, {"Buick", "Enclave", 1});
    c.set(CAM_AFTERMARKET_REAR, true);
    c.set(IN_REAR, true);
    c.setFrontCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    c.setLaneCameraMode(CAMERA_MODE_MANUAL);
    return {c, Overlay(0, 0, 0)};
}

// LVDS host with HDMI on and every overlay enabled with camera captions.
ModelDefaults Wd7731r() {
    DeviceConfig c = Base(CAP_FEATURES | kAllCameraInputs, {"Mercedes-Benz", "Sprinter", 5});
    c.set(IN_HDMI, true);
    c.set(CAM_FACTORY_REAR, true);
    c.set(CAM_AFTERMARKET_LEFT, true);
    c.set(IN_LEFT, true);
    c.setFrontCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    c.setLaneCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    return {c, Overlay(0x55, 0xF0, 0x0F)};
}

// No front input; factory left camera; a front mode (2) the LVDS page does not show.
ModelDefaults Wh7731r() {
    DeviceConfig c = Base(CAP_REAR_INPUT | CAP_LEFT_INPUT | CAP_RIGHT_INPUT, {"Ford", "Transit", 2});
    c.set(CAM_FACTORY_LEFT, true);
    c.set(CAM_AFTERMARKET_RIGHT, true);
    c.set(IN_RIGHT, true);
    c.setFrontCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    c.setLaneCameraMode(CAMERA_MODE_MANUAL);
    return {c, Overlay(0x0E, 0x90, 0x06)};  // pairs 10 and 11 read as on; captions 01/10 show inputs
}

ModelDefaults We5581r() {
    DeviceConfig c = Base(CAP_FEATURES | CAP_REAR_INPUT | CAP_FRONT_INPUT, {"Dodge", "Ram 1500", 0});
    c.set(CAM_FACTORY_FRONT, true);
    c.set(CAM_AFTERMARKET_REAR, true);
    c.set(IN_REAR, true);
    c.setFrontCameraMode(CAMERA_MODE_MANUAL);
    c.setLaneCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    return {c, Overlay(0x00, 0x00, 0x00)};
}

// Factory right camera, whose bit lives in cameraModes.
ModelDefaults Wj7731r() {
    DeviceConfig c = Base(kAllCameraInputs, {"Jeep", "Wrangler", 1});
    c.set(IN_HDMI, true);
    c.set(CAM_FACTORY_RIGHT, true);
    c.set(CAM_AFTERMARKET_FRONT, true);
    c.set(IN_FRONT, true);
    c.setFrontCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    c.setLaneCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    return {c, Overlay(0x41, 0x30, 0x0C)};
}

// HDMI host: HDMI on, factory rear with aftermarket input, sync with polarity and sync on green.
ModelDefaults Tn7931r() {
    DeviceConfig c = Base(CAP_FEATURES | kAllCameraInputs, {"Nissan", "Titan", 2});
    c.set(IN_HDMI, true);
    c.set(CAM_FACTORY_REAR, true);
    c.set(IN_REAR, true);
    c.set(CAM_AFTERMARKET_RIGHT, true);
    c.set(IN_RIGHT, true);
    c.setSyncPolarity(SYNC_POSITIVE);
    c.set(SIG_SYNC_ON_GREEN, true);
    c.setFrontCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    return {c, Overlay(0x45, 0xC0, 0x03)};
}

}  // namespace

std::optional<ModelDefaults> FactoryDefaults(std::u16string_view mfgId) {
    struct Entry {
        std::u16string_view code;
        ModelDefaults (*make)();
    };
    static constexpr Entry kTable[] = {
        {MODEL_WE5540R, We5540r}, {MODEL_TN7581R, Tn7581r}, {MODEL_TN7580R, Tn7580r},
        {MODEL_QH7720R, Qh7720r}, {MODEL_QH772ER, Qh772er}, {MODEL_QD7720R, Qd7720r},
        {MODEL_QD772ER, Qd772er}, {MODEL_WD7731R, Wd7731r}, {MODEL_WH7731R, Wh7731r},
        {MODEL_WE5581R, We5581r}, {MODEL_WJ7731R, Wj7731r}, {MODEL_TN7931R, Tn7931r},
    };
    for (const auto& entry : kTable) {
        if (entry.code == mfgId) {
            return entry.make();
        }
    }
    return std::nullopt;
}
