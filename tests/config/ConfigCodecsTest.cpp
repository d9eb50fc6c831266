#include "config/ConfigCodecs.h"

#include <gtest/gtest.h>

#include "app/UpdaterContext.h"

namespace {

// A read-config reply: status, controller id 00 11 .. FF, software id 0x0102, build 7, then
// record bytes 0..42 numbered 0x80 + index so every byte is recognisable.
HidReport ConfigReplyReport(std::uint8_t status) {
    HidReport report{};
    report[1] = CODE_READ_CONFIG;
    report[2] = status;
    for (std::size_t i = 0; i < 16; ++i) {
        report[3 + i] = static_cast<std::uint8_t>(i * 0x11);
    }
    report[19] = 0x02;
    report[20] = 0x01;
    report[21] = 7;
    for (std::size_t i = 0; i < 43; ++i) {
        report[22 + i] = static_cast<std::uint8_t>(0x80 + i);
    }
    return report;
}

TEST(ConfigReply, SuccessfulReadTakesIdentityRecordAndSerial) {
    UpdaterContext ctx;
    ctx.readReplyAwaited = true;
    ctx.deviceConfig.bytes().fill(0xEE);  // 43..45 from an earlier record must not survive

    EXPECT_EQ(DecodeConfigReply(ctx, ConfigReplyReport(0x16)), 0x16);

    EXPECT_EQ(ctx.replyStatus.load(), 0x16);
    EXPECT_FALSE(ctx.readReplyAwaited);
    EXPECT_TRUE(ctx.deviceConfigValid);
    EXPECT_EQ(ctx.mcuId[0], 0x00);
    EXPECT_EQ(ctx.mcuId[15], 0xFF);
    EXPECT_EQ(ctx.softwareId, 0x0102);
    EXPECT_EQ(ctx.softwareBuild, 7);
    EXPECT_EQ(ctx.mcu_serial, u"00112233-44556677-8899AABB-CCDDEEFF");
    for (std::size_t i = 0; i < 43; ++i) {
        EXPECT_EQ(ctx.deviceConfig.bytes()[i], 0x80 + i) << i;
    }
    EXPECT_EQ(ctx.deviceConfig.bytes()[43], 0);
    EXPECT_EQ(ctx.deviceConfig.bytes()[44], 0);
    EXPECT_EQ(ctx.deviceConfig.bytes()[45], 0);
}

TEST(ConfigReply, ReadErrorKeepsTheEarlierRecordAndIdentity) {
    UpdaterContext ctx;
    DecodeConfigReply(ctx, ConfigReplyReport(0x16));
    const DeviceConfig before = ctx.deviceConfig;

    HidReport failed = ConfigReplyReport(0x21);
    std::fill(failed.begin() + 3, failed.end(), 0x42);
    ctx.readReplyAwaited = true;
    EXPECT_EQ(DecodeConfigReply(ctx, failed), 0x21);

    EXPECT_EQ(ctx.replyStatus.load(), 0x21);
    EXPECT_FALSE(ctx.readReplyAwaited);
    EXPECT_EQ(ctx.deviceConfig, before);
    EXPECT_EQ(ctx.mcu_serial, u"00112233-44556677-8899AABB-CCDDEEFF");
    EXPECT_EQ(ctx.softwareId, 0x0102);
}

TEST(ConfigReply, FailedFirstReadLeavesEverythingZero) {
    UpdaterContext ctx;
    DecodeConfigReply(ctx, ConfigReplyReport(0x05));
    EXPECT_EQ(ctx.replyStatus.load(), 0x05);
    EXPECT_FALSE(ctx.deviceConfigValid);
    EXPECT_EQ(ctx.deviceConfig, DeviceConfig{});
    EXPECT_TRUE(ctx.mcu_serial.empty());
}

TEST(ConfigCommand, EditedRecordGoesOutByteForByteAndClearsTheFlag) {
    UpdaterContext ctx;
    ctx.mfg_id = u"QD7720R";
    DecodeConfigReply(ctx, ConfigReplyReport(0x16));
    ctx.configWritePending = true;
    HidReport report;
    report.fill(0xEE);  // what earlier commands left behind

    EncodeConfigCommand(ctx, u"Ford", u"F-150", report);

    EXPECT_FALSE(ctx.configWritePending);
    EXPECT_EQ(report[0], 0xEE);
    EXPECT_EQ(report[1], 0x1B);
    for (std::size_t i = 0; i < 43; ++i) {
        EXPECT_EQ(report[2 + i], 0x80 + i) << i;
    }
    EXPECT_EQ(report[45], 0);
    EXPECT_EQ(report[46], 0);
    EXPECT_EQ(report[47], 0);
    for (std::size_t i = 48; i < kHidReportSize; ++i) {
        EXPECT_EQ(report[i], 0xEE) << i;
    }
}

TEST(ConfigCommand, WriteAfterInstallStampsVehicleAndClearsFeatures) {
    UpdaterContext ctx;
    ctx.mfg_id = u"WD7731R";
    ctx.deviceConfig.set(CAP_FEATURES, true);
    ctx.deviceConfig.set(CAP_VIDEO_SETTINGS, true);
    ctx.deviceConfig.setVehicleMake("Ford");
    ctx.deviceConfig.setVehicleModel("F-150");
    HidReport report{};

    EncodeConfigCommand(ctx, u"Ford", u"F-150", report);  // same vehicle: still stamped

    EXPECT_EQ(report[1], 0x1B);
    EXPECT_EQ(report[2], CAP_VIDEO_SETTINGS);  // CAP_FEATURES cleared
    EXPECT_EQ(report[3], 0);                   // WD7731R: no aftermarket rear
    const std::array<std::uint8_t, 6> make{'F', 'o', 'r', 'd', 0, 0};
    EXPECT_TRUE(std::equal(make.begin(), make.end(), report.begin() + 10));
    EXPECT_EQ(report[2 + 36], 4);
    EXPECT_EQ(report[2 + 37], 5);
}

TEST(ConfigCommand, StampSetsAftermarketRearForItsModelsOnly) {
    for (auto model : {u"QD7720R", u"QD772ER", u"QH7720R", u"QH772ER"}) {
        DeviceConfig config;
        StampVehicle(config, u"GMC", u"Sierra", model);
        EXPECT_TRUE(config.has(CAM_AFTERMARKET_REAR));
        EXPECT_EQ(config.cameraFlags(), CAM_AFTERMARKET_REAR);
    }
    for (auto model : {u"WD7731R", u"TN7931R", u"WE5540R", u""}) {
        DeviceConfig config;
        StampVehicle(config, u"GMC", u"Sierra", model);
        EXPECT_FALSE(config.has(CAM_AFTERMARKET_REAR));
    }
}

TEST(ConfigCommand, StampConvertsAndCutsNamesInsideTheirFields) {
    DeviceConfig::Bytes bytes;
    bytes.fill(0x77);
    DeviceConfig config(bytes);
    StampVehicle(config, u"Citro\u00EBn \u0160koda \U0001F697 Long", u"Land Cruiser Prado", u"TN7931R");

    EXPECT_EQ(config.vehicleMake(), "Citro\xEBn ?koda");  // 13 characters
    EXPECT_EQ(config.vehicleModel(), "Land Cruiser ");
    EXPECT_EQ(config.bytes()[21], 0);
    EXPECT_EQ(config.bytes()[35], 0);
    EXPECT_EQ(config.vehicleMakeLength(), 13);
    EXPECT_EQ(config.bytes()[38], 0x77);
    EXPECT_EQ(config.bytes()[7], 0x77);
}

TEST(VehicleText, CharactersBeyondLatin1BecomeOneQuestionMarkEach) {
    EXPECT_EQ(ToVehicleText(u"Kia"), "Kia");
    EXPECT_EQ(ToVehicleText(u"\u00FF\u0100"), "\xFF?");
    EXPECT_EQ(ToVehicleText(u"a\U0001F697b"), "a?b");          // surrogate pair is one character
    EXPECT_EQ(ToVehicleText(std::u16string(1, 0xD800)), "?");  // lone surrogate
}

TEST(OverlayReply, TakesEightBytesAndLeavesReplyStatus) {
    UpdaterContext ctx;
    ctx.replyStatus = 0x0B;
    ctx.readReplyAwaited = true;
    HidReport report{};
    report[1] = CODE_READ_OVERLAY;
    const std::array<std::uint8_t, 8> block{0x01, 0x02, 0x03, 0x04, 0xFF, 0xA5, 0x5A, 0x08};
    std::copy(block.begin(), block.end(), report.begin() + 2);
    report[10] = 0x99;

    DecodeOverlayReply(ctx, report);

    EXPECT_EQ(ctx.overlayConfig.bytes(), block);
    EXPECT_TRUE(ctx.overlayReceived);
    EXPECT_FALSE(ctx.readReplyAwaited);
    EXPECT_EQ(ctx.replyStatus.load(), 0x0B);
}

TEST(OverlayCommand, LaysEightBytesAndClearsPending) {
    UpdaterContext ctx;
    ctx.overlayConfig = OverlayConfig({0x10, 0x07, 0x70, 0xAB, 0x55, 0xF3, 0x4F, 0xCD});
    ctx.overlayWritePending = true;
    HidReport report;
    report.fill(0xEE);

    EncodeOverlayCommand(ctx, report);

    EXPECT_FALSE(ctx.overlayWritePending);
    const std::array<std::uint8_t, 10> head{0xEE, 0x66, 0x10, 0x07, 0x70, 0xAB, 0x55, 0xF3, 0x4F, 0xCD};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), report.begin()));
    for (std::size_t i = 10; i < kHidReportSize; ++i) {
        EXPECT_EQ(report[i], 0xEE) << i;
    }
}

