// Whole installs through the real program: emulated interface, real catalogue server, real FTP
// server. Each checks the progress dialog, the interface's flash and record, and tolvanedevice.
#include "settings/CameraPages.h"
#include "tests/app/EndToEndSupport.h"

using ::testing::ElementsAre;

namespace {
bool Received(const EmulatedInterface& box, std::uint8_t code) {
    for (const HidReport& report : box.ReceivedReports()) {
        if (report[1] == code)
            return true;
    }
    return false;
}

TEST(EndToEndInstall, HidBootloaderFromApplicationMode) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1061, 1);
    servers->PublishImage(target);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_APPLICATION);
    EXPECT_EQ(harness.deviceArea.statusText, u"TVH6-TEST-01");
    EXPECT_TRUE(harness.searchArea.searchEnabled);
    EXPECT_TRUE(harness.messages.shown.empty());

    ASSERT_TRUE(harness.InstallEntry(target));
    EXPECT_TRUE(harness.progress.visible);
    ASSERT_TRUE(harness.RunUntil([&] { return harness.progress.finished; }));
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE));

    const ProgressSteps steps = harness.progress.Steps();
    EXPECT_EQ(WithoutFlashPercentages(steps),
              WithCommonTail({{u"Rebooting device", 13}, {u"Downloading software", 26}}));
    // The engine's percentages climb from 26 towards 39, each shown once.
    int lastBar = 26;
    int percentages = 0;
    for (const auto& [text, bar] : steps) {
        if (text.rfind(u"Downloading software ", 0) != 0)
            continue;
        EXPECT_GE(bar, lastBar);
        EXPECT_LE(bar, 39);
        lastBar = bar;
        ++percentages;
    }
    EXPECT_GT(percentages, 0);
    EXPECT_EQ(harness.Context().hidInstall, 1);
    ExpectInstalled(harness, target, /*hid=*/true);

    // What support reads afterwards, and never a password.
    const std::string log = harness.DiagnosticsText();
    for (const char* line :
         {"[program] Telvix Updater 4.0.0 on ", "[interface] interface: application, model QD7720R",
          "[interface] interface: bootloader", "[interface] serial TVH6-TEST-01",
          "[install] started: software 1061/1", "[install] step: Rebooting device",
          "[command] reply: ", "[install] outcome: Successfully finished", "[install] ended: succeeded"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
    EXPECT_EQ(log.find(harness.servers.ftp.password), std::string::npos);
    EXPECT_EQ(log.find("Password="), std::string::npos);
}

// Settings and feature requests made while new software goes in are refused without disturbing
// it, and a settings write still pending from before never keeps the new vehicle out.
TEST(EndToEndInstall, SettingsDuringTheInstallAreRefusedAndTheVehicleIsStampedAnyway) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1061, 1);
    servers->PublishImage(target);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    ASSERT_TRUE(harness.InstallEntry(target));
    ASSERT_TRUE(harness.RunUntilState(MS_WAIT_READ_BEFORE_WRITE));

    UpdaterContext& ctx = harness.Context();
    LvdsPageControls controls;
    controls.modelCode = u"QD7720R";
    FillLvdsPage(ctx.deviceConfig, controls);
    EXPECT_TRUE(ApplyLvdsPage(ctx, controls).Refused());
    EXPECT_FALSE(harness.program->OnFeatureActivation());
    EXPECT_EQ(harness.messages.Count(u"Features cannot be programmed while new software is being installed."),
              1);
    EXPECT_EQ(harness.State(), MS_WAIT_READ_BEFORE_WRITE);
    EXPECT_FALSE(ctx.featureReadRequest);

    ctx.configWritePending = true;
    ASSERT_TRUE(harness.RunUntil([&] { return harness.progress.finished; }));
    ExpectInstalled(harness, target, /*hid=*/true);
}

