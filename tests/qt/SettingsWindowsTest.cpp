// The settings windows as the main window drives them: which window the Settings button opens,
// the tab hosts' overlay tab and Accept, and what Cancel and Accept store.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "SettingsTestSupport.h"
#include "config/ModelCodes.h"
#include "platform/Text.h"
#include "settings/qt/CFeaturesDlg.h"
#include "settings/qt/CGMVIMSettingsDlg.h"
#include "settings/qt/CHDMISettingsDlg.h"
#include "settings/qt/CHDMITabDlg.h"
#include "settings/qt/CLVDSSettingDlg.h"
#include "settings/qt/CSettingsDlg.h"
#include "settings/qt/LVDSTabCtrl.h"
#include "settings/qt/OSDSettingsDlg.h"

namespace {

constexpr std::uint8_t kAllInputs =
    CAP_VIDEO_SETTINGS | CAP_REAR_INPUT | CAP_FRONT_INPUT | CAP_LEFT_INPUT | CAP_RIGHT_INPUT;

struct ModelCase {
    std::u16string_view code;
    const char* windowClass;  // nullptr: nothing opens
    bool asksForOverlay;
    bool clearsOverlayReceived;
};

const ModelCase kModelCases[] = {
    {MODEL_WE5540R, "CSettingsDlg", false, false},
    {MODEL_TN7581R, "CHDMISettingsDlg", false, false},
    {MODEL_TN7580R, "CHDMISettingsDlg", false, false},
    {MODEL_QH7720R, "CGMVIMSettingsDlg", false, false},
    {MODEL_QH772ER, "CGMVIMSettingsDlg", false, false},
    {MODEL_QD7720R, "LVDSTabCtrl", false, true},
    {MODEL_QD772ER, "LVDSTabCtrl", false, true},
    {MODEL_WD7731R, "LVDSTabCtrl", true, true},
    {MODEL_WH7731R, "LVDSTabCtrl", true, true},
    {MODEL_WE5581R, "LVDSTabCtrl", true, true},
    {MODEL_WJ7731R, "LVDSTabCtrl", true, true},
    {MODEL_TN7931R, "CHDMITabDlg", true, true},
    {u"XX9999R", nullptr, false, false},
};

// An overlay reply: rear and front overlays on, rear captioned with the camera's name.
OverlayConfig OverlayReply() {
    return OverlayConfig(OverlayConfig::Bytes{0x01, 0x02, 0x03, 0xAA, 0x05, 0x3F, 0xF0, 0xBB});
}

}  // namespace

TEST(SettingsWindows, AreCreatedHiddenModelessAndInOrder) {
    SettingsRig rig;
    std::vector<std::string> order;
    for (QObject* child : rig.mainWindow->children()) {
        if (auto* dialog = qobject_cast<QDialog*>(child)) {
            order.emplace_back(dialog->metaObject()->className());
            EXPECT_FALSE(dialog->isVisible()) << order.back();
            EXPECT_FALSE(dialog->isModal()) << order.back();
            QPushButton* ok = Control<QPushButton>(dialog, 1);
            ASSERT_NE(ok, nullptr) << order.back();
            EXPECT_TRUE(ok->isHidden()) << order.back();
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"CSettingsDlg", "CHDMISettingsDlg", "CGMVIMSettingsDlg",
                                               "CFeaturesDlg", "LVDSTabCtrl", "CHDMITabDlg"}));
    // Each host has its own overlay page, and the tabs in their order.
    EXPECT_NE(rig.windows->LvdsHost().OverlayPage(), rig.windows->HdmiHost().OverlayPage());
    for (SettingsTabHost* host : {static_cast<SettingsTabHost*>(&rig.windows->LvdsHost()),
                                  static_cast<SettingsTabHost*>(&rig.windows->HdmiHost())}) {
        QTabWidget* tabs = Control<QTabWidget>(host, 1030);
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(0), "VIDEO INPUT SETTINGS");
        EXPECT_EQ(tabs->tabText(1), "VIDEO INPUT TEXT OVERLAY SETTINGS");
        EXPECT_NE(Control<QPushButton>(host, 1011), nullptr);
    }
}

