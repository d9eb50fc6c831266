#include "settings/CameraPages.h"

#include <gtest/gtest.h>

#include "app/UpdaterContext.h"

namespace {

constexpr std::uint8_t kAllInputs = CAP_REAR_INPUT | CAP_FRONT_INPUT | CAP_LEFT_INPUT | CAP_RIGHT_INPUT;
constexpr auto kRear = Index(CameraPosition::Rear);
constexpr auto kFront = Index(CameraPosition::Front);
constexpr auto kLeft = Index(CameraPosition::Left);

DeviceConfig Record(std::uint8_t capabilities) {
    DeviceConfig config;
    config.setCapabilities(capabilities);
    return config;
}

LvdsPageControls LvdsPage(std::u16string model = u"WD7731R") {
    LvdsPageControls page;
    page.modelCode = std::move(model);
    return page;
}

TEST(LvdsApply, FactoryAndAftermarketRearBothTicked) {
    DeviceConfig config = Record(kAllInputs);
    auto page = LvdsPage();
    page.factory[kRear].checked = true;
    page.aftermarket[kRear].checked = true;
    ApplyLvdsPage(page, config);
    EXPECT_TRUE(config.has(CAM_FACTORY_REAR));
    EXPECT_TRUE(config.has(IN_REAR));
    EXPECT_FALSE(config.has(CAM_AFTERMARKET_REAR));

    auto next = LvdsPage();
    FillLvdsPage(config, next);
    EXPECT_TRUE(next.factory[kRear].checked);
    EXPECT_TRUE(next.aftermarket[kRear].checked);  // from the input bit
}

TEST(LvdsApply, AftermarketWithoutFactorySetsCameraAndInput) {
    DeviceConfig config = Record(kAllInputs);
    config.set(CAM_FACTORY_REAR, true);
    auto page = LvdsPage();
    page.aftermarket[kRear].checked = true;
    ApplyLvdsPage(page, config);
    EXPECT_TRUE(config.has(CAM_AFTERMARKET_REAR));
    EXPECT_TRUE(config.has(IN_REAR));
    EXPECT_FALSE(config.has(CAM_FACTORY_REAR));
}

TEST(LvdsApply, EveryPositionMapsToItsOwnBits) {
    DeviceConfig config = Record(kAllInputs);
    auto page = LvdsPage();
    page.factory[Index(CameraPosition::Right)].checked = true;
    page.aftermarket[kFront].checked = true;
    ApplyLvdsPage(page, config);
    EXPECT_EQ(config.cameraFlags(), CAM_AFTERMARKET_FRONT);
    EXPECT_EQ(config.inputEnables(), IN_FRONT);
    EXPECT_EQ(config.cameraModes(), CAM_FACTORY_RIGHT);
}

TEST(LvdsFill, ClearFactoryBitKeepsTheEarlierTickAndApplyStoresIt) {
    auto page = LvdsPage();
    DeviceConfig first = Record(kAllInputs);
    first.set(CAM_FACTORY_LEFT, true);
    FillLvdsPage(first, page);
    EXPECT_TRUE(page.factory[kLeft].checked);

    DeviceConfig second = Record(kAllInputs);
    FillLvdsPage(second, page);
    EXPECT_TRUE(page.factory[kLeft].checked);
    ApplyLvdsPage(page, second);
    EXPECT_TRUE(second.has(CAM_FACTORY_LEFT));
}

TEST(LvdsFill, AftermarketBoxWithoutCapabilityKeepsItsTickAndIsRead) {
    auto page = LvdsPage();
    page.aftermarket[kFront].checked = true;
    DeviceConfig config = Record(CAP_REAR_INPUT);  // no front input
    FillLvdsPage(config, page);
    EXPECT_TRUE(page.aftermarket[kFront].checked);
    EXPECT_TRUE(page.aftermarket[kFront].enabled);
    ApplyLvdsPage(page, config);
    EXPECT_TRUE(config.has(CAM_AFTERMARKET_FRONT));
    EXPECT_TRUE(config.has(IN_FRONT));

    // With the capability, the tick follows the record again.
    DeviceConfig offered = Record(CAP_FRONT_INPUT);
    FillLvdsPage(offered, page);
    EXPECT_FALSE(page.aftermarket[kFront].checked);
}

TEST(LvdsHdmi, ModelsWithoutHdmiDisableTheBoxForGood) {
    for (auto model : {u"QD7720R", u"QD772ER"}) {
        auto page = LvdsPage(model);
        DeviceConfig config = Record(kAllInputs);
        config.set(IN_HDMI, true);
        FillLvdsPage(config, page);
        EXPECT_FALSE(page.hdmi.enabled);
        EXPECT_FALSE(page.hdmi.checked);
        ApplyLvdsPage(page, config);
        EXPECT_FALSE(config.has(IN_HDMI));

        // A later fill for another model ticks it from the record but does not enable it.
        page.modelCode = u"WD7731R";
        config.set(IN_HDMI, true);
        FillLvdsPage(config, page);
        EXPECT_TRUE(page.hdmi.checked);
        EXPECT_FALSE(page.hdmi.enabled);
    }
}

TEST(LvdsModes, ListedCodesSelectOthersLeaveTheGroup) {
    auto page = LvdsPage();
    DeviceConfig config = Record(kAllInputs);
    config.setFrontCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    config.setLaneCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    FillLvdsPage(config, page);
    EXPECT_EQ(page.groupA.selection, LVDS_A_WITH_SPEED_CHECK);
    EXPECT_EQ(page.groupB.selection, LVDS_B_WITHOUT_SPEED_CHECK);

    config.setFrontCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);  // not offered by group A
    config.setLaneCameraMode(0);
    FillLvdsPage(config, page);
    EXPECT_EQ(page.groupA.selection, LVDS_A_WITH_SPEED_CHECK);
    EXPECT_EQ(page.groupB.selection, LVDS_B_WITHOUT_SPEED_CHECK);