TEST(EndToEndInstall, HidBootloaderFromAnInterfaceAlreadyInItsBootloader) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD772ER", 1161, 1);
    servers->PublishImage(target);
    HarnessProgram harness(*servers, InterfaceOf("QD772ER", {}, DeviceMode::Bootloader));
    StartToIdle(harness);
    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_LOADER);
    EXPECT_EQ(harness.deviceArea.statusText, u"QD772ER");
    EXPECT_FALSE(harness.searchArea.listsEnabled);
    EXPECT_TRUE(harness.searchArea.searchEnabled);

    ASSERT_TRUE(harness.InstallEntry(target));
    ASSERT_TRUE(harness.RunUntil([&] { return harness.progress.finished; }));
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE));
    const ProgressSteps steps = harness.progress.Steps();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), (std::pair<std::u16string, int>{u"Downloading software", 26}));
    EXPECT_EQ(WithoutFlashPercentages(steps), WithCommonTail({{u"Downloading software", 26}}));
    EXPECT_FALSE(Received(harness.box, 0x80));  // never rebooted by the controller
    // Identified only after flashing: the count the restarted interface reports, plus one.
    ExpectInstalled(harness, target, /*hid=*/true,
                    harness.telvix.application->StoredConfig().totalUpdates() + 1);
}

TEST(EndToEndInstall, UpdateVolumeRebootsCopiesAndComesBackWithTheNewFirmware) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "WJ7731R", 1761, 1);
    servers->PublishImage(target);
    HarnessProgram harness(*servers, InterfaceOf("WJ7731R", {{1700, 1}}));
    StartToIdle(harness);
    ASSERT_TRUE(harness.InstallEntry(target));
    ASSERT_TRUE(harness.RunUntil([&] { return harness.progress.finished; }));
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE));
    EXPECT_EQ(harness.progress.Steps(), WithCommonTail({{u"Verifying software availability", 0},
                                                        {u"Rebooting device", 13},
                                                        {u"Downloading software", 26}}));
    EXPECT_EQ(harness.Context().hidInstall, 0);
    EXPECT_TRUE(Received(harness.box, 0x80));
    // The interface took the file and removed it.
    EXPECT_FALSE(std::filesystem::exists(harness.box.VolumeRoot() / "firmware.bin"));
    ExpectInstalled(harness, target, /*hid=*/false);
}

struct UpgradeCase {
    const char* model;
    int swId;
    bool hid;
};

TEST(EndToEndInstall, AcceptedUpgradeOfObsoleteSoftwareInstallsTheValidBuild) {
    for (UpgradeCase c : {UpgradeCase{"QD7720R", 1060, true}, UpgradeCase{"WJ7731R", 1760, false}}) {
        SCOPED_TRACE(c.model);
        REQUIRE_TEST_SERVERS(servers);
        const HarnessEntry withdrawn = RequireEntry(*servers, c.model, c.swId, 1);
        ASSERT_EQ(withdrawn.validStatus, 0);
        const HarnessEntry successor = RequireEntry(*servers, c.model, c.swId, 2);
        servers->PublishImage(successor);
        HarnessProgram harness(*servers, InterfaceOf(c.model, {{c.swId, 1}}));
        harness.messages.answers = {MessageAnswer::Yes};
        harness.Start();
        ASSERT_TRUE(harness.RunUntil([&] { return harness.progress.finished; }));
        ASSERT_TRUE(harness.RunUntilState(MS_IDLE));
        ASSERT_EQ(harness.messages.shown.size(), 1u);
        EXPECT_EQ(harness.messages.shown[0].icon, MessageIcon::Warning);
        EXPECT_NE(harness.messages.shown[0].text.find(u"obsolete software version"), std::u16string::npos);
        EXPECT_EQ(harness.Context().hidInstall, c.hid ? 1 : 0);
        ExpectInstalled(harness, successor, c.hid);
    }
}

TEST(EndToEndInstall, DeclinedUpgradeLeavesTheInterfaceAlone) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1060, 1}}));
    harness.messages.answers = {MessageAnswer::No};
    StartToIdle(harness);
    harness.Ticks(20);
    EXPECT_EQ(harness.State(), MS_IDLE);
    EXPECT_EQ(harness.messages.shown.size(), 1u);
    EXPECT_FALSE(harness.progress.visible);
    EXPECT_EQ(harness.telvix.flash->ProgramCount(), 0);
    EXPECT_FALSE(Received(harness.box, 0x80));
    auto row = servers->ReadDevice(harness.McuSerial());
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->swId, 1060);
    EXPECT_EQ(row->updatedBy, 1);
}
}  // namespace
