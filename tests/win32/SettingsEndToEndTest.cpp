// The Win32 settings windows and features dialog driving the real program against an emulated
// interface and the test servers, by control id as the user would: what the interface stores
// after Accept is what the settings rules make of the record shown and the controls changed.
#include <gtest/gtest.h>

#include "Win32SettingsRig.h"
#include "config/ModelCodes.h"
#include "platform/Text.h"
#include "settings/CameraPages.h"
#include "settings/FeatureDialogLogic.h"
#include "settings/OverlayPage.h"
#include "settings/TabHostLogic.h"
#include "settings/VideoInputSettings.h"
#include "settings/VimSettings.h"
#include "settings/win32/CFeaturesDlg.h"
#include "settings/win32/CHDMITabDlg.h"
#include "settings/win32/LVDSTabCtrl.h"
#include "settings/win32/OSDSettingsDlg.h"
#include "tests/support/HarnessProgram.h"

namespace {

// An interface of the model whose record offers every control.
HarnessOptions InterfaceWithEverything(std::u16string_view model) {
    HarnessOptions options = InterfaceOf(ToUtf8(model));
    options.editFirmware = [](ApplicationOptions& firmware) {
        DeviceConfig config(firmware.config.bytes());
        config.setCapabilities(CAP_VIDEO_SETTINGS | CAP_FEATURES | CAP_REAR_INPUT | CAP_FRONT_INPUT |
                               CAP_LEFT_INPUT | CAP_RIGHT_INPUT);
        config.setCameraFlags(CAM_FACTORY_FRONT);
        config.setInputEnables(0);
        config.setVideoInputCount(4);
        config.set(VID_VIM_SUPPORTED, true);
        config.setSyncPolarity(SYNC_POSITIVE);
        config.setFrontCameraMode(CAMERA_MODE_MANUAL);
        config.setLaneCameraMode(CAMERA_MODE_MANUAL);
        firmware.config = StoredRecord(config.bytes());
        firmware.overlay = OverlayBlock{0x01, 0x02, 0x03, 0x44, 0x00, 0x00, 0x00, 0x55};
        firmware.featureBits = 0xA5;
    };
    return options;
}

bool HasMessage(const HarnessProgram& harness, std::u16string_view text) {
    for (const auto& message : harness.messages.shown) {
        if (message.text == text) {
            return true;
        }
    }
    return false;
}

// The windows on the harness's program, its messages and its overlay read.
struct WindowsOnProgram : Win32SettingsRig {
    explicit WindowsOnProgram(HarnessProgram& harness)
        : Win32SettingsRig(&harness.Context(), &harness.messages, nullptr,
                           [&harness] { harness.program->RequestOverlayRead(); }) {}
};

struct ConfigCase {
    std::u16string_view model;
    SettingsWindow window;
    // The user's changes, on the window (and its camera page for a host).
    std::function<void(SettingsWindows&)> edit;
    // What the rules make of the record shown with those changes.
    std::function<DeviceConfig(const DeviceConfig& shown)> expected;
};

std::vector<ConfigCase> ConfigCases() {
    return {
        {MODEL_WE5540R, SettingsWindow::VideoSettings,
         [](SettingsWindows& w) {
             ChooseItem(w.Window(SettingsWindow::VideoSettings), VideoSettingsIds::INPUT2, 0);
             ChooseItem(w.Window(SettingsWindow::VideoSettings), VideoSettingsIds::INPUT4, 1);
             Click(w.Window(SettingsWindow::VideoSettings), VideoSettingsIds::PARKING_LINES);
         },
         [](const DeviceConfig& shown) {
             VideoInputControls c;
             FillVideoInputs(shown, VideoDialog::Video146, c);
             c.inputs[1].Select(0);
             c.inputs[3].Select(1);
             c.parkingLines.checked = !c.parkingLines.checked;
             DeviceConfig out = shown;
             AcceptVideoInputs(c, VideoDialog::Video146, out);
             return out;
         }},
        {MODEL_TN7581R, SettingsWindow::HdmiSettings,
         [](SettingsWindows& w) {
             ChooseItem(w.Window(SettingsWindow::HdmiSettings), VideoSettingsIds::INPUT2, 2);
             ChooseItem(w.Window(SettingsWindow::HdmiSettings), VideoSettingsIds::SYNC_POLARITY, 1);
             Click(w.Window(SettingsWindow::HdmiSettings), VideoSettingsIds::SYNC_ON_GREEN);
         },
         [](const DeviceConfig& shown) {
             VideoInputControls c;
             FillVideoInputs(shown, VideoDialog::Hdmi149, c);
             c.inputs[1].Select(2);
             c.syncPolarity.Select(1);
             c.syncOnGreen.checked = true;
             DeviceConfig out = shown;
             AcceptVideoInputs(c, VideoDialog::Hdmi149, out);
             return out;
         }},
        {MODEL_QH7720R, SettingsWindow::VimSettings,
         [](SettingsWindows& w) {
             Click(w.Window(SettingsWindow::VimSettings), VimSettingsIds::CAMERA[1]);
             Click(w.Window(SettingsWindow::VimSettings), VimSettingsIds::VIDEO_IN_MOTION);
         },
         [](const DeviceConfig& shown) {
             VimControls c;
             FillVimSettings(shown, c);
             c.camera[1].checked = !c.camera[1].checked;
             c.videoInMotion.checked = !c.videoInMotion.checked;
             DeviceConfig out = shown;
             AcceptVimSettings(c, out);
             return out;
         }},
        {MODEL_WD7731R, SettingsWindow::LvdsHost,
         [](SettingsWindows& w) {
             const HWND page = w.LvdsHost().VideoPage().Handle();
             Click(page, LvdsPageIds::AFTERMARKET[0]);
             Click(page, LvdsPageIds::FACTORY[2]);
             Click(page, LvdsPageIds::GROUP_A[1]);
             Click(page, LvdsPageIds::GROUP_B[2]);
         },
         [](const DeviceConfig& shown) {
             LvdsPageControls c;
             c.modelCode = std::u16string(MODEL_WD7731R);
             FillLvdsPage(shown, c);
             c.aftermarket[0].checked = !c.aftermarket[0].checked;
             c.factory[2].checked = !c.factory[2].checked;
             c.groupA.selection = LVDS_A_WITH_SPEED_CHECK;
             c.groupB.selection = LVDS_B_WITHOUT_SPEED_CHECK;
             DeviceConfig out = shown;
             ApplyLvdsPage(c, out);
             return out;
         }},
        {MODEL_TN7931R, SettingsWindow::HdmiHost,
         [](SettingsWindows& w) {
             const HWND page = w.HdmiHost().VideoPage().Handle();
             Click(page, HdmiPageIds::AFTERMARKET[3]);
             Click(page, HdmiPageIds::FACTORY_REAR);
             Click(page, HdmiPageIds::GROUP_A[1]);
             ChooseItem(page, HdmiPageIds::SYNC_POLARITY, 1);
             Click(page, HdmiPageIds::PARKING_LINES);
         },
         [](const DeviceConfig& shown) {
             HdmiPageControls c;
             FillHdmiPage(shown, c);
             c.aftermarket[3].checked = !c.aftermarket[3].checked;
             c.factoryRear.checked = !c.factoryRear.checked;
             c.groupA.selection = HDMI_A_WITHOUT_SPEED_CHECK;
             c.syncPolarity.Select(1);
             c.parkingLines.checked = !c.parkingLines.checked;
             DeviceConfig out = shown;
             ApplyHdmiPage(c, out);
             return out;
         }},
    };
}

int AcceptIdOf(SettingsWindow window) {
    return window == SettingsWindow::LvdsHost || window == SettingsWindow::HdmiHost
               ? TabHostIds::ACCEPT
               : VideoSettingsIds::ACCEPT;
}

}  // namespace

