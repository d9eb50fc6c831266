// The Win32 settings windows on a plain context: the Settings button opens the window of each
// model with its camera tab showing and filled; the tab control turns pages and refuses the
// overlay tab until an overlay block has arrived.
#include <gtest/gtest.h>
// windows.h first: commctrl.h needs its types.
#include <windows.h>

#include <commctrl.h>

#include "Win32SettingsRig.h"
#include "config/ModelCodes.h"
#include "platform/Text.h"
#include "settings/CameraPages.h"
#include "settings/OverlayPage.h"
#include "settings/win32/CHDMITabDlg.h"
#include "settings/win32/LVDSTabCtrl.h"
#include "settings/win32/OSDSettingsDlg.h"

namespace {

std::vector<SettingsWindow> VisibleWindows(const SettingsWindows& windows) {
    std::vector<SettingsWindow> shown;
    for (SettingsWindow window :
         {SettingsWindow::VideoSettings, SettingsWindow::HdmiSettings, SettingsWindow::VimSettings,
          SettingsWindow::LvdsHost, SettingsWindow::HdmiHost}) {
        if (IsWindowVisible(windows.Window(window))) {
            shown.push_back(window);
        }
    }
    return shown;
}

}  // namespace

TEST(Win32SettingsWindows, EachModelOpensItsWindowOnItsCameraTab) {
    struct Case {
        std::u16string_view model;
        SettingsWindow window;
        int overlayRequests;
    };
    const Case cases[] = {
        {MODEL_WE5540R, SettingsWindow::VideoSettings, 0},
        {MODEL_TN7581R, SettingsWindow::HdmiSettings, 0},
        {MODEL_TN7580R, SettingsWindow::HdmiSettings, 0},
        {MODEL_QH7720R, SettingsWindow::VimSettings, 0},
        {MODEL_QH772ER, SettingsWindow::VimSettings, 0},
        {MODEL_QD7720R, SettingsWindow::LvdsHost, 0},
        {MODEL_QD772ER, SettingsWindow::LvdsHost, 0},
        {MODEL_WD7731R, SettingsWindow::LvdsHost, 1},
        {MODEL_WH7731R, SettingsWindow::LvdsHost, 1},
        {MODEL_WE5581R, SettingsWindow::LvdsHost, 1},
        {MODEL_WJ7731R, SettingsWindow::LvdsHost, 1},
        {MODEL_TN7931R, SettingsWindow::HdmiHost, 1},
        {u"XX0000R", SettingsWindow::None, 0},
    };
    for (const Case& c : cases) {
        Win32SettingsRig rig;
        rig.ctx.mfg_id = std::u16string(c.model);
        rig.ctx.deviceConfig.setCapabilities(CAP_VIDEO_SETTINGS | CAP_REAR_INPUT | CAP_FRONT_INPUT);
        rig.ctx.deviceConfig.set(IN_HDMI, true);
        ASSERT_EQ(rig.windows->OnSettingsButton(), c.window) << ToUtf8(c.model);
        EXPECT_EQ(VisibleWindows(*rig.windows),
                  c.window == SettingsWindow::None ? std::vector<SettingsWindow>{} : std::vector{c.window})
            << ToUtf8(c.model);
        EXPECT_EQ(rig.overlayRequests, c.overlayRequests) << ToUtf8(c.model);
        if (c.window == SettingsWindow::LvdsHost) {
            LVDSTabCtrl& host = rig.windows->LvdsHost();
            EXPECT_TRUE(host.VideoPage().Visible());
            EXPECT_FALSE(host.OverlayPage().Visible());
            // The model code reached the page: the LVDS-only models have no HDMI input.
            const bool lvdsOnly = c.model == MODEL_QD7720R || c.model == MODEL_QD772ER;
            EXPECT_EQ(IsChecked(host.VideoPage().Handle(), LvdsPageIds::HDMI), !lvdsOnly) << ToUtf8(c.model);
            EXPECT_EQ(IsWindowEnabled(host.VideoPage().Control(LvdsPageIds::HDMI)) != FALSE, !lvdsOnly);
        }
        if (c.window == SettingsWindow::HdmiHost) {
            CHDMITabDlg& host = rig.windows->HdmiHost();
            EXPECT_TRUE(host.VideoPage().Visible());
            EXPECT_FALSE(host.OverlayPage().Visible());
            EXPECT_TRUE(IsChecked(host.VideoPage().Handle(), HdmiPageIds::HDMI));
        }
    }
}

TEST(Win32SettingsWindows, OverlayTabIsRefusedUntilItsBlockArrivesThenFilled) {
    Win32SettingsRig rig;
    rig.ctx.mfg_id = std::u16string(MODEL_TN7931R);
    rig.ctx.overlayConfig = OverlayConfig(OverlayConfig::Bytes{0, 0, 0, 0, 0x04, 0x00, 0x00, 0});
    ASSERT_EQ(rig.windows->OnSettingsButton(), SettingsWindow::HdmiHost);
    CHDMITabDlg& host = rig.windows->HdmiHost();

    ChooseTab(host.Handle(), 1);
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text, u"OSD Settings Not Supported");
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(TabCtrl_GetCurSel(host.Tabs()), 0);
    EXPECT_TRUE(host.VideoPage().Visible());
    EXPECT_FALSE(host.OverlayPage().Visible());

    rig.ctx.overlayReceived = true;
    ChooseTab(host.Handle(), 1);
    EXPECT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(TabCtrl_GetCurSel(host.Tabs()), 1);
    EXPECT_FALSE(host.VideoPage().Visible());
    EXPECT_TRUE(host.OverlayPage().Visible());
    const HWND page = host.OverlayPage().Handle();
    EXPECT_TRUE(IsChecked(page, OverlayPageIds::ENABLE[1]));  // front pair 01
    EXPECT_FALSE(IsChecked(page, OverlayPageIds::ENABLE[0]));
    EXPECT_EQ(SendDlgItemMessageW(page, OverlayPageIds::CAPTION[0], CB_GETCOUNT, 0, 0), 2);

    // The page sits inside the tab control's body.
    RECT tab{}, shown{};
    GetWindowRect(host.Tabs(), &tab);
    GetWindowRect(page, &shown);
    EXPECT_GE(shown.left, tab.left);
    EXPECT_GT(shown.top, tab.top);
    EXPECT_LE(shown.right, tab.right);
    EXPECT_LE(shown.bottom, tab.bottom);
}
