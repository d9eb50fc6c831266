#include "config/DeviceConfig.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

DeviceConfig Filled(std::uint8_t value) {
    DeviceConfig::Bytes bytes;
    bytes.fill(value);
    return DeviceConfig(bytes);
}

// Index of every byte that differs between two records.
std::vector<std::size_t> ChangedBytes(const DeviceConfig& a, const DeviceConfig& b) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < kDeviceConfigSize; ++i) {
        if (a.bytes()[i] != b.bytes()[i]) {
            changed.push_back(i);
        }
    }
    return changed;
}

TEST(DeviceConfigBits, EachNamedBitLivesInItsByteAndMask) {
    struct Case {
        std::size_t byte;
        std::uint8_t mask;
        std::function<void(DeviceConfig&, bool)> set;
        std::function<bool(const DeviceConfig&)> has;
    };
    const std::vector<Case> cases = {
        {0, 0x01, [](auto& c, bool on) { c.set(CAP_INPUT1_AUDIO, on); },
         [](auto& c) { return c.has(CAP_INPUT1_AUDIO); }},
        {0, 0x02, [](auto& c, bool on) { c.set(CAP_FEATURES, on); },
         [](auto& c) { return c.has(CAP_FEATURES); }},
        {0, 0x04, [](auto& c, bool on) { c.set(CAP_VIDEO_SETTINGS, on); },
         [](auto& c) { return c.has(CAP_VIDEO_SETTINGS); }},
        {0, 0x40, [](auto& c, bool on) { c.set(CAP_RIGHT_INPUT, on); },
         [](auto& c) { return c.has(CAP_RIGHT_INPUT); }},
        {1, 0x02, [](auto& c, bool on) { c.set(CAM_AFTERMARKET_REAR, on); },
         [](auto& c) { return c.has(CAM_AFTERMARKET_REAR); }},
        {1, 0x80, [](auto& c, bool on) { c.set(CAM_FACTORY_LEFT, on); },
         [](auto& c) { return c.has(CAM_FACTORY_LEFT); }},
        {2, 0x01, [](auto& c, bool on) { c.set(IN_HDMI, on); }, [](auto& c) { return c.has(IN_HDMI); }},
        {2, 0x20, [](auto& c, bool on) { c.set(IN_RIGHT, on); }, [](auto& c) { return c.has(IN_RIGHT); }},
        {3, 0x01, [](auto& c, bool on) { c.setFactoryCamera(CameraPosition::Right, on); },
         [](auto& c) { return c.factoryCamera(CameraPosition::Right); }},
        {1, 0x40, [](auto& c, bool on) { c.setFactoryCamera(CameraPosition::Front, on); },
         [](auto& c) { return c.factoryCamera(CameraPosition::Front); }},
        {4, 0x10, [](auto& c, bool on) { c.set(VID_VIM_SUPPORTED, on); },
         [](auto& c) { return c.has(VID_VIM_SUPPORTED); }},
        {4, 0x80, [](auto& c, bool on) { c.set(VID_PARKING_LINES_OFF, on); },
         [](auto& c) { return c.has(VID_PARKING_LINES_OFF); }},
        {5, 0x40, [](auto& c, bool on) { c.set(SIG_SYNC_ON_GREEN, on); },
         [](auto& c) { return c.has(SIG_SYNC_ON_GREEN); }},
        {5, 0x80, [](auto& c, bool on) { c.set(SIG_VIDEO_IN_MOTION, on); },
         [](auto& c) { return c.has(SIG_VIDEO_IN_MOTION); }},
    };
    for (const auto& item : cases) {
        SCOPED_TRACE(testing::Message() << "byte " << item.byte << " mask " << int(item.mask));
        DeviceConfig config = Filled(0xFF);
        EXPECT_TRUE(item.has(config));
        item.set(config, false);
        EXPECT_FALSE(item.has(config));
        EXPECT_EQ(config.bytes()[item.byte], 0xFF & ~item.mask);
        EXPECT_EQ(ChangedBytes(config, Filled(0xFF)), std::vector<std::size_t>{item.byte});

        DeviceConfig empty;
        item.set(empty, true);
        EXPECT_EQ(empty.bytes()[item.byte], item.mask);
        EXPECT_EQ(ChangedBytes(empty, DeviceConfig{}).size(), 1u);
    }
}

TEST(DeviceConfigFields, MultiBitFieldsReadAndWriteOnlyTheirBits) {
    DeviceConfig config = Filled(0xFF);
    config.setFrontCameraMode(CAMERA_MODE_MANUAL);
    EXPECT_EQ(config.cameraModes(), 0xFB);  // 1111 1011: bits 1-2 = 01
    config.setLaneCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    EXPECT_EQ(config.cameraModes(), 0xD3);  // 11 010 01 1
    EXPECT_EQ(config.frontCameraMode(), 1);
    EXPECT_EQ(config.laneCameraMode(), 2);

    config.setVideoInputCount(3);
    EXPECT_EQ(config.videoOptions(), 0xF7);  // bits 1-3 = 011
    EXPECT_EQ(config.videoInputCount(), 3);
    config.setSyncPolarity(SYNC_NEGATIVE);
    EXPECT_EQ(config.videoSignal(), 0xEF);  // bits 4-5 = 10
    EXPECT_EQ(config.syncPolarity(), 2);
}

