// While an install runs, no settings window, feature request or Settings click reaches the
// controller: nothing is stored and the caller gets the text to tell the user. Outside an install
// every request goes through as before, including Accept in 146 storing idle from a parked state.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/UpdaterContext.h"
#include "settings/CameraPages.h"
#include "settings/DialogActions.h"
#include "settings/FeatureDialogLogic.h"
#include "settings/OverlayPage.h"
#include "settings/SettingsChoice.h"

namespace {

constexpr std::u16string_view kSettingsRefusal =
    u"Settings cannot be changed while new software is being installed.";

// Running: the install from its first state, the accepted upgrade, and the two states that pass on.
const std::int32_t kRunning[] = {MS_LOAD_UPGRADE,       MS_WAIT_UPGRADE,      MS_START_UPGRADE,
                                 MS_CHECK_AVAILABILITY, MS_WAIT_FLASH,        MS_DOWNLOAD_FAILED,
                                 MS_WAIT_RECORD,        MS_WAIT_WRITE_CONFIG, MS_VERIFY_FAILED,
                                 MS_WAIT_INTEGRITY,     MS_INSTALLED};
// Not running: idle and the other controller states, and the parked install failures.
const std::int32_t kNotRunning[] = {
    MS_IDLE,          MS_CONFIG_FAILED, MS_WAIT_CONFIG_WRITE, MS_WAIT_PROGRAMMING, MS_NOT_AVAILABLE,
    MS_RECORD_FAILED, MS_WRITE_FAILED,  MS_UPDATE_FAILED,     MS_DETAILS_FAILED};

struct SettingsAccept {
    const char* name;
    std::function<SettingsOutcome(UpdaterContext&)> accept;
};

// Each window's Accept with one box turned over, so an accepted edit always changes a block.
std::vector<SettingsAccept> Accepts() {
    return {
        {"video 146",
         [](UpdaterContext& ctx) {
             VideoInputControls controls;
             FillVideoInputs(ctx.deviceConfig, VideoDialog::Video146, controls);
             controls.parkingLines.checked = !controls.parkingLines.checked;
             return AcceptVideoSettingsDialog(ctx, controls, VideoDialog::Video146);
         }},
        {"hdmi 149",
         [](UpdaterContext& ctx) {
             VideoInputControls controls;
             FillVideoInputs(ctx.deviceConfig, VideoDialog::Hdmi149, controls);
             controls.parkingLines.checked = !controls.parkingLines.checked;
             return AcceptVideoSettingsDialog(ctx, controls, VideoDialog::Hdmi149);
         }},
        {"video in motion",
         [](UpdaterContext& ctx) {
             VimControls controls;
             FillVimSettings(ctx.deviceConfig, controls);
             controls.videoInMotion.checked = !controls.videoInMotion.checked;
             return AcceptVimSettingsDialog(ctx, controls);
         }},
        {"lvds page",
         [](UpdaterContext& ctx) {
             LvdsPageControls controls;
             controls.modelCode = u"QD7720R";
             FillLvdsPage(ctx.deviceConfig, controls);
             controls.aftermarket[1].checked = !controls.aftermarket[1].checked;
             return ApplyLvdsPage(ctx, controls);
         }},
        {"hdmi page",
         [](UpdaterContext& ctx) {
             HdmiPageControls controls;
             FillHdmiPage(ctx.deviceConfig, controls);
             controls.aftermarket[1].checked = !controls.aftermarket[1].checked;
             return ApplyHdmiPage(ctx, controls);
         }},
        {"overlay page",
         [](UpdaterContext& ctx) {
             OverlayPageControls controls;
             FillOverlayPage(ctx.overlayConfig, controls);
             controls.enable[0].checked = !controls.enable[0].checked;
             return ApplyOverlayPage(ctx, controls);
         }},
    };
}

void Identified(UpdaterContext& ctx, std::int32_t state) {
    ctx.mfg_id = u"QD7720R";
    for (std::size_t i = 0; i < kDeviceConfigSize; ++i)
        ctx.deviceConfig.bytes()[i] = static_cast<std::uint8_t>(0x5A + 7 * i);
    for (std::size_t i = 0; i < kOverlayConfigSize; ++i)
        ctx.overlayConfig.bytes()[i] = static_cast<std::uint8_t>(0x21 + i);
    ctx.mainState = state;
}

TEST(SettingsDuringInstall, AcceptWhileAnInstallRunsStoresNothing) {
    for (const SettingsAccept& a : Accepts()) {
        for (std::int32_t state : kRunning) {
            UpdaterContext ctx;
            Identified(ctx, state);
            const DeviceConfig config = ctx.deviceConfig;
            const OverlayConfig overlay = ctx.overlayConfig;
            const SettingsOutcome outcome = a.accept(ctx);
            EXPECT_EQ(outcome.refusal, kSettingsRefusal) << a.name << " " << state;
            EXPECT_EQ(ctx.deviceConfig, config) << a.name << " " << state;
            EXPECT_EQ(ctx.overlayConfig, overlay) << a.name << " " << state;
            EXPECT_FALSE(ctx.configWritePending || ctx.overlayWritePending) << a.name << " " << state;
            EXPECT_EQ(ctx.mainState, state) << a.name;
        }
    }
}

TEST(SettingsDuringInstall, AcceptOutsideAnInstallRequestsTheWriteAnd146StillLeavesAParkedState) {
    for (const SettingsAccept& a : Accepts()) {
        for (std::int32_t state : kNotRunning) {
            UpdaterContext ctx;
            Identified(ctx, state);
            const DeviceConfig config = ctx.deviceConfig;
            const OverlayConfig overlay = ctx.overlayConfig;
            EXPECT_FALSE(a.accept(ctx).Refused()) << a.name << " " << state;
            EXPECT_TRUE(ctx.deviceConfig != config || ctx.overlayConfig != overlay) << a.name;
            EXPECT_TRUE(ctx.configWritePending || ctx.overlayWritePending) << a.name << " " << state;
            EXPECT_EQ(ctx.mainState, std::string(a.name) == "video 146" ? MS_IDLE : state) << a.name;
        }
    }
}

TEST(SettingsDuringInstall, FeatureRequestsAndTheSettingsButtonWaitForTheInstall) {
    for (bool running : {true, false}) {
        const std::int32_t state = running ? MS_WAIT_FLASH : MS_UPDATE_FAILED;
        UpdaterContext ctx;
        Identified(ctx, state);
        ctx.overlayReceived = true;

        const SettingsOutcome activation = StartFeatureActivation(ctx);
        EXPECT_EQ(activation.Refused(), running);
        EXPECT_EQ(ctx.featureReadRequest, !running);
        EXPECT_EQ(ctx.mainState, running ? state : MS_IDLE);

        ctx.mainState = state;
        ctx.featureBits = 0xF8;
        FeatureView view;
        view.choice = {true, false, true};
        view.status = u"Click Accept to Start Programming";
        const SettingsOutcome accept = OnFeatureAccept(ctx, view);
        EXPECT_EQ(accept.Refused(), running);
        EXPECT_EQ(ctx.featureWriteRequest, !running);
        EXPECT_EQ(ctx.featureBits, running ? 0xF8 : 0xFD);
        EXPECT_EQ(view.busy, !running) << "a refused Accept leaves the dialog as it was";

        const SettingsChoice choice = PrepareSettingsWindow(ctx);
        EXPECT_EQ(choice.refusal.empty(), !running);
        EXPECT_EQ(choice.window, running ? SettingsWindow::None : SettingsWindow::LvdsHost);
        EXPECT_EQ(ctx.overlayReceived, running) << "no new overlay block is asked for during an install";
    }
}

}  // namespace