TEST(Win32SettingsEndToEnd, EveryWindowsAcceptStoresWhatTheRulesMakeOfItsControls) {
    auto servers = HarnessServers::FromEnvironment();
    if (!servers) {
        GTEST_SKIP() << "needs scripts/test-servers";
    }
    for (const ConfigCase& c : ConfigCases()) {
        SCOPED_TRACE(ToUtf8(c.model));
        HarnessProgram harness(*servers, InterfaceWithEverything(c.model));
        harness.Start();
        ASSERT_TRUE(harness.RunUntilState(MS_IDLE)) << "state " << harness.State();
        WindowsOnProgram rig(harness);

        ASSERT_EQ(rig.windows->OnSettingsButton(), c.window);
        const DeviceConfig shown = harness.Context().deviceConfig;
        c.edit(*rig.windows);
        Click(rig.windows->Window(c.window), AcceptIdOf(c.window));
        EXPECT_FALSE(IsWindowVisible(rig.windows->Window(c.window)));
        ASSERT_TRUE(harness.RunUntil(
            [&] { return HasMessage(harness, u"Device settings have been successfully updated"); }));
        const DeviceConfig expected = c.expected(shown);
        EXPECT_NE(expected, shown);  // the edit changed something
        EXPECT_EQ(DeviceConfig(harness.telvix.application->StoredConfig().bytes()), expected);
        EXPECT_EQ(harness.State(), MS_IDLE);
    }
}