TEST(DeviceConfigFields, OversizedValueDoesNotSpillIntoNeighbours) {
    DeviceConfig config;
    config.setFrontCameraMode(0xFF);
    EXPECT_EQ(config.cameraModes(), 0x06);
    config.setSyncPolarity(0xFF);
    EXPECT_EQ(config.videoSignal(), 0x30);
    config.setInputSource(2, 0xFF);
    EXPECT_EQ(config.inputSources(), 0x0C);
}

TEST(DeviceConfigFields, SourceCodesSitTwoBitsPerInput) {
    DeviceConfig config;
    config.setInputSources(0b11'10'01'00);
    EXPECT_EQ(config.input1Source(), 0);
    EXPECT_EQ(config.input2Source(), 1);
    EXPECT_EQ(config.input3Source(), 2);
    EXPECT_EQ(config.input4Source(), 3);
    config.setInputSource(3, SOURCE_CAMERA_ALT);
    EXPECT_EQ(config.inputSources(), 0b11'11'01'00);
    config.setInputSource(0, 3);
    config.setInputSource(5, 3);
    EXPECT_EQ(config.inputSources(), 0b11'11'01'00);
    EXPECT_EQ(config.inputSource(5), 0);
}

TEST(DeviceConfigFields, TotalUpdatesIsLittleEndianAtBytes40And41) {
    DeviceConfig config = Filled(0xAA);
    config.setTotalUpdates(0x1234);
    EXPECT_EQ(config.bytes()[40], 0x34);
    EXPECT_EQ(config.bytes()[41], 0x12);
    EXPECT_EQ(config.bytes()[39], 0xAA);
    EXPECT_EQ(config.bytes()[42], 0xAA);
    EXPECT_EQ(config.totalUpdates(), 0x1234);
}

TEST(DeviceConfigVehicleText, ReadsUpToZeroByteAndNeverBeyondField) {
    DeviceConfig config;
    auto& bytes = config.bytes();
    const std::string make = "Chevrolet";
    std::copy(make.begin(), make.end(), bytes.begin() + 8);
    EXPECT_EQ(config.vehicleMake(), "Chevrolet");

    // A field filled to its last byte without a zero must not run into the model field.
    std::fill(bytes.begin() + 8, bytes.begin() + 22, 'M');
    std::fill(bytes.begin() + 22, bytes.begin() + 36, 'D');
    EXPECT_EQ(config.vehicleMake(), std::string(14, 'M'));
    EXPECT_EQ(config.vehicleModel(), std::string(14, 'D'));
}

TEST(DeviceConfigVehicleText, LongNamesAreCutSoTheFieldEndsWithZero) {
    DeviceConfig config = Filled(0x5A);
    config.setVehicleMake("ABCDEFGHIJKLMNOPQRST");
    config.setVehicleModel("0123456789ABCD");  // exactly 14
    EXPECT_EQ(config.vehicleMake(), "ABCDEFGHIJKLM");
    EXPECT_EQ(config.vehicleMakeLength(), 13);
    EXPECT_EQ(config.bytes()[21], 0);
    EXPECT_EQ(config.vehicleModel(), "0123456789ABC");
    EXPECT_EQ(config.vehicleModelLength(), 13);
    EXPECT_EQ(config.bytes()[35], 0);
    // Only the two fields and their length bytes changed.
    for (std::size_t i : ChangedBytes(config, Filled(0x5A))) {
        EXPECT_TRUE((i >= 8 && i <= 35) || i == 36 || i == 37) << i;
    }
}

TEST(DeviceConfigVehicleText, ShortNameClearsTheRestOfTheField) {
    DeviceConfig config;
    config.setVehicleMake("Mercedes-Benz");
    config.setVehicleMake("BMW");
    EXPECT_EQ(config.vehicleMake(), "BMW");
    EXPECT_EQ(config.vehicleMakeLength(), 3);
    for (std::size_t i = 11; i < 22; ++i) {
        EXPECT_EQ(config.bytes()[i], 0) << i;
    }
}

TEST(DeviceConfigVehicleText, EmbeddedZeroEndsTheName) {
    DeviceConfig config;
    config.setVehicleModel(std::string_view("Ram\0X", 5));
    EXPECT_EQ(config.vehicleModel(), "Ram");
    EXPECT_EQ(config.vehicleModelLength(), 3);
}

}  // namespace
