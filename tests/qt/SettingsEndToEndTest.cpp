// The settings windows and the features dialog driving the real program against an emulated
// interface and the test servers: an edit accepted in a window reaches the interface and ends
// with the controller's message; a feature choice is programmed and its outcome shown.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "SettingsTestSupport.h"
#include "catalogue/FeatureLabels.h"
#include "settings/qt/CFeaturesDlg.h"
#include "settings/qt/CLVDSSettingDlg.h"
#include "settings/qt/LVDSTabCtrl.h"
#include "settings/qt/OSDSettingsDlg.h"
#include "tests/support/HarnessProgram.h"

namespace {

// The real windows on a harness program. The harness's program reports feature results to its
// recording port; Pump() hands each new one on to the features dialog, as the window's port would.
struct WindowsOnProgram {
    explicit WindowsOnProgram(HarnessProgram& program)
        : harness(program), db(program.servers.catalogueConnection, 5), labels(db) {
        EnsureQtApplication();
        mainWindow = std::make_unique<QWidget>();
        windows = new SettingsWindows(mainWindow.get());
        windows->Bind(SettingsServices{&harness.Context(), &harness.messages,
                                       [this] { harness.program->RequestOverlayRead(); }, &labels});
    }
    ~WindowsOnProgram() { delete windows; }

    bool Pump() {
        auto& results = harness.features.results;
        for (; forwarded < results.size(); ++forwarded) {
            const auto& result = results[forwarded];
            if (result.write) {
                windows->FeatureResults().ShowFeatureWriteResult(result.text, result.failed);
            } else {
                windows->FeatureResults().ShowFeatureReadResult(result.text, result.failed);
            }
        }
        return true;
    }
    bool RunUntil(const std::function<bool()>& done) {
        return harness.RunUntil([&] { return Pump() && done(); });
    }

    HarnessProgram& harness;
    CatalogueDb db;
    CatalogueFeatureLabels labels;
    std::unique_ptr<QWidget> mainWindow;
    SettingsWindows* windows = nullptr;
    std::size_t forwarded = 0;
};

HarnessOptions LvdsInterfaceWithEverything() {
    HarnessOptions options = InterfaceOf("WD7731R");
    options.editFirmware = [](ApplicationOptions& firmware) {
        DeviceConfig config(firmware.config.bytes());
        config.setCapabilities(CAP_VIDEO_SETTINGS | CAP_FEATURES | CAP_REAR_INPUT | CAP_FRONT_INPUT |
                               CAP_LEFT_INPUT | CAP_RIGHT_INPUT);
        config.setCameraFlags(0);
        config.setInputEnables(0);
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

}  // namespace

TEST(SettingsEndToEnd, CameraAndOverlayEditsReachTheInterface) {
    auto servers = HarnessServers::FromEnvironment();
    if (!servers) {
        GTEST_SKIP() << "needs scripts/test-servers";
    }
    HarnessProgram harness(*servers, LvdsInterfaceWithEverything());
    harness.Start();
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE)) << "state " << harness.State();
    ASSERT_TRUE(harness.deviceArea.settingsShown);
    WindowsOnProgram rig(harness);
    LVDSTabCtrl& host = rig.windows->LvdsHost();

    ASSERT_EQ(rig.windows->OnSettingsButton(), SettingsWindow::LvdsHost);
    ASSERT_TRUE(rig.RunUntil([&] { return harness.Context().overlayReceived; }));
    Control<QCheckBox>(host.VideoPage(), 1013)->click();  // aftermarket rear camera installed
    Control<QPushButton>(&host, 1011)->click();
    ASSERT_TRUE(
        rig.RunUntil([&] { return HasMessage(harness, u"Device settings have been successfully updated"); }));
    const DeviceConfig stored(harness.telvix.application->StoredConfig().bytes());
    EXPECT_TRUE(stored.has(CAM_AFTERMARKET_REAR));
    EXPECT_TRUE(stored.has(IN_REAR));
    EXPECT_EQ(stored, harness.Context().deviceConfig);
    EXPECT_EQ(harness.State(), MS_IDLE);

    rig.windows->OnSettingsButton();
    ASSERT_TRUE(rig.RunUntil([&] { return harness.Context().overlayReceived; }));
    host.Tabs()->setCurrentIndex(1);
    ASSERT_EQ(host.Tabs()->currentIndex(), 1);
    Control<QCheckBox>(host.OverlayPage(), 1033)->click();  // front camera caption on
    Control<QPushButton>(&host, 1011)->click();
    ASSERT_TRUE(
        rig.RunUntil([&] { return HasMessage(harness, u"OSD settings have been successfully updated"); }));
    EXPECT_EQ(harness.telvix.application->StoredOverlay(),
              (OverlayBlock{0x10, 0x07, 0x70, 0x44, 0x04, 0x00, 0x00, 0x55}));
    EXPECT_EQ(harness.telvix.application->StoredConfig().bytes(),
              stored.bytes());  // the camera page was not applied
}

TEST(SettingsEndToEnd, FeatureChoiceIsProgrammedAndItsOutcomeShown) {
    auto servers = HarnessServers::FromEnvironment();
    if (!servers) {
        GTEST_SKIP() << "needs scripts/test-servers";
    }
    HarnessProgram harness(*servers, LvdsInterfaceWithEverything());
    harness.Start();
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE)) << "state " << harness.State();
    ASSERT_TRUE(harness.deviceArea.featureShown);
    WindowsOnProgram rig(harness);
    CFeaturesDlg& dialog = rig.windows->Features();
    QLabel* status = Control<QLabel>(&dialog, 1060);

    rig.windows->OnFeatureActivation();
    EXPECT_EQ(status->text(), "Please Wait...");
    ASSERT_TRUE(rig.RunUntil([&] { return !harness.Context().featureReadRequest; }));
    EXPECT_EQ(status->text(), "Click Accept to Start Programming");
    EXPECT_TRUE(Control<QCheckBox>(&dialog, 1049)->isEnabled());   // bit 0
    EXPECT_FALSE(Control<QCheckBox>(&dialog, 1051)->isEnabled());  // bit 1 clear
    EXPECT_TRUE(Control<QCheckBox>(&dialog, 1050)->isEnabled());   // bit 2

    harness.telvix.application->SetProgramSequence({{2, 0}});  // done at the first step
    Control<QCheckBox>(&dialog, 1051)->click();                // disabled: no effect
    Control<QCheckBox>(&dialog, 1049)->click();
    Control<QPushButton>(&dialog, 1055)->click();
    ASSERT_TRUE(
        rig.RunUntil([&] { return status->text() == "Device features have been successfully updated"; }));
    EXPECT_EQ(dialog.IconNumber(), 144);
    EXPECT_EQ(harness.telvix.application->StoredFeatureBits(), 0xA1);  // bits 3..7 as read
    EXPECT_EQ(harness.State(), MS_IDLE);
}
