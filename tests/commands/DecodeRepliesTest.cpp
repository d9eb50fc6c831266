// DecodeReplies: which report is taken as the answer to the command in flight, and what it changes.
#include <gtest/gtest.h>

#include "app/UpdaterContext.h"
#include "link/CommandSet.h"

namespace {

struct Decoder {
    UpdaterContext ctx;
    CommandSet commands{ctx};

    Decoder() { ctx.iUsbConnectSts.store(USB_APPLICATION); }
    void Arrive(const HidReport& report) { ctx.inputReport.Store(report); }
    void Tick() { commands.DecodeReplies(); }
};

HidReport Reply(std::uint8_t code, std::uint8_t status = 0) {
    HidReport report{};
    report[1] = code;
    report[2] = status;
    return report;
}

HidReport ConfigReply(std::uint8_t status, std::uint8_t fill) {
    HidReport report = Reply(0x1A, status);
    for (std::size_t i = 3; i < kHidReportSize; ++i) {
        report[i] = static_cast<std::uint8_t>(fill + i);
    }
    return report;
}

TEST(DecodeReplies, ConfigReadTakesIdentityAndRecordWithZeroTail) {
    Decoder d;
    d.ctx.deviceConfig.bytes().fill(0xCC);
    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_REQUEST);
    const HidReport reply = ConfigReply(STATUS_READ_OK, 0x10);
    d.Arrive(reply);
    d.Tick();
    EXPECT_EQ(d.ctx.replyStatus.load(), STATUS_READ_OK);
    EXPECT_FALSE(d.ctx.readReplyAwaited);
    EXPECT_EQ(d.ctx.mcuId[0], reply[3]);
    EXPECT_EQ(d.ctx.softwareId, ReadLe16(reply, 19));
    EXPECT_EQ(d.ctx.softwareBuild, reply[21]);
    for (std::size_t i = 0; i < 43; ++i) {
        EXPECT_EQ(d.ctx.deviceConfig.bytes()[i], reply[22 + i]) << i;
    }
    for (std::size_t i = 43; i < 46; ++i) {
        EXPECT_EQ(d.ctx.deviceConfig.bytes()[i], 0) << i;
    }
    EXPECT_EQ(d.ctx.mcu_serial.size(), 35u);

    // The write that follows sends those three bytes as zero.
    d.ctx.configWritePending = true;
    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_WRITE);
    const HidReport sent = d.ctx.outputReport.Load();
    EXPECT_EQ(sent[45], 0);
    EXPECT_EQ(sent[46], 0);
    EXPECT_EQ(sent[47], 0);
}

TEST(DecodeReplies, ConfigReadErrorKeepsTheEarlierRecord) {
    Decoder d;
    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_REQUEST);
    d.Arrive(ConfigReply(STATUS_READ_OK, 0x20));
    d.Tick();
    const DeviceConfig first = d.ctx.deviceConfig;
    const std::u16string serial = d.ctx.mcu_serial;

    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_REQUEST);
    EXPECT_TRUE(d.ctx.readReplyAwaited);
    d.Arrive(ConfigReply(STATUS_READ_ERROR, 0x70));
    d.Tick();
    EXPECT_EQ(d.ctx.replyStatus.load(), STATUS_READ_ERROR);
    EXPECT_FALSE(d.ctx.readReplyAwaited);
    EXPECT_EQ(d.ctx.deviceConfig, first);
    EXPECT_EQ(d.ctx.mcu_serial, serial);
}

TEST(DecodeReplies, ReportFromBeforeTheRequestIsNotTakenAsItsAnswer) {
    Decoder d;
    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_REQUEST);
    d.Arrive(ConfigReply(STATUS_READ_OK, 0x20));
    d.Tick();
    const DeviceConfig first = d.ctx.deviceConfig;

    // A second read goes out; the old 0x1A reply is still the last report in the buffer.
    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_REQUEST);
    d.Tick();
    d.Tick();
    EXPECT_TRUE(d.ctx.readReplyAwaited);
    EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING);

    d.Arrive(ConfigReply(STATUS_READ_OK, 0x30));
    d.Tick();
    EXPECT_FALSE(d.ctx.readReplyAwaited);
    EXPECT_NE(d.ctx.deviceConfig, first);
}

TEST(DecodeReplies, OtherReportsLeaveTheReadOutstanding) {
    Decoder d;
    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_REQUEST);
    d.Arrive(Reply(0x10, 0x21));
    d.Tick();
    d.Arrive(Reply(0x66, STATUS_WRITE_OK));
    d.Tick();
    EXPECT_TRUE(d.ctx.readReplyAwaited);
    EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING);
}

