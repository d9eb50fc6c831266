#include "config/ModelDefaults.h"

#include <gtest/gtest.h>

#include "config/ModelCodes.h"

namespace {

TEST(ModelDefaults, EveryKnownModelOffersVideoSettingsWithAReadableVehicle) {
    for (const auto model : kModelCodes) {
        SCOPED_TRACE(std::string(model.begin(), model.end()));
        const auto defaults = FactoryDefaults(model);
        ASSERT_TRUE(defaults.has_value());
        const DeviceConfig& config = defaults->config;
        EXPECT_TRUE(config.has(CAP_VIDEO_SETTINGS));
        EXPECT_FALSE(config.vehicleMake().empty());
        EXPECT_EQ(config.vehicleMake().size(), config.vehicleMakeLength());
        EXPECT_EQ(config.vehicleModel().size(), config.vehicleModelLength());
        EXPECT_EQ(config.bytes()[43] | config.bytes()[44] | config.bytes()[45], 0);
        EXPECT_EQ(defaults->overlay.overlayParams(), kOverlayParams);
    }
    EXPECT_FALSE(FactoryDefaults(u"ZZ0000R").has_value());
}

TEST(ModelDefaults, ModelsTogetherShowTheFillBranches) {
    auto config = [](std::u16string_view model) { return FactoryDefaults(model)->config; };
    // 149: one model with a rear camera and sync, one with a disabled leading "Front camera".
    EXPECT_TRUE(config(MODEL_TN7581R).has(CAP_REAR_INPUT));
    EXPECT_NE(config(MODEL_TN7581R).syncPolarity(), SYNC_NONE);
    EXPECT_EQ(config(MODEL_TN7580R).videoInputCount(), 1);
    EXPECT_EQ(config(MODEL_TN7580R).syncPolarity(), SYNC_NONE);
    // 146: four inputs; the feature dialog is reachable on several models.
    EXPECT_EQ(config(MODEL_WE5540R).videoInputCount(), 4);
    EXPECT_TRUE(config(MODEL_WE5540R).has(CAP_FEATURES));
    // 150: video in motion offered on one, not on the other.
    EXPECT_TRUE(config(MODEL_QH7720R).has(VID_VIM_SUPPORTED));
    EXPECT_FALSE(config(MODEL_QH772ER).has(VID_VIM_SUPPORTED));
    // LVDS page: factory right camera, HDMI on, every lane mode across the models.
    EXPECT_TRUE(config(MODEL_WJ7731R).has(CAM_FACTORY_RIGHT));
    EXPECT_TRUE(config(MODEL_WD7731R).has(IN_HDMI));
    EXPECT_EQ(config(MODEL_WD7731R).laneCameraMode(), CAMERA_MODE_WITHOUT_SPEED_CHECK);
    EXPECT_EQ(config(MODEL_WH7731R).laneCameraMode(), CAMERA_MODE_MANUAL);
    EXPECT_EQ(config(MODEL_QD7720R).laneCameraMode(), CAMERA_MODE_WITH_SPEED_CHECK);
    // Overlay: pairs 10 and 11 read as on.
    EXPECT_EQ(FactoryDefaults(MODEL_WH7731R)->overlay.enablePair(CameraPosition::Front), 3);
    EXPECT_EQ(FactoryDefaults(MODEL_WH7731R)->overlay.enablePair(CameraPosition::Rear), 2);
}

}  // namespace
