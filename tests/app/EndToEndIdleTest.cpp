// The idle state's write and read requests through the real program and the emulated interface.
#include "tests/app/EndToEndSupport.h"

namespace {
constexpr std::uint8_t kWriteError = 0x37;

std::size_t CountReceived(const EmulatedInterface& box, std::uint8_t code) {
    std::size_t count = 0;
    for (const HidReport& report : box.ReceivedReports())
        count += report[1] == code ? 1 : 0;
    return count;
}

bool MessageShown(HarnessProgram& harness) {
    return !harness.messages.shown.empty();
}

// Stores the request as a settings window's Accept does.
void AcceptSettings(HarnessProgram& harness) {
    harness.Context().configWritePending = true;
    harness.Context().mainState = MS_IDLE;
}

TEST(EndToEndIdle, ConfigurationWriteStoresTheEditedRecord) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    EXPECT_TRUE(harness.deviceArea.settingsShown);  // the model offers video settings
    DeviceConfig edited = harness.Context().deviceConfig;
    edited.set(IN_REAR, !edited.has(IN_REAR));
    edited.setSyncPolarity(SYNC_NEGATIVE);
    harness.Context().deviceConfig = edited;
    AcceptSettings(harness);
    ASSERT_TRUE(harness.RunUntil([&] { return MessageShown(harness); }));
    EXPECT_EQ(harness.messages.shown[0].text, u"Device settings have been successfully updated");
    EXPECT_EQ(harness.messages.shown[0].icon, MessageIcon::Information);
    EXPECT_TRUE(harness.deviceArea.settingsEnabled);
    EXPECT_EQ(harness.State(), MS_IDLE);
    // The record goes out as edited, not stamped with an install's vehicle.
    EXPECT_EQ(harness.telvix.application->StoredConfig().bytes(), edited.bytes());
    harness.Ticks(10);
    EXPECT_EQ(harness.messages.shown.size(), 1u);
}

TEST(EndToEndIdle, RefusedConfigurationWriteShowsTheWriteError) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    const StoredRecord before = harness.telvix.application->StoredConfig();
    harness.telvix.faults->Update([](FaultPlan& plan) { plan.statusOverride[0x1B] = kWriteError; });
    harness.Context().deviceConfig.set(IN_FRONT, true);
    AcceptSettings(harness);
    ASSERT_TRUE(harness.RunUntil([&] { return MessageShown(harness); }));
    EXPECT_EQ(harness.messages.shown[0].text, u"Write error! Device flash memory cannot be updated");
    EXPECT_EQ(harness.messages.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(harness.deviceArea.settingsEnabled);
    EXPECT_EQ(harness.telvix.application->StoredConfig(), before);
}

TEST(EndToEndIdle, OverlayWriteStoresTheBlock) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    OverlayConfig overlay = harness.Context().overlayConfig;
    overlay.bytes()[0] ^= 0x01;
    overlay.bytes()[3] = 0x42;
    harness.Context().overlayConfig = overlay;
    harness.Context().overlayWritePending = true;
    ASSERT_TRUE(harness.RunUntil([&] { return MessageShown(harness); }));
    EXPECT_EQ(harness.messages.shown[0].text, u"OSD settings have been successfully updated");
    EXPECT_EQ(harness.telvix.application->StoredOverlay(), overlay.bytes());
    EXPECT_TRUE(harness.deviceArea.settingsEnabled);
}

TEST(EndToEndIdle, TwoRequestsInOneTickServeOnlyTheFirst) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    harness.Context().deviceConfig.set(IN_LEFT, true);
    harness.Context().configWritePending = true;
    harness.Context().featureReadRequest = true;
    ASSERT_TRUE(harness.RunUntil([&] { return MessageShown(harness); }));
    harness.Ticks(10);
    EXPECT_EQ(CountReceived(harness.box, 0x1B), 1u);
    EXPECT_EQ(CountReceived(harness.box, 0x60), 0u);
    EXPECT_FALSE(harness.Context().featureReadRequest);
    EXPECT_TRUE(harness.features.results.empty());
}

