#include <gtest/gtest.h>

#include "app/UpdaterContext.h"
#include "settings/DialogActions.h"
#include "settings/OverlayPage.h"
#include "settings/VimSettings.h"

namespace {

TEST(OverlayPage, AllPairsOnShowTicksAndWriteBackAsOne) {
    OverlayConfig overlay({0x01, 0x02, 0x03, 0xAB, 0xFF, 0x00, 0x00, 0xCD});
    OverlayPageControls page;
    FillOverlayPage(overlay, page);
    for (const auto& box : page.enable) {
        EXPECT_TRUE(box.checked);
    }
    ApplyOverlayPage(page, overlay);
    const OverlayConfig::Bytes expected{0x10, 0x07, 0x70, 0xAB, 0x55, 0x00, 0x00, 0xCD};
    EXPECT_EQ(overlay.bytes(), expected);
}

TEST(OverlayPage, CaptionPairsOtherThanElevenShowTheInputName) {
    // rear 01, front 10 in byte 5 (low nibble 0x5 kept); left 11, right 00 in byte 6 (0xA0 kept).
    OverlayConfig overlay({0, 0, 0, 0, 0, 0b10'01'0101, 0b1010'00'11, 0});
    OverlayPageControls page;
    FillOverlayPage(overlay, page);
    EXPECT_EQ(page.caption[0].selection, CAPTION_INPUT_NAME);
    EXPECT_EQ(page.caption[1].selection, CAPTION_INPUT_NAME);
    EXPECT_EQ(page.caption[2].selection, CAPTION_CAMERA_NAME);
    EXPECT_EQ(page.caption[3].selection, CAPTION_INPUT_NAME);
    EXPECT_EQ(page.caption[0].items, (std::vector<std::u16string>{u"Rear Camera", u"Input 1"}));
    EXPECT_EQ(page.caption[3].items, (std::vector<std::u16string>{u"Right Camera", u"Input 4"}));

    ApplyOverlayPage(page, overlay);
    EXPECT_EQ(overlay.bytes()[5], 0x05);
    EXPECT_EQ(overlay.bytes()[6], 0xA3);
}

TEST(OverlayPage, EarlierTickSurvivesAPairOfZeroAndIsWritten) {
    OverlayPageControls page;
    FillOverlayPage(OverlayConfig({0, 0, 0, 0, 0x01, 0, 0, 0}), page);
    EXPECT_TRUE(page.enable[0].checked);
    OverlayConfig second;
    FillOverlayPage(second, page);
    EXPECT_TRUE(page.enable[0].checked);
    EXPECT_EQ(page.caption[0].items.size(), 2u);  // lists rebuilt, not appended twice
    ApplyOverlayPage(page, second);
    EXPECT_EQ(second.overlayEnables(), 0x01);
    EXPECT_EQ(second.overlayParams(), kOverlayParams);
}

TEST(OverlayPage, ContextFillClearsAndApplySetsPending) {
    UpdaterContext ctx;
    ctx.overlayWritePending = true;
    OverlayPageControls page;
    FillOverlayPage(ctx, page);
    EXPECT_FALSE(ctx.overlayWritePending);
    ApplyOverlayPage(ctx, page);
    EXPECT_TRUE(ctx.overlayWritePending);
    EXPECT_FALSE(ctx.configWritePending);
}

DeviceConfig VimRecord(std::uint8_t capabilities, std::uint8_t cameras) {
    DeviceConfig config;
    config.setCapabilities(capabilities);
    config.setCameraFlags(cameras);
    return config;
}

TEST(VimSettings, RearCameraShowsTheRecordButIsNeverEnabled) {
    VimControls controls;
    DeviceConfig config = VimRecord(CAP_REAR_INPUT | CAP_FRONT_INPUT, CAM_AFTERMARKET_REAR);
    FillVimSettings(config, controls);
    EXPECT_TRUE(controls.camera[0].checked);
    EXPECT_FALSE(controls.camera[0].enabled);
    EXPECT_TRUE(controls.camera[1].enabled);
    EXPECT_FALSE(controls.camera[1].checked);
    AcceptVimSettings(controls, config);
    EXPECT_TRUE(config.has(CAM_AFTERMARKET_REAR));
}

TEST(VimSettings, VideoInMotionUnsupportedStaysDisabledAndStoresItsTick) {
    VimControls controls;
    DeviceConfig config = VimRecord(0, 0);
    config.set(SIG_VIDEO_IN_MOTION, true);
    FillVimSettings(config, controls);
    EXPECT_FALSE(controls.videoInMotion.enabled);
    AcceptVimSettings(controls, config);
    EXPECT_FALSE(config.has(SIG_VIDEO_IN_MOTION));  // unticked unless an earlier showing ticked it
}

TEST(VimSettings, BoxEnabledForAnEarlierInterfaceKeepsStateAndClearsTheBit) {
    VimControls controls;
    FillVimSettings(VimRecord(CAP_LEFT_INPUT, CAM_AFTERMARKET_LEFT), controls);
    EXPECT_TRUE(controls.camera[2].enabled);
    EXPECT_TRUE(controls.camera[2].checked);
    controls.camera[2].checked = false;  // user unticks, cancels

    DeviceConfig other = VimRecord(0, CAM_AFTERMARKET_LEFT);  // no left input
    FillVimSettings(other, controls);
    EXPECT_TRUE(controls.camera[2].enabled);
    EXPECT_FALSE(controls.camera[2].checked);
    AcceptVimSettings(controls, other);
    EXPECT_FALSE(other.has(CAM_AFTERMARKET_LEFT));
}

TEST(VimSettings, AcceptChangesOnlyItsFiveBits) {
    DeviceConfig::Bytes bytes;
    bytes.fill(0xFF);
    DeviceConfig config(bytes);
    VimControls controls;
    AcceptVimSettings(controls, config);
    EXPECT_EQ(config.cameraFlags(), 0xE1);
    EXPECT_EQ(config.videoSignal(), 0x7F);
    for (std::size_t i = 0; i < kDeviceConfigSize; ++i) {
        if (i != 1 && i != 5) {
            EXPECT_EQ(config.bytes()[i], 0xFF) << i;
        }
    }
    UpdaterContext ctx;
    AcceptVimSettingsDialog(ctx, controls);
    EXPECT_TRUE(ctx.configWritePending);
}

}  // namespace
