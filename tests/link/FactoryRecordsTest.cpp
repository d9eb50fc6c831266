// The emulator's factory records, read through the program's own record type: every model offers
// the settings windows a branch of their fill needs.
#include "sim/FactoryRecords.h"

#include <gtest/gtest.h>

#include "config/DeviceConfig.h"
#include "config/ModelCodes.h"
#include "config/OverlayConfig.h"
#include "platform/Text.h"

namespace {

DeviceConfig Config(std::u16string_view model) {
    return DeviceConfig(FactoryRecordOf(ToUtf8(model))->record.bytes());
}

OverlayConfig Overlay(std::u16string_view model) {
    return OverlayConfig(FactoryRecordOf(ToUtf8(model))->overlay);
}

TEST(FactoryRecords, EveryKnownModelOffersVideoSettingsWithAReadableVehicle) {
    for (const auto model : kModelCodes) {
        SCOPED_TRACE(ToUtf8(model));
        ASSERT_TRUE(FactoryRecordOf(ToUtf8(model)).has_value());
        const DeviceConfig config = Config(model);
        EXPECT_TRUE(config.has(CAP_VIDEO_SETTINGS));
        EXPECT_FALSE(config.vehicleMake().empty());
        EXPECT_EQ(config.vehicleMake().size(), config.vehicleMakeLength());
        EXPECT_EQ(config.vehicleModel().size(), config.vehicleModelLength());
        EXPECT_EQ(config.bytes()[43] | config.bytes()[44] | config.bytes()[45], 0);
        EXPECT_EQ(Overlay(model).overlayParams(), kOverlayParams);
    }
    EXPECT_FALSE(FactoryRecordOf("ZZ0000R").has_value());
}

TEST(FactoryRecords, ModelsTogetherShowTheFillBranches) {
    // 149: one model with a rear camera and sync, one with a disabled leading "Front camera".
    EXPECT_TRUE(Config(MODEL_TN7581R).has(CAP_REAR_INPUT));
    EXPECT_NE(Config(MODEL_TN7581R).syncPolarity(), SYNC_NONE);
    EXPECT_EQ(Config(MODEL_TN7580R).videoInputCount(), 1);
    EXPECT_EQ(Config(MODEL_TN7580R).syncPolarity(), SYNC_NONE);
    // 146: four inputs; the feature dialog is reachable on several models.
    EXPECT_EQ(Config(MODEL_WE5540R).videoInputCount(), 4);
    EXPECT_TRUE(Config(MODEL_WE5540R).has(CAP_FEATURES));
    // 150: video in motion offered on one, not on the other.
    EXPECT_TRUE(Config(MODEL_QH7720R).has(VID_VIM_SUPPORTED));
    EXPECT_FALSE(Config(MODEL_QH772ER).has(VID_VIM_SUPPORTED));
    // LVDS page: factory right camera, HDMI on, every lane mode across the models.
    EXPECT_TRUE(Config(MODEL_WJ7731R).has(CAM_FACTORY_RIGHT));
    EXPECT_TRUE(Config(MODEL_WD7731R).has(IN_HDMI));
    EXPECT_EQ(Config(MODEL_WD7731R).laneCameraMode(), CAMERA_MODE_WITHOUT_SPEED_CHECK);
    EXPECT_EQ(Config(MODEL_WH7731R).laneCameraMode(), CAMERA_MODE_MANUAL);
    EXPECT_EQ(Config(MODEL_QD7720R).laneCameraMode(), CAMERA_MODE_WITH_SPEED_CHECK);
    // Overlay: pairs 10 and 11 read as on.
    EXPECT_EQ(Overlay(MODEL_WH7731R).enablePair(CameraPosition::Front), 3);
    EXPECT_EQ(Overlay(MODEL_WH7731R).enablePair(CameraPosition::Rear), 2);
}

}  // namespace
