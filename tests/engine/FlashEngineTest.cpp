// Whole flashing runs through the real reader thread against the emulated bootloader, with and
// without the interface misbehaving.
#include <gtest/gtest.h>

#include "sim/FirmwareImage.h"
#include "tests/support/LinkRig.h"

namespace {

using namespace std::chrono_literals;

std::vector<std::uint8_t> Image(std::uint32_t length, std::uint16_t softwareId = 42) {
    return MakeFirmwareImage("QD7720R", softwareId, 7, length);
}

LinkRigOptions ShortTimeout() {
    LinkRigOptions options;
    options.engine.replyTimeout = 300ms;
    return options;
}

std::vector<HidReport> WithCode(const std::vector<HidReport>& reports, std::uint8_t code) {
    std::vector<HidReport> found;
    for (const HidReport& r : reports) {
        if (r[1] == code) {
            found.push_back(r);
        }
    }
    return found;
}

TEST(FlashEngine, MultiSectorImageEndsUpInTheInterfacesFlash) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    ASSERT_EQ(rig.ctx.iUsbConnectSts.load(), USB_BOOTLOADER);
    const auto image = Image(3 * 4096 + 1000);
    ASSERT_TRUE(rig.Flash(image));
    EXPECT_EQ(rig.telvix.flash->Contents(), PaddedToSectors(image));
    EXPECT_EQ(rig.telvix.bootloader->ProtocolViolations(), 0);
    EXPECT_EQ(rig.ctx.confirmedSum.load(), rig.ctx.imageSum.load());
    EXPECT_EQ(rig.ctx.sectorIndex.load(), 4);
    EXPECT_TRUE(rig.ctx.imageBuffer.empty()) << "the image is released after the run";

    // 274 round trips per sector, probe, parameters, finish and the closing 0x09.
    const auto sent = rig.box.ReceivedReports();
    EXPECT_EQ(WithCode(sent, 0x04).size(), 4u * 256);
    ASSERT_FALSE(WithCode(sent, 0x09).empty());
    // The interface then restarts into its application, running the new software.
    ASSERT_TRUE(WaitUntil([&] { return rig.box.Mode() == DeviceMode::Application; }));
    ASSERT_TRUE(rig.box.WaitUntilIdle());
    EXPECT_EQ(rig.telvix.application->Software().softwareId, 42);
    EXPECT_EQ(rig.telvix.application->Software().softwareBuild, 7);
}

TEST(FlashEngine, FiveThousandByteImageSendsItsParameters) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.Flash(Image(5000)));
    const auto parameters = WithCode(rig.box.ReceivedReports(), 0x02);
    ASSERT_EQ(parameters.size(), 1u);
    const std::vector<std::uint8_t> expected{0x00, 0x01, 0x10, 0x00, 0x10, 0x02, 0x02, 0x00};
    EXPECT_EQ(std::vector<std::uint8_t>(parameters[0].begin() + 2, parameters[0].begin() + 10), expected);
    EXPECT_EQ(rig.ctx.flashProgress.load(), 96);
}

TEST(FlashEngine, ExactlyOneSector) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    ASSERT_TRUE(rig.Flash(Image(4096)));
    EXPECT_EQ(WithCode(rig.box.ReceivedReports(), 0x03).size(), 1u);
    EXPECT_EQ(rig.telvix.flash->Contents().size(), 4096u);
}

TEST(FlashEngine, PageSumWrongTwiceThenRightSucceeds) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    rig.telvix.faults->Update([](FaultPlan& f) { f.wrongPageSums = 2; });
    const auto image = Image(4096);
    ASSERT_TRUE(rig.Flash(image));
    EXPECT_EQ(rig.ctx.retryCount.load(), 0);
    EXPECT_EQ(WithCode(rig.box.ReceivedReports(), 0x04).size(), 256u + 2 * 16)
        << "the page went out three times";
    EXPECT_EQ(rig.telvix.flash->Contents(), PaddedToSectors(image));
}

TEST(FlashEngine, PageSumWrongThreeTimesFails) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    rig.telvix.faults->Update([](FaultPlan& f) { f.wrongPageSums = 3; });
    EXPECT_FALSE(rig.Flash(Image(4096)));
    EXPECT_TRUE(rig.ctx.ftpDone.load());
    EXPECT_EQ(rig.telvix.flash->ProgramCount(), 0);
}