    page.groupA.selection = LVDS_A_MANUAL;
    page.groupB.selection = LVDS_B_WITH_SPEED_CHECK;
    ApplyLvdsPage(page, config);
    EXPECT_EQ(config.frontCameraMode(), CAMERA_MODE_MANUAL);
    EXPECT_EQ(config.laneCameraMode(), CAMERA_MODE_WITH_SPEED_CHECK);
}

TEST(LvdsApply, KeepsUnnamedBitsAndBytesBeyondFive) {
    DeviceConfig::Bytes bytes;
    bytes.fill(0xFF);
    DeviceConfig config(bytes);
    auto page = LvdsPage();
    ApplyLvdsPage(page, config);  // everything unticked, no radio selected
    EXPECT_EQ(config.capabilities(), 0xFF);
    EXPECT_EQ(config.cameraFlags(), 0x01);
    EXPECT_EQ(config.inputEnables(), 0xC2);
    EXPECT_EQ(config.cameraModes(), 0xFE);
    for (std::size_t i = 4; i < kDeviceConfigSize; ++i) {
        EXPECT_EQ(config.bytes()[i], 0xFF) << i;
    }
}

TEST(CameraPageContext, FillDropsAPendingWriteAndApplyRequestsOne) {
    UpdaterContext ctx;
    ctx.configWritePending = true;
    LvdsPageControls lvds;
    FillLvdsPage(ctx, lvds);
    EXPECT_FALSE(ctx.configWritePending);
    ApplyLvdsPage(ctx, lvds);
    EXPECT_TRUE(ctx.configWritePending);

    HdmiPageControls hdmi;
    FillHdmiPage(ctx, hdmi);
    EXPECT_FALSE(ctx.configWritePending);
    ApplyHdmiPage(ctx, hdmi);
    EXPECT_TRUE(ctx.configWritePending);
}

TEST(HdmiPage, NoModelTestForTheHdmiBox) {
    HdmiPageControls page;
    DeviceConfig config = Record(kAllInputs);
    config.set(IN_HDMI, true);
    FillHdmiPage(config, page);
    EXPECT_TRUE(page.hdmi.checked);
    EXPECT_TRUE(page.hdmi.enabled);
}

