// Not a check: shows each settings page and the features dialog in turn, filled from a record
// that offers every control, for screenshots. Runs only when TELVIX_SETTINGS_SHOWCASE_SECONDS is
// set (how long each page stays on screen); TELVIX_SETTINGS_SHOWCASE_PAGE picks one page by name.
// Before each page it prints "SHOWN <name> <width>x<height>" (the window, at the screen's top left
// corner) on its own line, after it "HIDDEN <name>"; it saves
// nothing itself. Run it under Xvfb and capture the screen while a page is shown:
//   TELVIX_SETTINGS_SHOWCASE_SECONDS=3 wine test_win32.exe --gtest_filter=Win32SettingsShowcase.*
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Win32SettingsRig.h"
#include "config/ModelCodes.h"
#include "settings/win32/CFeaturesDlg.h"

namespace {

struct ShowcasePage {
    const char* name;
    std::u16string_view model;
    int tab;  // for the hosts; -1 for the features dialog
};

constexpr ShowcasePage kPages[] = {
    {"settings-video", MODEL_WE5540R, 0},
    {"settings-hdmi", MODEL_TN7581R, 0},
    {"settings-vim", MODEL_QH7720R, 0},
    {"settings-lvds", MODEL_WD7731R, 0},
    {"settings-lvds-overlay", MODEL_WD7731R, 1},
    {"settings-hdmi-host", MODEL_TN7931R, 0},
    {"settings-hdmi-host-overlay", MODEL_TN7931R, 1},
    {"features", MODEL_WD7731R, -1},
};

void OfferEverything(UpdaterContext& ctx) {
    ctx.deviceConfig.setCapabilities(CAP_VIDEO_SETTINGS | CAP_FEATURES | CAP_REAR_INPUT | CAP_FRONT_INPUT |
                                     CAP_LEFT_INPUT | CAP_RIGHT_INPUT);
    ctx.deviceConfig.setVideoInputCount(4);
    ctx.deviceConfig.setSyncPolarity(SYNC_POSITIVE);
    ctx.deviceConfig.set(VID_VIM_SUPPORTED, true);
    ctx.deviceConfig.setCameraFlags(CAM_AFTERMARKET_REAR | CAM_FACTORY_FRONT);
    ctx.deviceConfig.setFrontCameraMode(CAMERA_MODE_MANUAL);
    ctx.deviceConfig.setLaneCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    ctx.overlayConfig = OverlayConfig(OverlayConfig::Bytes{0, 0, 0, 0, 0x11, 0x30, 0x03, 0});
    ctx.mcu_serial = u"00112233-44556677-8899AABB-CCDDEEFF";
    ctx.featureBits = 0x03;
}

void HoldOnScreen(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        PumpMessages();
        Sleep(20);
    }
}

}  // namespace

TEST(Win32SettingsShowcase, EveryPageInTurn) {
    const char* seconds = std::getenv("TELVIX_SETTINGS_SHOWCASE_SECONDS");
    if (seconds == nullptr) {
        GTEST_SKIP() << "set TELVIX_SETTINGS_SHOWCASE_SECONDS to show the pages";
    }
    const char* only = std::getenv("TELVIX_SETTINGS_SHOWCASE_PAGE");
    for (const ShowcasePage& page : kPages) {
        if (only != nullptr && *only != '\0' && std::string(only) != page.name) {
            continue;
        }
        Win32SettingsRig rig;
        // As in the program, the owner is on screen (wine maps no window of a hidden owner).
        SetWindowPos(rig.mainWindow.Handle(), HWND_BOTTOM, 1000, 900, 200, 100,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        OfferEverything(rig.ctx);
        rig.labels.rows[rig.ctx.mcu_serial] = {
            {1, u"Remote Start"}, {2, u"Heated Seats"}, {3, u"Navigation Input"}};
        rig.ctx.mfg_id = std::u16string(page.model);
        HWND window = nullptr;
        if (page.tab < 0) {
            rig.windows->OnFeatureActivation();
            rig.windows->FeatureResults().ShowFeatureReadResult(u"Click Accept to Start Programming", false);
            window = rig.windows->FeaturesWindow();
        } else {
            window = rig.windows->Window(rig.windows->OnSettingsButton());
            rig.ctx.overlayReceived = true;
            if (page.tab > 0) {
                ChooseTab(window, page.tab);
            }
        }
        ASSERT_NE(window, nullptr) << page.name;
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        PumpMessages();
        RECT shown{};
        GetWindowRect(window, &shown);
        std::printf("SHOWN %s %ldx%ld\n", page.name, shown.right - shown.left, shown.bottom - shown.top);
        std::fflush(stdout);
        HoldOnScreen(std::atof(seconds));
        std::printf("HIDDEN %s\n", page.name);
        std::fflush(stdout);
    }
}
