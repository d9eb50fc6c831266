// The command set against the emulated application firmware through the real report threads.
#include <gtest/gtest.h>

#include "sim/FactoryRecords.h"
#include "tests/support/LinkRig.h"

namespace {

LinkRigOptions Application(const std::string& model = "QD7720R", bool hidBootloader = true) {
    LinkRigOptions options;
    options.modelCode = model;
    options.mode = DeviceMode::Application;
    options.editFirmware = [hidBootloader](ApplicationOptions& o) {
        o.hasHidBootloader = hidBootloader;
        o.softwareId = 0x1234;
        o.softwareBuild = 9;
        o.featureBits = 0x3C;
        o.config.bytes()[43] = 0xAB;  // the reply has no room for bytes 43..45
    };
    return options;
}

bool ReplyTaken(LinkRig& rig) {
    return rig.ctx.replyStatus.load() != REPLY_PENDING;
}

TEST(CommandsOnEmulator, ConfigurationReadCarriesIdentityAndRecord) {
    LinkRig rig(Application());
    ASSERT_TRUE(rig.Connect());
    ASSERT_EQ(rig.ctx.iUsbConnectSts.load(), USB_APPLICATION);
    ASSERT_TRUE(rig.IssueAndDecode(CMD_TYPE_CONFIG, CMD_DIR_REQUEST, [&] { return ReplyTaken(rig); }));
    EXPECT_EQ(rig.ctx.replyStatus.load(), STATUS_READ_OK);
    EXPECT_EQ(rig.ctx.softwareId, 0x1234);
    EXPECT_EQ(rig.ctx.softwareBuild, 9);
    DeviceConfig expected(FactoryRecordOf("QD7720R")->record.bytes());
    EXPECT_EQ(rig.ctx.deviceConfig, expected);  // bytes 43..45 do not travel
    EXPECT_EQ(rig.ctx.mcu_serial.size(), 35u);
}

TEST(CommandsOnEmulator, ConfigurationWriteIsStoredOnTheInterface) {
    LinkRig rig(Application());
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.IssueAndDecode(CMD_TYPE_CONFIG, CMD_DIR_REQUEST, [&] { return ReplyTaken(rig); }));
    rig.ctx.deviceConfig.setSyncPolarity(SYNC_NEGATIVE);
    rig.ctx.configWritePending = true;
    rig.ctx.replyStatus.store(REPLY_PENDING);
    ASSERT_TRUE(
        rig.IssueAndDecode(CMD_TYPE_CONFIG, CMD_DIR_WRITE, [&] { return !rig.ctx.writeReplyAwaited; }));
    EXPECT_EQ(rig.ctx.replyStatus.load(), STATUS_WRITE_OK);
    const DeviceConfig stored(rig.telvix.application->StoredConfig().bytes());
    EXPECT_EQ(stored.syncPolarity(), SYNC_NEGATIVE);
    EXPECT_EQ(stored.bytes()[43], 0) << "bytes 43..45 go back as zero";
}

TEST(CommandsOnEmulator, StatusErrorsReachTheCaller) {
    LinkRig rig(Application());
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.IssueAndDecode(CMD_TYPE_CONFIG, CMD_DIR_REQUEST, [&] { return ReplyTaken(rig); }));
    const DeviceConfig first = rig.ctx.deviceConfig;
    rig.telvix.faults->Update([](FaultPlan& f) {
        f.statusOverride[0x1A] = STATUS_READ_ERROR;
        f.statusOverride[0x66] = STATUS_WRITE_ERROR;
    });
    rig.telvix.application->SetStoredConfig(StoredRecord{});
    ASSERT_TRUE(rig.IssueAndDecode(CMD_TYPE_CONFIG, CMD_DIR_REQUEST, [&] { return ReplyTaken(rig); }));
    EXPECT_EQ(rig.ctx.replyStatus.load(), STATUS_READ_ERROR);
    EXPECT_EQ(rig.ctx.deviceConfig, first);

    const OverlayBlock before = rig.telvix.application->StoredOverlay();
    rig.ctx.overlayConfig = OverlayConfig(OverlayConfig::Bytes{9, 9, 9, 9, 9, 9, 9, 9});
    rig.ctx.replyStatus.store(REPLY_PENDING);
    ASSERT_TRUE(
        rig.IssueAndDecode(CMD_TYPE_OVERLAY, CMD_DIR_WRITE, [&] { return !rig.ctx.writeReplyAwaited; }));
    EXPECT_EQ(rig.ctx.replyStatus.load(), STATUS_WRITE_ERROR);
    EXPECT_EQ(rig.telvix.application->StoredOverlay(), before);
}

