#pragma once
// The interface's 46-byte configuration record as a value with named accessors over its bytes.
// Every accessor touches only its own bits; bits without a name and the reserved bytes are kept
// exactly as they came from the interface. Plain value type: copy it, compare it, no threads.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/CameraPosition.h"

constexpr std::size_t kDeviceConfigSize = 46;
constexpr std::size_t kVehicleTextField = 14;                   // bytes of vehicleMake / vehicleModel
constexpr std::size_t kVehicleTextMax = kVehicleTextField - 1;  // characters, the zero byte ends the field

// Byte 0, capabilities: set by the interface, read by the windows.
enum CapabilityBit : std::uint8_t {
    CAP_INPUT1_AUDIO = 0x01,
    CAP_FEATURES = 0x02,
    CAP_VIDEO_SETTINGS = 0x04,
    CAP_REAR_INPUT = 0x08,
    CAP_FRONT_INPUT = 0x10,
    CAP_LEFT_INPUT = 0x20,
    CAP_RIGHT_INPUT = 0x40,
};

// Byte 1, cameraFlags: which cameras are installed.
enum CameraFlagBit : std::uint8_t {
    CAM_AFTERMARKET_REAR = 0x02,
    CAM_AFTERMARKET_FRONT = 0x04,
    CAM_AFTERMARKET_LEFT = 0x08,
    CAM_AFTERMARKET_RIGHT = 0x10,
    CAM_FACTORY_REAR = 0x20,
    CAM_FACTORY_FRONT = 0x40,
    CAM_FACTORY_LEFT = 0x80,
};

// Byte 2, inputEnables: which inputs are switched on.
enum InputEnableBit : std::uint8_t {
    IN_HDMI = 0x01,
    IN_REAR = 0x04,
    IN_FRONT = 0x08,
    IN_LEFT = 0x10,
    IN_RIGHT = 0x20,
};

// Byte 3, cameraModes: the factory right camera lives here, beside the two mode fields.
enum CameraModeBit : std::uint8_t {
    CAM_FACTORY_RIGHT = 0x01,
};
constexpr std::uint8_t kFrontCameraModeMask = 0x06;
constexpr std::uint8_t kLaneCameraModeMask = 0x38;

// Byte 4, videoOptions.
enum VideoOptionBit : std::uint8_t {
    VID_VIM_SUPPORTED = 0x10,
    VID_PARKING_LINES_OFF = 0x80,
};
constexpr std::uint8_t kVideoInputCountMask = 0x0E;

// Byte 5, videoSignal.
enum VideoSignalBit : std::uint8_t {
    SIG_SYNC_ON_GREEN = 0x40,
    SIG_VIDEO_IN_MOTION = 0x80,
};
constexpr std::uint8_t kSyncPolarityMask = 0x30;

enum CameraMode : std::uint8_t {
    CAMERA_MODE_MANUAL = 1,
    CAMERA_MODE_WITHOUT_SPEED_CHECK = 2,
    CAMERA_MODE_WITH_SPEED_CHECK = 3,
};

enum SyncPolarity : std::uint8_t {
    SYNC_NONE = 0,
    SYNC_POSITIVE = 1,
    SYNC_NEGATIVE = 2,
};

// Two-bit codes of inputSources; a camera on an input is stored as 2 or 3 depending on the window.
enum SourceCode : std::uint8_t {
    SOURCE_NOT_USED = 0,
    SOURCE_VIDEO = 1,
    SOURCE_CAMERA = 2,
    SOURCE_CAMERA_ALT = 3,
};

class DeviceConfig {
  public:
    using Bytes = std::array<std::uint8_t, kDeviceConfigSize>;

    DeviceConfig() = default;
    explicit DeviceConfig(const Bytes& bytes) : bytes_(bytes) {}

    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

    // Whole bytes by name.
    std::uint8_t capabilities() const { return bytes_[kCapabilities]; }
    std::uint8_t cameraFlags() const { return bytes_[kCameraFlags]; }
    std::uint8_t inputEnables() const { return bytes_[kInputEnables]; }
    std::uint8_t cameraModes() const { return bytes_[kCameraModes]; }
    std::uint8_t videoOptions() const { return bytes_[kVideoOptions]; }
    std::uint8_t videoSignal() const { return bytes_[kVideoSignal]; }
    std::uint8_t inputSources() const { return bytes_[kInputSources]; }
    void setCapabilities(std::uint8_t value) { bytes_[kCapabilities] = value; }
    void setCameraFlags(std::uint8_t value) { bytes_[kCameraFlags] = value; }
    void setInputEnables(std::uint8_t value) { bytes_[kInputEnables] = value; }
    void setCameraModes(std::uint8_t value) { bytes_[kCameraModes] = value; }
    void setVideoOptions(std::uint8_t value) { bytes_[kVideoOptions] = value; }
    void setVideoSignal(std::uint8_t value) { bytes_[kVideoSignal] = value; }
    void setInputSources(std::uint8_t value) { bytes_[kInputSources] = value; }

