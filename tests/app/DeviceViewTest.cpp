// What the device area and the search area show for each link mode and information view.
#include <gtest/gtest.h>

#include "tests/app/ControllerBed.h"

namespace {
TEST(DeviceView, LinkModesSetIconAndControls) {
    ControllerBed bed;
    bed.searchPanel.AppendResult({u"Ford", u"F-150", u"2012-2016", u"x"});
    bed.searchPanel.installEnabled = true;
    bed.deviceArea.settingsShown = bed.deviceArea.featureShown = true;
    bed.deviceArea.vehicleText = u"Ford F-150";

    bed.context.iUsbConnectSts = USB_APPLICATION;
    bed.controller.ShowLinkStatus();
    EXPECT_EQ(bed.deviceArea.icon, ICON_USB_APPLICATION);
    EXPECT_TRUE(bed.searchArea.listsEnabled);
    EXPECT_EQ(bed.searchPanel.ResultCount(), 1);

    bed.context.iUsbConnectSts = USB_CONNECTING;  // changes nothing
    bed.controller.ShowLinkStatus();
    EXPECT_EQ(bed.deviceArea.icon, ICON_USB_APPLICATION);

    bed.searchArea.searchEnabled = true;
    bed.context.iUsbConnectSts = USB_BOOTLOADER;
    bed.controller.ShowLinkStatus();
    EXPECT_EQ(bed.deviceArea.icon, ICON_USB_LOADER);
    EXPECT_EQ(bed.deviceArea.statusText, u"Ready for download");
    EXPECT_FALSE(bed.searchArea.listsEnabled);
    EXPECT_FALSE(bed.searchArea.searchEnabled);
    EXPECT_FALSE(bed.deviceArea.settingsShown);
    EXPECT_TRUE(bed.deviceArea.featureShown);  // only a disconnect hides it
    EXPECT_TRUE(bed.searchPanel.installEnabled);

    bed.context.iUsbConnectSts = USB_NOT_CONNECTED;
    bed.controller.ShowLinkStatus();
    EXPECT_EQ(bed.deviceArea.icon, ICON_USB_DISCONNECTED);
    EXPECT_EQ(bed.deviceArea.statusText, u"Device disconnected");
    EXPECT_TRUE(bed.deviceArea.vehicleText.empty());
    EXPECT_EQ(bed.searchPanel.ResultCount(), 0);
    EXPECT_FALSE(bed.searchPanel.installEnabled);
    EXPECT_FALSE(bed.deviceArea.featureShown);
}

TEST(DeviceView, IdentityViewFollowsTheCapabilityBits) {
    for (std::uint8_t capabilities : {std::uint8_t{0}, std::uint8_t{CAP_VIDEO_SETTINGS | CAP_FEATURES}}) {
        ControllerBed bed;
        bed.context.deviceConfig.setCapabilities(capabilities);
        bed.context.deviceConfig.setVehicleMake("Citro\xEBn");  // 8-bit text
        bed.context.deviceConfig.setVehicleModel("C5");
        bed.deviceArea.featuresText = u"old";
        bed.controller.ShowDeviceInfo(INFO_IDENTITY);
        EXPECT_EQ(bed.deviceArea.vehicleText, u"Citro\u00EBn C5");
        EXPECT_TRUE(bed.deviceArea.featuresText.empty());
        EXPECT_EQ(bed.deviceArea.statusText, u"Initializing");
        const bool all = capabilities != 0;
        EXPECT_EQ(bed.deviceArea.settingsShown, all);
        EXPECT_EQ(bed.deviceArea.featureShown, all);
        EXPECT_EQ(bed.deviceArea.featureEnabled, all);
    }
}

TEST(DeviceView, SoftwareViewAppendsTheYearsToAtMost99CharactersReadBack) {
    ControllerBed bed;
    bed.context.softwareRecord.vehicle_year_from = u"2012";
    bed.context.softwareRecord.vehicle_year_to = u"2016";
    bed.context.softwareRecord.sw_description = u"Rear camera";
    bed.context.label_serial = u"TV-0001";
    bed.deviceArea.vehicleText = std::u16string(120, u'x');
    bed.controller.ShowDeviceInfo(INFO_SOFTWARE);
    EXPECT_EQ(bed.deviceArea.vehicleText, std::u16string(99, u'x') + u" 2012-2016");
    EXPECT_EQ(bed.deviceArea.featuresText, u"Rear camera");
    EXPECT_EQ(bed.deviceArea.statusText, u"TV-0001");
    EXPECT_TRUE(bed.searchArea.searchEnabled);
}

TEST(DeviceView, LoaderViewShowsTheModelCode) {
    ControllerBed bed;
    bed.context.mfg_id = u"WE5581R";
    bed.deviceArea.vehicleText = u"x";
    bed.deviceArea.settingsShown = bed.deviceArea.featureShown = true;
    bed.controller.ShowDeviceInfo(INFO_LOADER);
    EXPECT_TRUE(bed.deviceArea.vehicleText.empty());
    EXPECT_EQ(bed.deviceArea.statusText, u"WE5581R");
    EXPECT_FALSE(bed.deviceArea.settingsShown);
    EXPECT_FALSE(bed.deviceArea.featureShown);
    EXPECT_TRUE(bed.searchArea.searchEnabled);
}
}  // namespace
