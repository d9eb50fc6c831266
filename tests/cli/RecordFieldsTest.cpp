// The field table of config set / overlay set: every writable name touches its own bits only.
#include <gtest/gtest.h>

#include <map>

#include "tools/cli/RecordFields.h"

namespace {
std::map<std::string, int> Numbers(const std::vector<FieldValue>& fields) {
    std::map<std::string, int> values;
    for (const FieldValue& f : fields)
        values[f.name] = f.number;
    return values;
}
}  // namespace

TEST(RecordFields, EachWritableConfigFieldChangesOnlyItself) {
    for (std::uint8_t fill : {std::uint8_t{0x00}, std::uint8_t{0xFF}}) {
        DeviceConfig::Bytes bytes;
        bytes.fill(fill);
        const DeviceConfig base(bytes);
        const auto before = Numbers(DecodeConfigFields(base));
        for (const FieldValue& field : DecodeConfigFields(base)) {
            if (!field.writable)
                continue;
            for (int value : {0, 1}) {
                SCOPED_TRACE(field.name + "=" + std::to_string(value));
                DeviceConfig edited = base;
                ASSERT_FALSE(
                    ApplyConfigAssignment(edited, field.name + "=" + std::to_string(value)).has_value());
                auto after = Numbers(DecodeConfigFields(edited));
                EXPECT_EQ(after[field.name], value);
                after[field.name] = before.at(field.name);
                EXPECT_EQ(after, before);
                // Bytes without a name (6, the reserved tail) are kept.
                EXPECT_EQ(edited.bytes()[6], fill);
                EXPECT_EQ(edited.bytes()[45], fill);
            }
        }
    }
}

TEST(RecordFields, NamedValuesRangesAndRefusals) {
    DeviceConfig config;
    EXPECT_FALSE(ApplyConfigAssignment(config, "cameraModes.laneCameraMode=without-speed-check").has_value());
    EXPECT_EQ(config.laneCameraMode(), CAMERA_MODE_WITHOUT_SPEED_CHECK);
    EXPECT_FALSE(ApplyConfigAssignment(config, "inputSources.input3=camera-alt").has_value());
    EXPECT_EQ(config.inputSource(3), SOURCE_CAMERA_ALT);
    EXPECT_FALSE(ApplyConfigAssignment(config, "videoOptions.videoInputCount=0x7").has_value());
    EXPECT_EQ(config.videoInputCount(), 7);
    const DeviceConfig kept = config;
    for (const char* bad :
         {"videoOptions.videoInputCount=8", "videoSignal.syncPolarity=-1", "inputEnables.hdmi=", "=1",
          "totalUpdates=5", "capabilities.rearInput=1", "vehicleModel=X", "inputEnables.hdmi"}) {
        EXPECT_TRUE(ApplyConfigAssignment(config, bad).has_value()) << bad;
    }
    EXPECT_EQ(config, kept);
}

TEST(RecordFields, OverlayAssignmentsSetTheirPairAndTheParameters) {
    OverlayConfig overlay;
    EXPECT_FALSE(ApplyOverlayAssignment(overlay, "right.overlay=on").has_value());
    EXPECT_FALSE(ApplyOverlayAssignment(overlay, "front.caption=camera").has_value());
    EXPECT_TRUE(overlay.overlayEnabled(CameraPosition::Right));
    EXPECT_TRUE(overlay.cameraCaption(CameraPosition::Front));
    EXPECT_FALSE(overlay.overlayEnabled(CameraPosition::Front));
    EXPECT_FALSE(overlay.cameraCaption(CameraPosition::Right));
    EXPECT_EQ(overlay.overlayParams(), kOverlayParams);
    const OverlayConfig kept = overlay;
    EXPECT_TRUE(ApplyOverlayAssignment(overlay, "rear.caption=name").has_value());
    EXPECT_TRUE(ApplyOverlayAssignment(overlay, "middle.overlay=on").has_value());
    EXPECT_EQ(overlay, kept);
}
