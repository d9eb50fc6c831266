// IssueCommand: what each (type, direction) sends, which flags it sets and what it refuses.
#include <gtest/gtest.h>

#include "app/UpdaterContext.h"
#include "link/CommandSet.h"

namespace {

struct Dispatcher {
    UpdaterContext ctx;
    int sends = 0;
    int ftpStarts = 0;
    int engineStarts = 0;
    CommandSet commands{ctx};

    Dispatcher() {
        ctx.iUsbConnectSts.store(USB_APPLICATION);
        commands.Hooks().signalSend = [this] { ++sends; };
        commands.Hooks().startFtpWorker = [this] { ++ftpStarts; };
        commands.Hooks().startFlashEngine = [this] { ++engineStarts; };
    }
    HidReport Sent() const { return ctx.outputReport.Load(); }
};

struct RequestRow {
    std::int32_t type;
    std::uint8_t code;
    bool awaitsRead;
};

class ApplicationRequest : public ::testing::TestWithParam<RequestRow> {};

TEST_P(ApplicationRequest, SentInApplicationModeRefusedElsewhere) {
    const RequestRow row = GetParam();
    {
        Dispatcher d;
        d.ctx.replyStatus.store(STATUS_WRITE_OK);
        EXPECT_EQ(d.commands.IssueCommand(row.type, 1, CMD_DIR_REQUEST), 1);
        EXPECT_EQ(d.Sent()[1], row.code);
        EXPECT_EQ(d.sends, 1);
        EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING);
        EXPECT_EQ(d.ctx.readReplyAwaited, row.awaitsRead);
    }
    for (std::int32_t mode : {USB_BOOTLOADER, USB_MASS_STORAGE, USB_NOT_CONNECTED, USB_CONNECTING}) {
        Dispatcher d;
        d.ctx.iUsbConnectSts.store(mode);
        d.ctx.replyStatus.store(STATUS_READ_OK);
        HidReport before{};
        before[1] = 0x77;
        d.ctx.outputReport.Store(before);
        EXPECT_EQ(d.commands.IssueCommand(row.type, 1, CMD_DIR_REQUEST), 0) << "mode " << mode;
        EXPECT_EQ(d.sends, 0);
        EXPECT_EQ(d.Sent(), before);
        EXPECT_EQ(d.ctx.replyStatus.load(), STATUS_READ_OK);
        EXPECT_FALSE(d.ctx.readReplyAwaited);
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, ApplicationRequest,
                         ::testing::Values(RequestRow{CMD_TYPE_CONFIG, 0x1A, true},
                                           RequestRow{CMD_TYPE_FEATURES, 0x60, false},
                                           RequestRow{CMD_TYPE_FEATURE_STATUS, 0x62, false},
                                           RequestRow{CMD_TYPE_OVERLAY, 0x65, true}));

TEST(IssueCommand, EngineProbeIsLeftForTheEngineInAnyMode) {
    Dispatcher d;
    d.ctx.iUsbConnectSts.store(USB_BOOTLOADER);
    d.ctx.replyStatus.store(STATUS_WRITE_OK);
    EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_ENGINE_PROBE, 1, CMD_DIR_REQUEST), 1);
    EXPECT_EQ(d.Sent()[1], 0x01);
    EXPECT_EQ(d.sends, 0) << "the writer thread must not send during a flashing run";
    EXPECT_TRUE(d.ctx.bootEvent.IsSet());
    EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING);
}

TEST(IssueCommand, ConnectProbeGoesThroughTheWriterWithoutTouchingReplyStatus) {
    Dispatcher d;
    d.ctx.iUsbConnectSts.store(USB_CONNECTING);
    d.ctx.replyStatus.store(STATUS_READ_OK);
    EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_CONNECT_PROBE, 1, CMD_DIR_REQUEST), 1);
    EXPECT_EQ(d.Sent()[1], 0x01);
    EXPECT_EQ(d.sends, 1);
    EXPECT_EQ(d.ctx.replyStatus.load(), STATUS_READ_OK);
    EXPECT_FALSE(d.ctx.bootEvent.IsSet());
}