TEST(FlashEngine, SectorCheckFailingTwiceIsRetriedThreeTimesFails) {
    {
        LinkRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.telvix.faults->Update([](FaultPlan& f) { f.failedSectorChecks = 2; });
        EXPECT_TRUE(rig.Flash(Image(6000)));
        EXPECT_EQ(WithCode(rig.box.ReceivedReports(), 0x07).size(), 4u);
    }
    {
        LinkRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.telvix.faults->Update([](FaultPlan& f) { f.failedSectorChecks = 3; });
        EXPECT_FALSE(rig.Flash(Image(6000)));
    }
}

TEST(FlashEngine, ParameterEcho) {
    {
        LinkRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.telvix.faults->Update([](FaultPlan& f) { f.corruptEchoByte = 8; });
        EXPECT_FALSE(rig.Flash(Image(5000)));
        EXPECT_TRUE(WithCode(rig.box.ReceivedReports(), 0x03).empty()) << "no sector begun";
    }
    {
        LinkRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.telvix.faults->Update([](FaultPlan& f) { f.corruptEchoByte = 9; });
        EXPECT_TRUE(rig.Flash(Image(5000)));
    }
}

TEST(FlashEngine, SectorEndingEarlyFailsOnTheConfirmedSum) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    rig.telvix.faults->Update([](FaultPlan& f) { f.pagesPerSector = 8; });
    EXPECT_FALSE(rig.Flash(Image(4096)));
    EXPECT_NE(rig.ctx.confirmedSum.load(), rig.ctx.imageSum.load());
    EXPECT_TRUE(WithCode(rig.box.ReceivedReports(), 0x08).empty());
}

TEST(FlashEngine, SectorEndingEarlyIsHarmlessWhenTheMissingPagesAreZero) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    rig.telvix.faults->Update([](FaultPlan& f) { f.pagesPerSector = 8; });
    auto image = Image(4096);
    std::fill(image.begin() + 8 * 256, image.end(), 0);
    EXPECT_TRUE(rig.Flash(image));
    EXPECT_EQ(rig.telvix.flash->Contents(), image);
}

TEST(FlashEngine, InterfaceNotEndingPagesOrSectorsNeverMakesTheEngineReadPastTheImage) {
    for (auto edit :
         {+[](FaultPlan& f) { f.chunksPerPage = 40; }, +[](FaultPlan& f) { f.pagesPerSector = 40; }}) {
        LinkRig rig;
        ASSERT_TRUE(rig.Connect());
        rig.telvix.faults->Update(edit);
        EXPECT_FALSE(rig.Flash(Image(4096)));
        for (const HidReport& chunk : WithCode(rig.box.ReceivedReports(), 0x04)) {
            EXPECT_LT(ReadLe16(chunk, 2), 16);
            EXPECT_LT(ReadLe16(chunk, 4), 16);
        }
    }
}

TEST(FlashEngine, SilentInterfaceEndsTheRunAfterTheReplyTimeout) {
    for (std::uint64_t k : {1u, 2u, 3u, 40u, 290u}) {
        LinkRig rig(ShortTimeout());
        ASSERT_TRUE(rig.Connect());
        rig.telvix.faults->Update([k](FaultPlan& f) { f.silentAfterReport = k; });
        EXPECT_FALSE(rig.Flash(Image(8192))) << "silent after report " << k;
        EXPECT_TRUE(rig.ctx.ftpDone.load());
        EXPECT_FALSE(rig.ctx.flashRunActive.load());
    }
}

TEST(FlashEngine, UnpluggedInterfaceEndsTheRun) {
    for (std::uint64_t k : {1u, 3u, 100u}) {
        LinkRig rig(ShortTimeout());
        ASSERT_TRUE(rig.Connect());
        rig.telvix.faults->Update([k](FaultPlan& f) { f.unplugAfterReport = k; });
        EXPECT_FALSE(rig.Flash(Image(8192))) << "unplugged after report " << k;
        EXPECT_EQ(rig.box.Mode(), DeviceMode::Unplugged);
    }
}