TEST(SettingsWindows, SettingsButtonOpensTheWindowOfEachModelCode) {
    for (const ModelCase& model : kModelCases) {
        SCOPED_TRACE(ToUtf8(model.code));
        SettingsRig rig;
        rig.ctx.mfg_id = std::u16string(model.code);
        rig.ctx.deviceConfig.setCapabilities(kAllInputs);
        rig.ctx.overlayReceived = true;

        const SettingsWindow opened = rig.windows->OnSettingsButton();

        const std::vector<std::string> shown = VisibleWindowClasses(*rig.windows);
        if (model.windowClass == nullptr) {
            EXPECT_EQ(opened, SettingsWindow::None);
            EXPECT_TRUE(shown.empty());
        } else {
            EXPECT_EQ(shown, std::vector<std::string>{model.windowClass});
        }
        EXPECT_EQ(rig.overlayRequests, model.asksForOverlay ? 1 : 0);
        EXPECT_EQ(rig.ctx.overlayReceived, !model.clearsOverlayReceived);
        if (opened == SettingsWindow::LvdsHost) {
            EXPECT_EQ(rig.windows->LvdsHost().ModelCode(), model.code);
        }
    }
}

TEST(SettingsWindows, OverlayTabIsRefusedBeforeTheReplyAndFilledAfterIt) {
    SettingsRig rig;
    rig.ctx.mfg_id = std::u16string(MODEL_TN7931R);
    rig.ctx.deviceConfig.setCapabilities(kAllInputs);
    rig.windows->OnSettingsButton();
    CHDMITabDlg& host = rig.windows->HdmiHost();
    QTabWidget* tabs = host.Tabs();
    OSDSettingsDlg* overlay = host.OverlayPage();
    ASSERT_EQ(rig.overlayRequests, 1);

    tabs->setCurrentIndex(1);  // before the reply
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text, u"OSD Settings Not Supported");
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(rig.messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Control<QComboBox>(overlay, 1035)->count(), 0);  // never filled

    rig.ctx.overlayConfig = OverlayReply();  // as DecodeOverlayReply takes it
    rig.ctx.overlayReceived = true;
    tabs->setCurrentIndex(1);
    EXPECT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(Control<QCheckBox>(overlay, 1032)->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(overlay, 1033)->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(overlay, 1040)->isChecked());
    QComboBox* rearCaption = Control<QComboBox>(overlay, 1035);
    ASSERT_EQ(rearCaption->count(), 2);
    EXPECT_EQ(rearCaption->itemText(0), "Rear Camera");
    EXPECT_EQ(rearCaption->currentIndex(), 0);
    EXPECT_EQ(Control<QComboBox>(overlay, 1036)->currentIndex(), 1);  // front: "Input 2"

    Control<QPushButton>(&host, 1011)->click();
    EXPECT_FALSE(host.isVisible());
    EXPECT_TRUE(rig.ctx.overlayWritePending);
    EXPECT_FALSE(rig.ctx.configWritePending);
    const OverlayConfig::Bytes written = rig.ctx.overlayConfig.bytes();
    EXPECT_EQ(written, (OverlayConfig::Bytes{0x10, 0x07, 0x70, 0xAA, 0x05, 0x30 | 0x0F, 0xF0, 0xBB}));
}

TEST(SettingsWindows, AcceptOnTheOverlayTabDropsTheVideoEdits) {
    SettingsRig rig;
    rig.ctx.mfg_id = std::u16string(MODEL_WD7731R);
    rig.ctx.deviceConfig.setCapabilities(kAllInputs);
    const DeviceConfig before = rig.ctx.deviceConfig;
    rig.windows->OnSettingsButton();
    LVDSTabCtrl& host = rig.windows->LvdsHost();
    QCheckBox* rearAftermarket = Control<QCheckBox>(host.VideoPage(), 1013);
    QRadioButton* laneManual = Control<QRadioButton>(host.VideoPage(), 1058);
    ASSERT_FALSE(rearAftermarket->isChecked());

    rearAftermarket->click();
    laneManual->click();
    rig.ctx.overlayConfig = OverlayReply();
    rig.ctx.overlayReceived = true;
    host.Tabs()->setCurrentIndex(1);
    EXPECT_FALSE(rearAftermarket->isChecked());  // the camera page was refilled as it was hidden
    EXPECT_FALSE(laneManual->isChecked());
    Control<QPushButton>(&host, 1011)->click();

    EXPECT_EQ(rig.ctx.deviceConfig, before);
    EXPECT_FALSE(rig.ctx.configWritePending);
    EXPECT_TRUE(rig.ctx.overlayWritePending);
}