TEST(IssueCommand, UnknownRequestsAndDirectionTwoAreRefused) {
    Dispatcher d;
    for (std::int32_t type : {0, 2, 5, 10, 14, -1}) {
        EXPECT_EQ(d.commands.IssueCommand(type, 1, CMD_DIR_REQUEST), 0) << type;
    }
    EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_UNUSED), 0);
    EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, 6), 0);
    EXPECT_EQ(d.sends, 0);
}

TEST(IssueCommand, WriteConfigSendsTheEditedRecordAndZeroesLeftovers) {
    Dispatcher d;
    HidReport leftovers{};
    leftovers.fill(0xEE);
    leftovers[0] = 0;
    d.ctx.outputReport.Store(leftovers);
    for (std::size_t i = 0; i < kDeviceConfigSize; ++i) {
        d.ctx.deviceConfig.bytes()[i] = static_cast<std::uint8_t>(i + 1);
    }
    const DeviceConfig edited = d.ctx.deviceConfig;
    d.ctx.configWritePending = true;
    EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_WRITE), 1);
    const HidReport sent = d.Sent();
    EXPECT_EQ(sent[1], 0x1B);
    for (std::size_t i = 0; i < kDeviceConfigSize; ++i) {
        EXPECT_EQ(sent[2 + i], edited.bytes()[i]) << i;
    }
    for (std::size_t i = 48; i < kHidReportSize; ++i) {
        EXPECT_EQ(sent[i], 0) << i;
    }
    EXPECT_FALSE(d.ctx.configWritePending);
    EXPECT_TRUE(d.ctx.writeReplyAwaited);
    EXPECT_EQ(d.ctx.deviceConfig, edited);
}

TEST(IssueCommand, WriteConfigAfterInstallStampsTheInstalledVehicle) {
    Dispatcher d;
    d.ctx.mfg_id = u"QD7720R";
    d.ctx.softwareRecord.vehicle_make = u"Chevrolet";
    d.ctx.softwareRecord.vehicle_model = u"Tahoe";
    d.ctx.deviceConfig.set(CAP_FEATURES, true);
    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_WRITE);
    const HidReport sent = d.Sent();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sent[2 + 8]), 9), "Chevrolet");
    EXPECT_EQ(sent[2 + 36], 9);
    EXPECT_EQ(sent[2 + 37], 5);
    EXPECT_EQ(sent[2] & CAP_FEATURES, 0);
    EXPECT_NE(sent[3] & CAM_AFTERMARKET_REAR, 0);
}

// A settings edit left pending must not keep the install's write from carrying the new vehicle.
TEST(IssueCommand, InstallWriteStampsTheVehicleWhateverFlagIsSet) {
    for (bool pending : {false, true}) {
        Dispatcher d;
        d.ctx.mfg_id = u"QD7720R";
        d.ctx.softwareRecord.vehicle_make = u"Chevrolet";
        d.ctx.softwareRecord.vehicle_model = u"Tahoe";
        d.ctx.deviceConfig.set(CAP_FEATURES, true);
        d.ctx.configWritePending = pending;
        EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_STAMPED_CONFIG, 1, CMD_DIR_WRITE), 1);
        const HidReport sent = d.Sent();
        EXPECT_EQ(sent[1], 0x1B);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sent[2 + 8]), 9), "Chevrolet") << pending;
        EXPECT_EQ(sent[2] & CAP_FEATURES, 0) << pending;
        EXPECT_TRUE(d.ctx.writeReplyAwaited);
    }
}