TEST(FlashEngine, ApplicationAnsweringTheFirstProbeIsNoSuccess) {
    LinkRig rig(ShortTimeout());
    ASSERT_TRUE(rig.Connect());
    rig.telvix.faults->Update([](FaultPlan& f) { f.applicationStatusToFirstProbe = true; });
    EXPECT_FALSE(rig.Flash(Image(4096)));
    EXPECT_EQ(rig.ctx.ftpResult.load(), 1);
    EXPECT_EQ(rig.telvix.flash->ProgramCount(), 0);
    const auto sent = rig.box.ReceivedReports();
    EXPECT_FALSE(WithCode(sent, 0x80).empty()) << "the engine asked for a restart";
    EXPECT_TRUE(WithCode(sent, 0x09).empty());
}

TEST(FlashEngine, StatusErrorsEndTheRun) {
    for (std::uint8_t command : {0x03, 0x07}) {
        LinkRig rig(ShortTimeout());
        ASSERT_TRUE(rig.Connect());
        rig.telvix.faults->Update([command](FaultPlan& f) { f.statusOverride[command] = 0x05; });
        EXPECT_FALSE(rig.Flash(Image(4096))) << int{command};
        EXPECT_EQ(rig.telvix.flash->ProgramCount(), 0);
    }
}

TEST(FlashEngine, UnusableImagesAreRefusedBeforeAnythingIsSent) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    const std::size_t before = rig.box.ReceivedCount();
    EXPECT_FALSE(rig.Flash(std::vector<std::uint8_t>{}));
    EXPECT_FALSE(rig.Flash(std::vector<std::uint8_t>(kMaxImageBytes + 1, 1)));
    // Parameters for one sector, but no image loaded: the start completes as a failure.
    ASSERT_TRUE(SetBootParameters(rig.ctx, 100));
    ASSERT_TRUE(rig.RunEngine());
    EXPECT_EQ(rig.ctx.ftpResult.load(), 1);
    ASSERT_TRUE(rig.box.WaitUntilIdle());
    EXPECT_EQ(rig.box.ReceivedCount(), before);
}

TEST(FlashEngine, SecondRunStartsFromCleanCounters) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    rig.telvix.faults->Update([](FaultPlan& f) { f.wrongPageSums = 3; });
    ASSERT_FALSE(rig.Flash(Image(8192, 1)));
    EXPECT_NE(rig.ctx.retryCount.load(), 0);

    rig.telvix.faults->Update([](FaultPlan& f) { f = FaultPlan{}; });
    const auto second = Image(4096, 2);
    ASSERT_TRUE(LoadFlashImage(rig.ctx, second));
    EXPECT_EQ(rig.ctx.imageSum.load(), ByteSum(second));
    ASSERT_TRUE(rig.engine->Start());
    EXPECT_EQ(rig.ctx.retryCount.load(), 0);
    EXPECT_EQ(rig.ctx.confirmedSum.load(), 0u);
    EXPECT_EQ(rig.ctx.flashProgress.load(), 0);
    EXPECT_EQ(rig.ctx.sectorIndex.load(), 0);
    EXPECT_EQ(rig.ctx.bootStep.load(), BOOT_SEND_PREPARED);
    rig.engine->Cancel();
    rig.engine->Join();
    EXPECT_EQ(rig.ctx.ftpResult.load(), 1) << "a cancelled run is no success";
    EXPECT_TRUE(rig.ctx.ftpDone.load());
}

TEST(FlashEngine, SecondFullRunAfterAFailureFlashesTheNewImage) {
    LinkRig rig;
    ASSERT_TRUE(rig.Connect());
    rig.telvix.faults->Update([](FaultPlan& f) { f.failedSectorChecks = 3; });
    ASSERT_FALSE(rig.Flash(Image(8192, 1)));
    // The channel stays up after a failure; the bootloader takes a fresh run.
    rig.telvix.faults->Update([](FaultPlan& f) { f = FaultPlan{}; });
    const auto second = Image(4096 + 17, 2);
    ASSERT_TRUE(rig.Flash(second));
    EXPECT_EQ(rig.telvix.flash->Contents(), PaddedToSectors(second));
}

}  // namespace