TEST(Win32SettingsEndToEnd, OverlayTabAcceptStoresOnlyTheOverlayBlock) {
    auto servers = HarnessServers::FromEnvironment();
    if (!servers) {
        GTEST_SKIP() << "needs scripts/test-servers";
    }
    HarnessProgram harness(*servers, InterfaceWithEverything(MODEL_WD7731R));
    harness.Start();
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE)) << "state " << harness.State();
    WindowsOnProgram rig(harness);
    LVDSTabCtrl& host = rig.windows->LvdsHost();
    const auto storedBefore = harness.telvix.application->StoredConfig().bytes();

    ASSERT_EQ(rig.windows->OnSettingsButton(), SettingsWindow::LvdsHost);
    ASSERT_TRUE(harness.RunUntil([&] { return harness.Context().overlayReceived; }));
    Click(host.VideoPage().Handle(), LvdsPageIds::AFTERMARKET[0]);  // dropped: not the selected tab
    ChooseTab(host.Handle(), 1);
    ASSERT_TRUE(host.OverlayPage().Visible());
    Click(host.OverlayPage().Handle(), OverlayPageIds::ENABLE[1]);
    ChooseItem(host.OverlayPage().Handle(), OverlayPageIds::CAPTION[2], CAPTION_CAMERA_NAME);
    Click(host.Handle(), TabHostIds::ACCEPT);
    ASSERT_TRUE(harness.RunUntil(
        [&] { return HasMessage(harness, u"OSD settings have been successfully updated"); }));
    // Front caption on (01), left caption names the camera (11), parameters 10 07 70.
    EXPECT_EQ(harness.telvix.application->StoredOverlay(),
              (OverlayBlock{0x10, 0x07, 0x70, 0x44, 0x04, 0x00, 0x03, 0x55}));
    EXPECT_EQ(harness.telvix.application->StoredConfig().bytes(), storedBefore);
}

TEST(Win32SettingsEndToEnd, FeatureChoiceIsProgrammedAndItsOutcomeShown) {
    auto servers = HarnessServers::FromEnvironment();
    if (!servers) {
        GTEST_SKIP() << "needs scripts/test-servers";
    }
    HarnessProgram harness(*servers, InterfaceWithEverything(MODEL_WD7731R));
    harness.Start();
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE)) << "state " << harness.State();
    WindowsOnProgram rig(harness);
    CFeaturesDlg& dialog = rig.windows->Features();
    const HWND window = dialog.Handle();
    // The harness's program reports to its recording port; each new result goes on to the dialog,
    // as the window's own port would take it.
    std::size_t forwarded = 0;
    const auto runUntil = [&](const std::function<bool()>& done) {
        return harness.RunUntil([&] {
            for (auto& results = harness.features.results; forwarded < results.size(); ++forwarded) {
                const auto& result = results[forwarded];
                if (result.write) {
                    rig.windows->FeatureResults().ShowFeatureWriteResult(result.text, result.failed);
                } else {
                    rig.windows->FeatureResults().ShowFeatureReadResult(result.text, result.failed);
                }
            }
            return done();
        });
    };

    rig.windows->OnFeatureActivation();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(TextOf(window, FeatureDialogIds::STATUS), u"Please Wait...");
    EXPECT_TRUE(IsWindowVisible(dialog.Control(FeatureDialogIds::BUSY)));
    ASSERT_TRUE(runUntil([&] { return !harness.Context().featureReadRequest && forwarded > 0; }));
    EXPECT_EQ(TextOf(window, FeatureDialogIds::STATUS), u"Click Accept to Start Programming");
    EXPECT_FALSE(IsWindowVisible(dialog.Control(FeatureDialogIds::BUSY)));
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(FeatureDialogIds::INPUT[1])));  // bit 1 clear

    harness.telvix.application->SetProgramSequence({{2, 0}});
    Click(window, FeatureDialogIds::INPUT[0]);
    ASSERT_TRUE(IsWindowEnabled(dialog.Control(FeatureDialogIds::ACCEPT)));
    Click(window, FeatureDialogIds::ACCEPT);
    ASSERT_TRUE(runUntil([&] {
        return TextOf(window, FeatureDialogIds::STATUS) == u"Device features have been successfully updated";
    }));
    EXPECT_EQ(dialog.IconNumber(), ICON_SUCCESS);
    EXPECT_EQ(harness.telvix.application->StoredFeatureBits(), 0xA1);  // bits 3..7 as read
}