TEST(IdentitySummary, NeverReadInterfaceShowsZerosAndEmptyTexts) {
    UpdaterContext ctx;
    ctx.mfg_id = u"WE5540R";
    EXPECT_EQ(FormatIdentitySummary(ctx),
              u"ID: WE5540R, Software ID: 0, Software Build: 0, Make: , Model: , MCU Serial: ");
}

TEST(IdentitySummary, ShowsDecodedIdentityAndLatin1Vehicle) {
    UpdaterContext ctx;
    ctx.mfg_id = u"TN7931R";
    HidReport report = ConfigReplyReport(0x16);
    report[19] = 0x39;  // 12345
    report[20] = 0x30;
    report[21] = 255;
    DecodeConfigReply(ctx, report);
    ctx.deviceConfig.setVehicleMake("Citro\xEBn");
    ctx.deviceConfig.setVehicleModel("C5");
    EXPECT_EQ(FormatIdentitySummary(ctx),
              u"ID: TN7931R, Software ID: 12345, Software Build: 255, Make: Citro\u00EBn, Model: C5, "
              u"MCU Serial: 00112233-44556677-8899AABB-CCDDEEFF");
}

TEST(McuSerial, FormatsUpperCaseHexInFourGroups) {
    McuId id{};
    id[0] = 0xAB;
    id[3] = 0x0F;
    id[4] = 0xC0;
    EXPECT_EQ(FormatMcuSerial(id), u"AB00000F-C0000000-00000000-00000000");
    EXPECT_EQ(FormatMcuSerial(id).size(), 35u);
}

}  // namespace