    // Single named bits; the bit's type selects its byte.
    bool has(CapabilityBit bit) const { return Test(kCapabilities, bit); }
    bool has(CameraFlagBit bit) const { return Test(kCameraFlags, bit); }
    bool has(InputEnableBit bit) const { return Test(kInputEnables, bit); }
    bool has(CameraModeBit bit) const { return Test(kCameraModes, bit); }
    bool has(VideoOptionBit bit) const { return Test(kVideoOptions, bit); }
    bool has(VideoSignalBit bit) const { return Test(kVideoSignal, bit); }
    void set(CapabilityBit bit, bool on) { Assign(kCapabilities, bit, on); }
    void set(CameraFlagBit bit, bool on) { Assign(kCameraFlags, bit, on); }
    void set(InputEnableBit bit, bool on) { Assign(kInputEnables, bit, on); }
    void set(CameraModeBit bit, bool on) { Assign(kCameraModes, bit, on); }
    void set(VideoOptionBit bit, bool on) { Assign(kVideoOptions, bit, on); }
    void set(VideoSignalBit bit, bool on) { Assign(kVideoSignal, bit, on); }

    // Multi-bit fields.
    std::uint8_t frontCameraMode() const { return Field(kCameraModes, kFrontCameraModeMask); }
    std::uint8_t laneCameraMode() const { return Field(kCameraModes, kLaneCameraModeMask); }
    std::uint8_t videoInputCount() const { return Field(kVideoOptions, kVideoInputCountMask); }
    std::uint8_t syncPolarity() const { return Field(kVideoSignal, kSyncPolarityMask); }
    void setFrontCameraMode(std::uint8_t mode) { SetField(kCameraModes, kFrontCameraModeMask, mode); }
    void setLaneCameraMode(std::uint8_t mode) { SetField(kCameraModes, kLaneCameraModeMask, mode); }
    void setVideoInputCount(std::uint8_t count) { SetField(kVideoOptions, kVideoInputCountMask, count); }
    void setSyncPolarity(std::uint8_t polarity) { SetField(kVideoSignal, kSyncPolarityMask, polarity); }

    // Source codes of video inputs 1..4; an input number outside 1..4 reads 0 and writes nothing.
    std::uint8_t inputSource(int input) const;
    void setInputSource(int input, std::uint8_t code);
    std::uint8_t input1Source() const { return inputSource(1); }
    std::uint8_t input2Source() const { return inputSource(2); }
    std::uint8_t input3Source() const { return inputSource(3); }
    std::uint8_t input4Source() const { return inputSource(4); }

    // Camera bits by position: the tables of the camera pages walk the four positions.
    static CapabilityBit CapabilityOf(CameraPosition position);
    static CameraFlagBit AftermarketOf(CameraPosition position);
    static InputEnableBit InputOf(CameraPosition position);
    bool factoryCamera(CameraPosition position) const;  // the right one lives in cameraModes
    void setFactoryCamera(CameraPosition position, bool on);

    // Vehicle texts as 8-bit (Latin-1) bytes, read up to the zero byte and never beyond the field.
    std::string vehicleMake() const { return Text(kVehicleMake); }
    std::string vehicleModel() const { return Text(kVehicleModel); }
    std::uint8_t vehicleMakeLength() const { return bytes_[kVehicleMakeLength]; }
    std::uint8_t vehicleModelLength() const { return bytes_[kVehicleModelLength]; }
    // Stores at most 13 bytes (cut at an embedded zero byte), zero-fills the rest of the field and
    // sets the length byte, so the field always ends with its zero byte.
    void setVehicleMake(std::string_view latin1) { SetText(kVehicleMake, kVehicleMakeLength, latin1); }
    void setVehicleModel(std::string_view latin1) { SetText(kVehicleModel, kVehicleModelLength, latin1); }

    std::uint16_t totalUpdates() const;
    void setTotalUpdates(std::uint16_t count);

    bool operator==(const DeviceConfig&) const = default;

    static constexpr std::size_t kCapabilities = 0;
    static constexpr std::size_t kCameraFlags = 1;
    static constexpr std::size_t kInputEnables = 2;
    static constexpr std::size_t kCameraModes = 3;
    static constexpr std::size_t kVideoOptions = 4;
    static constexpr std::size_t kVideoSignal = 5;
    static constexpr std::size_t kInputSources = 7;
    static constexpr std::size_t kVehicleMake = 8;
    static constexpr std::size_t kVehicleModel = 22;
    static constexpr std::size_t kVehicleMakeLength = 36;
    static constexpr std::size_t kVehicleModelLength = 37;
    static constexpr std::size_t kTotalUpdates = 40;

  private:
    bool Test(std::size_t byte, std::uint8_t mask) const { return (bytes_[byte] & mask) != 0; }
    void Assign(std::size_t byte, std::uint8_t mask, bool on);
    std::uint8_t Field(std::size_t byte, std::uint8_t mask) const;
    void SetField(std::size_t byte, std::uint8_t mask, std::uint8_t value);
    std::string Text(std::size_t offset) const;
    void SetText(std::size_t offset, std::size_t lengthByte, std::string_view latin1);

    Bytes bytes_{};
};