TEST(SettingsWindows, AcceptOnTheVideoTabStoresOnlyTheCameraPage) {
    SettingsRig rig;
    rig.ctx.mfg_id = std::u16string(MODEL_WE5581R);
    rig.ctx.deviceConfig.setCapabilities(kAllInputs);
    rig.ctx.overlayConfig = OverlayReply();
    rig.windows->OnSettingsButton();
    LVDSTabCtrl& host = rig.windows->LvdsHost();
    Control<QCheckBox>(host.VideoPage(), 1013)->click();     // aftermarket rear
    Control<QRadioButton>(host.VideoPage(), 1057)->click();  // front: with speed check

    Control<QPushButton>(&host, 1011)->click();

    EXPECT_FALSE(host.isVisible());
    EXPECT_TRUE(rig.ctx.deviceConfig.has(CAM_AFTERMARKET_REAR));
    EXPECT_TRUE(rig.ctx.deviceConfig.has(IN_REAR));
    EXPECT_EQ(rig.ctx.deviceConfig.frontCameraMode(), CAMERA_MODE_WITH_SPEED_CHECK);
    EXPECT_TRUE(rig.ctx.configWritePending);
    EXPECT_FALSE(rig.ctx.overlayWritePending);
    EXPECT_EQ(rig.ctx.overlayConfig, OverlayReply());
}

TEST(SettingsWindows, ModelsWithoutHdmiNeverReachTheOverlayTab) {
    SettingsRig rig;
    rig.ctx.mfg_id = std::u16string(MODEL_QD7720R);
    rig.ctx.deviceConfig.setCapabilities(kAllInputs);
    rig.ctx.deviceConfig.set(IN_HDMI, true);
    rig.windows->OnSettingsButton();
    LVDSTabCtrl& host = rig.windows->LvdsHost();
    QCheckBox* hdmi = Control<QCheckBox>(host.VideoPage(), 1012);
    EXPECT_FALSE(hdmi->isEnabled());
    EXPECT_FALSE(hdmi->isChecked());

    host.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(host.Tabs()->currentIndex(), 0);
    EXPECT_EQ(rig.messages.Count(u"OSD Settings Not Supported"), 1);
    Control<QPushButton>(&host, 1011)->click();
    EXPECT_FALSE(rig.ctx.deviceConfig.has(IN_HDMI));  // the disabled, unticked box is stored
}

TEST(SettingsWindows, SecondSettingsClickKeepsTheControlsAndAsksForANewOverlayBlock) {
    SettingsRig rig;
    rig.ctx.mfg_id = std::u16string(MODEL_WH7731R);
    rig.ctx.deviceConfig.setCapabilities(kAllInputs);
    rig.windows->OnSettingsButton();
    LVDSTabCtrl& host = rig.windows->LvdsHost();
    QCheckBox* leftFactory = Control<QCheckBox>(host.VideoPage(), 1019);
    leftFactory->click();
    rig.ctx.overlayReceived = true;

    rig.windows->OnSettingsButton();

    EXPECT_TRUE(leftFactory->isChecked());  // no new fill
    EXPECT_EQ(rig.overlayRequests, 2);
    EXPECT_FALSE(rig.ctx.overlayReceived);
    host.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(host.Tabs()->currentIndex(), 0);
    EXPECT_EQ(rig.messages.Count(u"OSD Settings Not Supported"), 1);
}

TEST(SettingsWindows, CancelStoresNothingAndTicksSurviveToTheNextShowing) {
    SettingsRig rig;
    rig.ctx.mfg_id = std::u16string(MODEL_WE5540R);
    rig.ctx.mainState = MS_CONFIG_FAILED;
    DeviceConfig& config = rig.ctx.deviceConfig;
    config.setCapabilities(kAllInputs);
    config.setVideoInputCount(4);
    config.setSyncPolarity(SYNC_POSITIVE);
    const DeviceConfig before = config;
    rig.windows->OnSettingsButton();
    CSettingsDlg& dialog = rig.windows->VideoSettings();
    QCheckBox* syncOnGreen = Control<QCheckBox>(&dialog, 1040);
    QComboBox* input2 = Control<QComboBox>(&dialog, 1031);
    ASSERT_TRUE(syncOnGreen->isEnabled());
    ASSERT_GT(input2->count(), 1);

    syncOnGreen->click();
    input2->setCurrentIndex(input2->count() - 1);
    Control<QPushButton>(&dialog, 2)->click();

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(config, before);
    EXPECT_FALSE(rig.ctx.configWritePending);
    EXPECT_EQ(rig.ctx.mainState, MS_CONFIG_FAILED);

    rig.windows->OnSettingsButton();
    EXPECT_TRUE(syncOnGreen->isChecked());
    Control<QPushButton>(&dialog, 1029)->click();
    EXPECT_TRUE(config.has(SIG_SYNC_ON_GREEN));
    EXPECT_TRUE(rig.ctx.configWritePending);
    EXPECT_EQ(rig.ctx.mainState, MS_IDLE);  // the video settings dialog also wakes the controller
}