TEST(DecodeReplies, OverlayReplyLeavesReplyStatus) {
    Decoder d;
    d.commands.IssueCommand(CMD_TYPE_OVERLAY, 1, CMD_DIR_REQUEST);
    HidReport reply = Reply(0x65, 0x16);  // byte 2 is overlay data, not a status
    for (int i = 3; i < 10; ++i) {
        reply[i] = static_cast<std::uint8_t>(i);
    }
    d.Arrive(reply);
    d.Tick();
    EXPECT_TRUE(d.ctx.overlayReceived);
    EXPECT_FALSE(d.ctx.readReplyAwaited);
    EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING);
    EXPECT_EQ(d.ctx.overlayConfig.bytes()[0], 0x16);
    EXPECT_EQ(d.ctx.overlayConfig.bytes()[7], 9);
}

TEST(DecodeReplies, FeatureReadTakesBitsOnlyWhenRequestedAndGood) {
    Decoder d;
    d.ctx.featureBits = 0x11;
    d.commands.IssueCommand(CMD_TYPE_FEATURES, 1, CMD_DIR_REQUEST);
    HidReport reply = Reply(0x60, STATUS_READ_OK);
    reply[3] = 0x5C;
    d.Arrive(reply);
    d.Tick();
    EXPECT_EQ(d.ctx.featureBits, 0x11) << "featureReadRequest was not set";
    EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING);

    d.ctx.featureReadRequest = true;
    d.commands.IssueCommand(CMD_TYPE_FEATURES, 1, CMD_DIR_REQUEST);
    reply[2] = STATUS_READ_ERROR;
    d.Arrive(reply);
    d.Tick();
    EXPECT_EQ(d.ctx.replyStatus.load(), STATUS_READ_ERROR);
    EXPECT_EQ(d.ctx.featureBits, 0x11);

    d.commands.IssueCommand(CMD_TYPE_FEATURES, 1, CMD_DIR_REQUEST);
    reply[2] = STATUS_READ_OK;
    d.Arrive(reply);
    d.Tick();
    EXPECT_EQ(d.ctx.replyStatus.load(), STATUS_READ_OK);
    EXPECT_EQ(d.ctx.featureBits, 0x5C);
}

TEST(DecodeReplies, ProgrammingStatusPollsUntilFinishedOrFailed) {
    Decoder d;
    d.ctx.statusPollActive = true;
    HidReport reply = Reply(0x62, STATUS_READ_OK);
    reply[3] = 1;
    d.commands.IssueCommand(CMD_TYPE_FEATURE_STATUS, 1, CMD_DIR_REQUEST);
    d.Arrive(reply);
    d.Tick();
    EXPECT_TRUE(d.ctx.statusPollActive);
    EXPECT_EQ(d.ctx.programPhase, 1);

    d.commands.IssueCommand(CMD_TYPE_FEATURE_STATUS, 1, CMD_DIR_REQUEST);
    reply[3] = 3;
    reply[4] = 2;
    d.Arrive(reply);
    d.Tick();
    EXPECT_FALSE(d.ctx.statusPollActive);
    EXPECT_EQ(d.ctx.programPhase, 3);
    EXPECT_EQ(d.ctx.programError, 2);
    EXPECT_EQ(d.ctx.replyStatus.load(), STATUS_READ_OK);

    d.ctx.statusPollActive = true;
    d.ctx.programError = 0;
    d.commands.IssueCommand(CMD_TYPE_FEATURE_STATUS, 1, CMD_DIR_REQUEST);
    reply[3] = 2;
    reply[4] = 4;
    d.Arrive(reply);
    d.Tick();
    EXPECT_FALSE(d.ctx.statusPollActive);
    EXPECT_EQ(d.ctx.programError, 0) << "the error byte counts only with phase 3";
}

TEST(DecodeReplies, WriteRepliesEndTheWrite) {
    for (auto [type, code] : {std::pair{CMD_TYPE_CONFIG, 0x1B}, std::pair{CMD_TYPE_FEATURES, 0x61},
                              std::pair{CMD_TYPE_OVERLAY, 0x66}}) {
        Decoder d;
        d.ctx.configWritePending = true;
        d.commands.IssueCommand(type, 1, CMD_DIR_WRITE);
        d.Arrive(Reply(static_cast<std::uint8_t>(code), STATUS_WRITE_ERROR));
        d.Tick();
        EXPECT_FALSE(d.ctx.writeReplyAwaited) << code;
        EXPECT_EQ(d.ctx.replyStatus.load(), STATUS_WRITE_ERROR) << code;
    }
    Decoder d;
    d.commands.IssueCommand(CMD_TYPE_REBOOT, 1, CMD_DIR_WRITE);
    d.Arrive(Reply(0x80, 0x44));
    d.Tick();
    EXPECT_FALSE(d.ctx.writeReplyAwaited);
    EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING) << "0x80 carries no status";
}

TEST(DecodeReplies, WriteReplyWithoutAWriteOutstandingChangesNothing) {
    Decoder d;
    d.commands.IssueCommand(CMD_TYPE_CONFIG, 1, CMD_DIR_REQUEST);
    d.Arrive(Reply(0x1B, STATUS_WRITE_OK));
    d.Tick();
    EXPECT_EQ(d.ctx.replyStatus.load(), REPLY_PENDING);
    EXPECT_TRUE(d.ctx.readReplyAwaited);
}

}  // namespace
