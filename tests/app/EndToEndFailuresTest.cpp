// Every failure of an install through the real program, each with its text in the progress
// dialog, where the controller ends up, and no success reported.
#include "tests/app/EndToEndSupport.h"

#include "catalogue/InstallJournal.h"

namespace {
constexpr std::uint8_t kStatusReadError = 0x21;
constexpr std::uint8_t kStatusWriteError = 0x37;

bool Received(const EmulatedInterface& box, std::uint8_t code) {
    for (const HidReport& report : box.ReceivedReports()) {
        if (report[1] == code)
            return true;
    }
    return false;
}

// A HID interface carrying QD7720R 1000/1, idle, with the image of 1061/1 on the server.
struct HidInstallFixture {
    explicit HidInstallFixture(const HarnessServers& servers)
        : target(RequireEntry(servers, "QD7720R", 1061, 1)),
          harness(servers, InterfaceOf("QD7720R", {{1000, 1}})) {
        servers.PublishImage(target);
    }
    HarnessEntry target;
    HarnessProgram harness;
};

TEST(EndToEndFailures, EntryThatCannotBeLoadedParksWithCloseDisabled) {
    REQUIRE_TEST_SERVERS(servers);
    HidInstallFixture f(*servers);
    StartToIdle(f.harness);
    f.harness.program->OnSearch();
    const int row = f.harness.ResultRowOf(f.target);
    ASSERT_GE(row, 0);
    f.harness.program->OnResultClicked(row);
    f.harness.catalogueProxy.Cut();
    f.harness.program->OnInstall();
    f.harness.Ticks(10);
    EXPECT_EQ(f.harness.State(), MS_DETAILS_FAILED);
    EXPECT_TRUE(f.harness.progress.visible);
    EXPECT_FALSE(f.harness.progress.finished);
    EXPECT_TRUE(f.harness.progress.StepTexts().empty());
    EXPECT_FALSE(Received(f.harness.box, 0x80));
}

TEST(EndToEndFailures, ImageWhoseDigestDiffersEndsBeforeTheInterfaceIsTouched) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1005, 2);
    const RestoreImageAtExit restore(*servers, target);
    servers->PublishImage(target, /*corrupt=*/true);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    ASSERT_TRUE(harness.InstallEntry(target));
    harness.Ticks(5);
    EXPECT_EQ(harness.State(), MS_IDLE);
    ExpectAborted(harness, {u"ERROR: Download failed"});
    EXPECT_FALSE(Received(harness.box, 0x80));
    EXPECT_EQ(harness.telvix.flash->ProgramCount(), 0);
    EXPECT_EQ(servers->ReadDevice(harness.McuSerial())->swId, 1000);
}

TEST(EndToEndFailures, FtpServerUnreachableDuringTheFetchEndsWithDownloadFailed) {
    REQUIRE_TEST_SERVERS(servers);
    HidInstallFixture f(*servers);
    StartToIdle(f.harness);
    f.harness.ftpProxy.Cut();
    ASSERT_TRUE(f.harness.InstallEntry(f.target));
    f.harness.Ticks(3);
    EXPECT_EQ(f.harness.State(), MS_IDLE);
    ExpectAborted(f.harness, {u"ERROR: Download failed"});
    EXPECT_FALSE(Received(f.harness.box, 0x80));
}

TEST(EndToEndFailures, SoftwareMissingOnTheServerParks) {
    REQUIRE_TEST_SERVERS(servers);
    // No other test publishes this entry's image.
    const HarnessEntry target = RequireEntry(*servers, "WJ7731R", 1707, 4);
    const RestoreImageAtExit restore(*servers, target);
    servers->RemoveImage(target);
    HarnessProgram harness(*servers, InterfaceOf("WJ7731R", {{1700, 1}}));
    StartToIdle(harness);
    ASSERT_TRUE(harness.InstallEntry(target));
    ASSERT_TRUE(harness.RunUntilState(MS_NOT_AVAILABLE));
    harness.Ticks(5);
    EXPECT_EQ(harness.State(), MS_NOT_AVAILABLE);
    ExpectAborted(harness, {u"ERROR: Requested software not found"});
    EXPECT_GE(harness.progress.OutcomeCount(), 5);  // applied again on every tick
    EXPECT_FALSE(Received(harness.box, 0x80));
    const std::string log = harness.DiagnosticsText();
    EXPECT_NE(log.find("[transfer] file not found: "), std::string::npos) << log;
    EXPECT_EQ(log.find("outcome: Aborted", log.find("outcome: Aborted") + 1), std::string::npos)
        << "the outcome is written once, not on every tick";
}

TEST(EndToEndFailures, FileCopyOntoTheVolumeFailingEndsWithDownloadFailed) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "WJ7731R", 1761, 1);
    servers->PublishImage(target);
    HarnessProgram harness(*servers, InterfaceOf("WJ7731R", {{1700, 1}}));
    StartToIdle(harness);
    ASSERT_TRUE(harness.InstallEntry(target));
    ASSERT_TRUE(harness.RunUntilState(MS_DOWNLOAD_FILE));
    harness.ftpProxy.Cut();
    ASSERT_TRUE(harness.RunUntilState(MS_IDLE));
    ExpectAborted(harness, {u"ERROR: Download failed"});
    EXPECT_EQ(harness.telvix.flash->ProgramCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(harness.box.VolumeRoot() / "firmware.bin"));
}