TEST(SettingsWindows, HdmiAndVimDialogsStoreTheirControlsOnAccept) {
    SettingsRig rig;
    rig.ctx.mainState = MS_CONFIG_FAILED;
    DeviceConfig& config = rig.ctx.deviceConfig;
    config.setCapabilities(CAP_VIDEO_SETTINGS | CAP_REAR_INPUT | CAP_FRONT_INPUT);
    config.set(VID_VIM_SUPPORTED, true);

    rig.ctx.mfg_id = std::u16string(MODEL_TN7580R);
    rig.windows->OnSettingsButton();
    CHDMISettingsDlg& hdmi = rig.windows->HdmiSettings();
    Control<QCheckBox>(&hdmi, 1037)->click();  // video in motion on
    Control<QPushButton>(&hdmi, 1029)->click();
    EXPECT_TRUE(config.has(SIG_VIDEO_IN_MOTION));
    EXPECT_TRUE(rig.ctx.configWritePending);
    EXPECT_EQ(rig.ctx.mainState, MS_CONFIG_FAILED);

    rig.ctx.configWritePending = false;
    rig.ctx.mfg_id = std::u16string(MODEL_QH772ER);
    rig.windows->OnSettingsButton();
    CGMVIMSettingsDlg& vim = rig.windows->VimSettings();
    QCheckBox* rear = Control<QCheckBox>(&vim, 1040);
    QCheckBox* front = Control<QCheckBox>(&vim, 1038);
    EXPECT_FALSE(rear->isEnabled());
    EXPECT_TRUE(front->isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(&vim, 1039)->isEnabled());  // no left input
    front->click();
    Control<QPushButton>(&vim, 1029)->click();
    EXPECT_TRUE(config.has(CAM_AFTERMARKET_FRONT));
    EXPECT_TRUE(rig.ctx.configWritePending);
    EXPECT_FALSE(vim.isVisible());
}

// While an install runs, Accept keeps the window open as it was and says why, storing nothing;
// the Settings button and Feature Activation open nothing and ask nothing of the interface.
TEST(SettingsWindows, DuringAnInstallAcceptIsRefusedAndTheWindowStaysOpen) {
    const std::u16string refusal = u"Settings cannot be changed while new software is being installed.";
    struct Case {
        std::u16string_view model;
        int accept;
    };
    for (Case c : {Case{MODEL_WE5540R, 1029}, Case{MODEL_QH772ER, 1029}, Case{MODEL_WD7731R, 1011}}) {
        SettingsRig rig;
        rig.ctx.mfg_id = std::u16string(c.model);
        rig.ctx.deviceConfig.setCapabilities(kAllInputs);
        QDialog* window = rig.windows->Window(rig.windows->OnSettingsButton());
        ASSERT_NE(window, nullptr);
        rig.ctx.mainState = MS_WAIT_FLASH;
        Control<QPushButton>(window, c.accept)->click();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(rig.messages.Count(refusal), 1);
        EXPECT_FALSE(rig.ctx.configWritePending || rig.ctx.overlayWritePending);
        EXPECT_EQ(rig.ctx.mainState, MS_WAIT_FLASH);

        window->hide();
        const int overlayRequests = rig.overlayRequests;
        EXPECT_EQ(rig.windows->OnSettingsButton(), SettingsWindow::None);
        EXPECT_EQ(rig.overlayRequests, overlayRequests);
        EXPECT_EQ(rig.messages.Count(refusal), 2);
        rig.windows->OnFeatureActivation();
        EXPECT_TRUE(VisibleWindowClasses(*rig.windows).empty());
        EXPECT_FALSE(rig.ctx.featureReadRequest);
        EXPECT_EQ(rig.ctx.mainState, MS_WAIT_FLASH);
    }
}