TEST(CommandsOnEmulator, OverlayRoundTrip) {
    LinkRig rig(Application());
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(
        rig.IssueAndDecode(CMD_TYPE_OVERLAY, CMD_DIR_REQUEST, [&] { return rig.ctx.overlayReceived; }));
    EXPECT_EQ(rig.ctx.overlayConfig.bytes(), FactoryRecordOf("QD7720R")->overlay);
    EXPECT_EQ(rig.ctx.replyStatus.load(), REPLY_PENDING);
    rig.ctx.overlayConfig.setOverlayParams(kOverlayParams);
    ASSERT_TRUE(
        rig.IssueAndDecode(CMD_TYPE_OVERLAY, CMD_DIR_WRITE, [&] { return !rig.ctx.writeReplyAwaited; }));
    EXPECT_EQ(rig.ctx.replyStatus.load(), STATUS_WRITE_OK);
    EXPECT_EQ(rig.telvix.application->StoredOverlay(), rig.ctx.overlayConfig.bytes());
}

TEST(CommandsOnEmulator, FeatureProgrammingStatusIsFollowedWithoutAskingAgain) {
    LinkRig rig(Application());
    ASSERT_TRUE(rig.Connect());
    rig.telvix.application->SetProgramSequence({{4, 0}, {5, 0}, {3, 2}});
    rig.ctx.featureReadRequest = true;
    ASSERT_TRUE(rig.IssueAndDecode(CMD_TYPE_FEATURES, CMD_DIR_REQUEST, [&] { return ReplyTaken(rig); }));
    EXPECT_EQ(rig.ctx.featureBits, 0x3C);
    rig.ctx.featureReadRequest = false;

    rig.ctx.featureBits = 0x41;
    ASSERT_TRUE(
        rig.IssueAndDecode(CMD_TYPE_FEATURES, CMD_DIR_WRITE, [&] { return !rig.ctx.writeReplyAwaited; }));
    EXPECT_EQ(rig.telvix.application->StoredFeatureBits(), 0x41);

    rig.ctx.statusPollActive = true;
    ASSERT_TRUE(rig.IssueAndDecode(CMD_TYPE_FEATURE_STATUS, CMD_DIR_REQUEST,
                                   [&] { return rig.ctx.programPhase == 1; }));  // no step reached yet
    // Each step the interface reaches on its own clock reaches the decoder unasked.
    for (const std::int32_t phase : {4, 5, 3}) {
        rig.deviceClock.Advance(std::chrono::milliseconds(500));
        EXPECT_TRUE(WaitUntil([&] {
            rig.commands->DecodeReplies();
            return rig.ctx.programPhase == phase;
        })) << phase;
    }
    EXPECT_EQ(rig.ctx.programError, 2);
    EXPECT_FALSE(rig.ctx.statusPollActive);
    std::size_t statusRequests = 0;
    for (const HidReport& report : rig.box.ReceivedReports())
        statusRequests += report[1] == CMD_FEATURE_STATUS ? 1 : 0;
    EXPECT_EQ(statusRequests, 1u);
}

TEST(CommandsOnEmulator, RebootGoesToTheBootloaderOrTheUpdateVolume) {
    for (bool hid : {true, false}) {
        LinkRig rig(Application("WD7731R", hid));
        ASSERT_TRUE(rig.Connect());
        ASSERT_TRUE(
            rig.IssueAndDecode(CMD_TYPE_REBOOT, CMD_DIR_WRITE, [&] { return !rig.ctx.writeReplyAwaited; }));
        const DeviceMode expected = hid ? DeviceMode::Bootloader : DeviceMode::UpdateVolume;
        EXPECT_TRUE(WaitUntil([&] { return rig.box.Mode() == expected; })) << hid;
    }
}

TEST(CommandsOnEmulator, SilentInterfaceLeavesTheRequestPending) {
    LinkRig rig(Application());
    ASSERT_TRUE(rig.Connect());
    rig.telvix.faults->Update([](FaultPlan& f) { f.silentAfterReport = 0; });
    rig.commands->IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_REQUEST);
    ASSERT_TRUE(rig.box.WaitUntilIdle());
    rig.commands->DecodeReplies();
    EXPECT_TRUE(rig.ctx.readReplyAwaited);
    EXPECT_EQ(rig.ctx.replyStatus.load(), REPLY_PENDING);
}

}  // namespace