TEST(EndToEndFailures, FlashingThatFailsItsPageChecksEndsWithDownloadFailed) {
    REQUIRE_TEST_SERVERS(servers);
    HidInstallFixture f(*servers);
    f.harness.telvix.faults->Update([](FaultPlan& plan) { plan.wrongPageSums = 3; });
    StartToIdle(f.harness);
    ASSERT_TRUE(f.harness.InstallEntry(f.target));
    ASSERT_TRUE(f.harness.RunUntil([&] { return f.harness.progress.finished; }));
    EXPECT_EQ(f.harness.State(), MS_IDLE);
    ExpectAborted(f.harness, {u"ERROR: Download failed"});
    EXPECT_EQ(f.harness.telvix.flash->ProgramCount(), 0);
    EXPECT_EQ(servers->ReadDevice(f.harness.McuSerial())->swId, 1000);
}

// Runs a HID install until the controller is about to enter `state`, then lets `fault` strike.
void InstallWithFaultAt(HidInstallFixture& f, std::int32_t state, const std::function<void()>& fault) {
    StartToIdle(f.harness);
    ASSERT_TRUE(f.harness.InstallEntry(f.target));
    ASSERT_TRUE(f.harness.RunUntilState(state));
    fault();
    ASSERT_TRUE(f.harness.RunUntil([&] { return f.harness.progress.finished; }));
}

TEST(EndToEndFailures, InstallThatCannotBeRecordedParksAndTheNextStartRecordsIt) {
    REQUIRE_TEST_SERVERS(servers);
    HidInstallFixture f(*servers);
    InstallWithFaultAt(f, MS_START_RECORD, [&] { f.harness.catalogueProxy.Cut(); });
    f.harness.Ticks(5);
    EXPECT_EQ(f.harness.State(), MS_RECORD_FAILED);
    ExpectAborted(f.harness, {u"ERROR: Can't update database"});
    EXPECT_EQ(servers->ReadDevice(f.harness.McuSerial())->swId, 1000);

    std::string why;
    auto journal = InstallJournal::Read(f.harness.journalFile, why);
    ASSERT_TRUE(journal && journal->size() == 1) << why;
    EXPECT_EQ(journal->front().recordState, RecordState::Pending);
    EXPECT_EQ(journal->front().outcome, u"ERROR: Can't update database");

    // Started again with no interface attached: the start alone sends the record.
    f.harness.catalogueProxy.Restore();
    f.harness.box.Unplug();
    f.harness.Restart();
    ASSERT_TRUE(f.harness.RunUntil([&] { return servers->ReadDevice(f.harness.McuSerial())->swId == 1061; }));
    const HarnessDevice row = *servers->ReadDevice(f.harness.McuSerial());
    EXPECT_EQ(row.make, f.target.make);
    EXPECT_EQ(row.updatedBy, 9);
    EXPECT_EQ(row.updateDate, "12/09/2026");
    EXPECT_EQ(row.totalUpdates, 5);
    // The retry marks the journal once the catalogue has answered, a moment after the row changed.
    EXPECT_TRUE(f.harness.RunUntil([&] {
        journal = InstallJournal::Read(f.harness.journalFile, why);
        return journal && journal->size() == 1 && journal->front().recordState == RecordState::Recorded;
    })) << why;
}

TEST(EndToEndFailures, RefusedConfigurationWriteParks) {
    REQUIRE_TEST_SERVERS(servers);
    HidInstallFixture f(*servers);
    InstallWithFaultAt(f, MS_UPDATE_MEMORY, [&] {
        f.harness.telvix.faults->Update(
            [](FaultPlan& plan) { plan.statusOverride[0x1B] = kStatusWriteError; });
    });
    f.harness.Ticks(5);
    EXPECT_EQ(f.harness.State(), MS_WRITE_FAILED);
    ExpectAborted(f.harness, {u"ERROR: Can't update device memory"});
}

TEST(EndToEndFailures, ConfigurationReadFailingBeforeOrAfterTheWriteParksWithUpdateFailed) {
    for (std::int32_t state : {MS_UPDATE_MEMORY, MS_VERIFY_MEMORY}) {
        SCOPED_TRACE(state);
        REQUIRE_TEST_SERVERS(servers);
        HidInstallFixture f(*servers);
        InstallWithFaultAt(f, state, [&] {
            f.harness.telvix.faults->Update(
                [](FaultPlan& plan) { plan.statusOverride[0x1A] = kStatusReadError; });
        });
        ASSERT_TRUE(f.harness.RunUntilState(MS_UPDATE_FAILED));
        f.harness.Ticks(3);
        EXPECT_EQ(f.harness.State(), MS_UPDATE_FAILED);
        ExpectAborted(f.harness, {u"ERROR: Device memory can't be verified", u"ERROR: Update failed"});
    }
}

TEST(EndToEndFailures, FinalLookupFailingParksWithUpdateFailed) {
    REQUIRE_TEST_SERVERS(servers);
    HidInstallFixture f(*servers);
    InstallWithFaultAt(f, MS_CHECK_INTEGRITY, [&] { f.harness.catalogueProxy.Cut(); });
    ASSERT_TRUE(f.harness.RunUntilState(MS_UPDATE_FAILED));
    f.harness.Ticks(3);
    EXPECT_EQ(f.harness.State(), MS_UPDATE_FAILED);
    ExpectAborted(f.harness, {u"ERROR: Update failed"});
    // The install itself was recorded before the lookup.
    EXPECT_EQ(servers->ReadDevice(f.harness.McuSerial())->swId, 1061);
}
}  // namespace