TEST(EndToEndIdle, FeatureActivationReadsTheFeatureByte) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessOptions options = InterfaceOf("QD7720R", {{1000, 1}});
    options.editFirmware = [](ApplicationOptions& firmware) {
        firmware.config.setOffersFeatures(true);
        firmware.featureBits = 0x05;
    };
    HarnessProgram harness(*servers, options);
    StartToIdle(harness);
    EXPECT_TRUE(harness.deviceArea.featureShown);
    EXPECT_TRUE(harness.deviceArea.featureEnabled);
    harness.program->OnFeatureActivation();
    ASSERT_TRUE(harness.RunUntil([&] { return !harness.features.results.empty(); }));
    EXPECT_FALSE(harness.features.results[0].write);
    EXPECT_EQ(harness.features.results[0].text, u"Click Accept to Start Programming");
    EXPECT_FALSE(harness.features.results[0].failed);
    EXPECT_EQ(harness.Context().featureBits, 0x05);
    EXPECT_FALSE(harness.Context().featureReadRequest);
}

struct ProgrammingCase {
    std::uint8_t phase;
    std::uint8_t error;
    std::u16string text;
    bool failed;
};

TEST(EndToEndIdle, FeatureWriteFollowsTheProgrammingPhasesToTheirOutcome) {
    for (const ProgrammingCase& c :
         {ProgrammingCase{2, 0, u"Device features have been successfully updated", false},
          ProgrammingCase{3, 2, u"Incorrect VIN number", true},
          ProgrammingCase{3, 4, u"Diagnostic error", true}}) {
        SCOPED_TRACE(c.error);
        REQUIRE_TEST_SERVERS(servers);
        HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
        StartToIdle(harness);
        // Still running when asked, and again at the re-ask a second later; the outcome comes
        // at 3 s, pushed by the interface.
        harness.telvix.application->SetProgramSequence({{1, 0}, {c.phase, c.error}});
        harness.telvix.application->SetProgramStepInterval(std::chrono::milliseconds(1500));
        harness.Context().featureBits = 0x03;
        harness.Context().featureWriteRequest = true;
        ASSERT_TRUE(harness.RunUntil([&] { return harness.Context().programPhase == 1; }));
        EXPECT_EQ(harness.State(), MS_WAIT_PROGRAMMING);  // still programming: no outcome yet
        EXPECT_TRUE(harness.features.results.empty());
        EXPECT_FALSE(harness.deviceArea.featureEnabled);

        ASSERT_TRUE(harness.RunUntil([&] { return !harness.features.results.empty(); }));
        EXPECT_GE(CountReceived(harness.box, 0x62), 2u);
        EXPECT_TRUE(harness.features.results[0].write);
        EXPECT_EQ(harness.features.results[0].text, c.text);
        EXPECT_EQ(harness.features.results[0].failed, c.failed);
        EXPECT_TRUE(harness.deviceArea.featureEnabled);
        EXPECT_EQ(harness.State(), MS_IDLE);
        EXPECT_EQ(harness.telvix.application->StoredFeatureBits(), 0x03);
    }
}

TEST(EndToEndIdle, RefusedFeatureWriteReportsItThroughTheFeaturesDialog) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    harness.telvix.faults->Update([](FaultPlan& plan) { plan.statusOverride[0x61] = kWriteError; });
    harness.Context().featureBits = 0x01;
    harness.Context().featureWriteRequest = true;
    ASSERT_TRUE(harness.RunUntil([&] { return !harness.features.results.empty(); }));
    EXPECT_EQ(harness.features.results[0].text, u"Write error! Device features cannot be updated.");
    EXPECT_TRUE(harness.features.results[0].failed);
    EXPECT_EQ(CountReceived(harness.box, 0x62), 0u);
    EXPECT_EQ(harness.State(), MS_IDLE);
}
}  // namespace