TEST(HdmiPage, OnlyTheRearPositionKnowsAFactoryCamera) {
    HdmiPageControls page;
    DeviceConfig config = Record(kAllInputs);
    config.set(CAM_FACTORY_FRONT, true);
    config.set(CAM_FACTORY_LEFT, true);
    config.set(CAM_FACTORY_RIGHT, true);
    page.factoryRear.checked = true;
    page.aftermarket[kRear].checked = true;
    page.aftermarket[kFront].checked = true;
    ApplyHdmiPage(page, config);
    EXPECT_TRUE(config.has(CAM_FACTORY_REAR));
    EXPECT_FALSE(config.has(CAM_AFTERMARKET_REAR));
    EXPECT_TRUE(config.has(IN_REAR));
    // Front: aftermarket and input from the box, even beside a factory camera; factory bits stay.
    EXPECT_TRUE(config.has(CAM_AFTERMARKET_FRONT));
    EXPECT_TRUE(config.has(IN_FRONT));
    EXPECT_TRUE(config.has(CAM_FACTORY_FRONT));
    EXPECT_TRUE(config.has(CAM_FACTORY_LEFT));
    EXPECT_TRUE(config.has(CAM_FACTORY_RIGHT));
    EXPECT_FALSE(config.has(CAM_AFTERMARKET_LEFT));
}

TEST(HdmiPage, FrontModeOffersManualAndWithoutSpeedCheck) {
    HdmiPageControls page;
    DeviceConfig config = Record(kAllInputs);
    config.setFrontCameraMode(CAMERA_MODE_WITHOUT_SPEED_CHECK);
    FillHdmiPage(config, page);
    EXPECT_EQ(page.groupA.selection, HDMI_A_WITHOUT_SPEED_CHECK);
    config.setFrontCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);  // not on this page
    FillHdmiPage(config, page);
    EXPECT_EQ(page.groupA.selection, HDMI_A_WITHOUT_SPEED_CHECK);
    page.groupA.selection = HDMI_A_MANUAL;
    ApplyHdmiPage(page, config);
    EXPECT_EQ(config.frontCameraMode(), CAMERA_MODE_MANUAL);
    page.groupA.selection = HDMI_A_WITHOUT_SPEED_CHECK;
    ApplyHdmiPage(page, config);
    EXPECT_EQ(config.frontCameraMode(), CAMERA_MODE_WITHOUT_SPEED_CHECK);
}

TEST(HdmiPage, SyncAndParkingLinesAsTheVideoDialog) {
    HdmiPageControls page;
    DeviceConfig config = Record(kAllInputs);
    config.setSyncPolarity(SYNC_POSITIVE);
    config.set(VID_PARKING_LINES_OFF, true);
    FillHdmiPage(config, page);
    EXPECT_TRUE(page.syncPolarity.enabled);
    EXPECT_TRUE(page.syncOnGreen.enabled);
    EXPECT_EQ(page.syncPolarity.selection, 0);
    EXPECT_FALSE(page.parkingLines.checked);
    EXPECT_FALSE(page.syncOnGreen.checked);

    page.syncPolarity.selection = 1;
    page.syncOnGreen.checked = true;
    page.parkingLines.checked = true;
    ApplyHdmiPage(page, config);
    EXPECT_EQ(config.syncPolarity(), SYNC_NEGATIVE);
    EXPECT_TRUE(config.has(SIG_SYNC_ON_GREEN));
    EXPECT_FALSE(config.has(VID_PARKING_LINES_OFF));

    config.setSyncPolarity(SYNC_NONE);
    FillHdmiPage(config, page);
    EXPECT_FALSE(page.syncPolarity.enabled);
    EXPECT_TRUE(page.syncPolarity.items.empty());
    EXPECT_TRUE(page.syncOnGreen.checked);  // never set by the fill
}

}  // namespace