TEST(IssueCommand, FeatureRebootAndOverlayWrites) {
    Dispatcher d;
    d.ctx.featureBits = 0xA5;
    d.ctx.featureWriteRequest = true;
    EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_FEATURES, 1, CMD_DIR_WRITE), 1);
    EXPECT_EQ(d.Sent()[1], 0x61);
    EXPECT_EQ(d.Sent()[2], 0xA5);
    EXPECT_FALSE(d.ctx.featureWriteRequest);
    EXPECT_TRUE(d.ctx.writeReplyAwaited);

    d.ctx.writeReplyAwaited = false;
    EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_REBOOT, 1, CMD_DIR_WRITE), 1);
    EXPECT_EQ(d.Sent()[1], 0x80);
    EXPECT_EQ(d.Sent()[2], 0) << "no leftover payload after the 0x61";
    EXPECT_TRUE(d.ctx.writeReplyAwaited);

    d.ctx.writeReplyAwaited = false;
    d.ctx.overlayConfig = OverlayConfig(OverlayConfig::Bytes{1, 2, 3, 4, 5, 6, 7, 8});
    d.ctx.overlayWritePending = true;
    EXPECT_EQ(d.commands.IssueCommand(CMD_TYPE_OVERLAY, 1, CMD_DIR_WRITE), 1);
    const HidReport sent = d.Sent();
    EXPECT_EQ(sent[1], 0x66);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(sent[2 + i], i + 1);
    }
    EXPECT_FALSE(d.ctx.overlayWritePending);
    EXPECT_TRUE(d.ctx.writeReplyAwaited);
    EXPECT_EQ(d.sends, 3);
    EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING) << "writes leave replyStatus alone";
}

TEST(IssueCommand, UnknownWriteSendsNothingButReturnsTheToken) {
    Dispatcher d;
    EXPECT_EQ(d.commands.IssueCommand(7, 1, CMD_DIR_WRITE), 1);
    EXPECT_EQ(d.sends, 0);
    EXPECT_FALSE(d.ctx.writeReplyAwaited);
}

TEST(IssueCommand, FtpDirectionsSetPathModeAndStartTheWorker) {
    Dispatcher d;
    d.ctx.softwareRecord.sw_path = u"/images/QD7720R";
    d.ctx.softwareRecord.sw_filename = u"tahoe_v12.bin";
    d.ctx.ftpDone.store(true);
    EXPECT_EQ(d.commands.IssueCommand(0, 1, CMD_DIR_FTP_CHECK), 1);
    EXPECT_EQ(d.ctx.remotePath, u"/images/QD7720R/tahoe_v12.bin");
    EXPECT_EQ(d.ctx.ftpMode.load(), FTP_CHECK);
    EXPECT_FALSE(d.ctx.ftpDone.load());
    d.ctx.ftpDone.store(true);
    EXPECT_EQ(d.commands.IssueCommand(0, 1, CMD_DIR_FTP_GET), 1);
    EXPECT_EQ(d.ctx.ftpMode.load(), FTP_GET);
    EXPECT_FALSE(d.ctx.ftpDone.load());
    EXPECT_EQ(d.ftpStarts, 2);
    EXPECT_EQ(d.sends, 0);
}

TEST(IssueCommand, RemotePathTooLongForTheTransfersIsLeftEmpty) {
    EXPECT_EQ(FormatRemotePath(std::u16string(40, u'p'), std::u16string(22, u'f')).size(), 63u);
    EXPECT_TRUE(FormatRemotePath(std::u16string(40, u'p'), std::u16string(23, u'f')).empty());
}

TEST(IssueCommand, EngineStartClearsFtpDoneFirst) {
    Dispatcher d;
    d.ctx.ftpDone.store(true);
    bool doneWhenStarted = true;
    d.commands.Hooks().startFlashEngine = [&] { doneWhenStarted = d.ctx.ftpDone.load(); };
    EXPECT_EQ(d.commands.IssueCommand(0, 1, CMD_DIR_START_ENGINE), 1);
    EXPECT_FALSE(doneWhenStarted);
}

}  // namespace
