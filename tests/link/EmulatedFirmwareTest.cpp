// The emulated interface's firmware driven with raw reports: it refuses malformed reports, reads
// only the bytes a command defines (the bytes after every payload here are garbage), lays its
// replies out byte by byte, counts updates, and pushes programming status on its own clock.
#include <gtest/gtest.h>

#include "sim/EmulatedHidBus.h"
#include "sim/FirmwareImage.h"
#include "sim/TelvixFirmware.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LinkHelpers.h"

namespace {
using namespace std::chrono_literals;

// A command with its payload from byte 2 and garbage in every byte after it.
HidReport Command(std::uint8_t code, std::vector<std::uint8_t> payload = {}) {
    HidReport report{};
    for (std::size_t i = 2; i < report.size(); ++i)
        report[i] = static_cast<std::uint8_t>(0xA7 ^ (i * 29));
    report[1] = code;
    std::copy(payload.begin(), payload.end(), report.begin() + 2);
    return report;
}

struct Box {
    explicit Box(DeviceMode mode, const std::function<void(ApplicationOptions&)>& edit = {})
        : box(bus.PlugInterface("QD7720R", DeviceMode::Unplugged)) {
        ApplicationOptions options = DefaultApplicationOptions("QD7720R");
        if (edit)
            edit(options);
        telvix = InstallTelvixFirmware(box, options);
        box.SetClock(clock);
        box.Plug(mode);
        write = bus.Hid().OpenWrite(bus.Hid().ListCollections().at(0).path);
    }
    // Writes the reports and returns what the device sent in answer (and by itself meanwhile).
    std::vector<HidReport> Exchange(const std::vector<HidReport>& reports) {
        EXPECT_TRUE(box.WaitUntilIdle());
        const std::size_t before = box.SentReports().size();
        for (const HidReport& report : reports)
            EXPECT_TRUE(write->Write(report));
        EXPECT_TRUE(box.WaitUntilIdle());
        const std::vector<HidReport> sent = box.SentReports();
        return {sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end()};
    }
    HidReport Only(const HidReport& report) {
        const std::vector<HidReport> replies = Exchange({report});
        EXPECT_EQ(replies.size(), 1u);
        return replies.empty() ? HidReport{} : replies.front();
    }

    FakeClock clock;
    EmulatedHidBus bus;
    EmulatedInterface& box;
    TelvixFirmware telvix;
    std::unique_ptr<HidWriteHandle> write;
};

std::vector<std::pair<int, int>> Phases(const std::vector<HidReport>& reports) {
    std::vector<std::pair<int, int>> phases;
    for (const HidReport& report : reports) {
        EXPECT_EQ(report[1], 0x62);
        EXPECT_EQ(report[2], 0x16);
        phases.emplace_back(report[3], report[4]);
    }
    return phases;
}

TEST(EmulatedFirmware, ReportsWithAnotherIdAreRefusedInEitherMode) {
    for (DeviceMode mode : {DeviceMode::Application, DeviceMode::Bootloader}) {
        Box rig(mode);
        HidReport probe = Command(0x01);
        probe[0] = 0x01;
        EXPECT_TRUE(rig.Exchange({probe}).empty());
        EXPECT_EQ(rig.box.RefusedReports(), 1);
        probe[0] = 0;
        EXPECT_EQ(rig.Only(probe)[1], 0x10) << "a good report after a refused one is answered";
        EXPECT_EQ(rig.box.RefusedReports(), 1);
    }
}

TEST(EmulatedFirmware, ParameterCommandWithASpareByteIsRefusedWithoutEcho) {
    Box rig(DeviceMode::Bootloader);
    std::vector<std::uint8_t> parameters{0x00, 0x01, 0x10, 0x00, 0x10, 0x02, 0x02, 0x01};
    EXPECT_TRUE(rig.Exchange({Command(0x02, parameters)}).empty());
    EXPECT_EQ(rig.box.RefusedReports(), 1);
    EXPECT_EQ(rig.Only(Command(0x03))[2], 1) << "no session was set up by the refused command";

    parameters[7] = 0;
    const HidReport echo = rig.Only(Command(0x02, parameters));
    EXPECT_EQ(echo[1], 0x20);
    EXPECT_TRUE(std::equal(parameters.begin(), parameters.end(), echo.begin() + 2));
    EXPECT_EQ(rig.Only(Command(0x03))[2], 0);
    EXPECT_EQ(rig.box.RefusedReports(), 1);
    EXPECT_EQ(rig.telvix.bootloader->ProtocolViolations(), 1);  // the 0x03 without a session
}

TEST(EmulatedFirmware, CommandsReadOnlyTheirOwnBytesAndRepliesFollowTheLayout) {
    Box rig(DeviceMode::Application, [](ApplicationOptions& o) {
        for (std::size_t i = 0; i < o.mcuId.size(); ++i)
            o.mcuId[i] = static_cast<std::uint8_t>(0x10 + i);
        o.softwareId = 0x1234;
        o.softwareBuild = 7;
    });
    std::vector<std::uint8_t> record(46);
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<std::uint8_t>(200 - i);
    EXPECT_EQ(rig.Only(Command(0x1B, record))[2], 0x2C);
    EXPECT_TRUE(
        std::equal(record.begin(), record.end(), rig.telvix.application->StoredConfig().bytes().begin()));

    const HidReport config = rig.Only(Command(0x1A));
    EXPECT_EQ(config[0], 0);
    EXPECT_EQ(config[1], 0x1A);
    EXPECT_EQ(config[2], 0x16);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(config[3 + i], 0x10 + i);
    EXPECT_EQ(config[19], 0x34);
    EXPECT_EQ(config[20], 0x12);
    EXPECT_EQ(config[21], 7);
    EXPECT_TRUE(std::equal(record.begin(), record.begin() + 43, config.begin() + 22));

    const std::vector<std::uint8_t> overlay{1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(rig.Only(Command(0x66, overlay))[2], 0x2C);
    const HidReport readOverlay = rig.Only(Command(0x65));
    EXPECT_TRUE(std::equal(overlay.begin(), overlay.end(), readOverlay.begin() + 2));
    EXPECT_EQ(readOverlay[10], 0);

    EXPECT_EQ(rig.Only(Command(0x61, {0x5A}))[2], 0x2C);
    const HidReport features = rig.Only(Command(0x60));
    EXPECT_EQ(features[2], 0x16);
    EXPECT_EQ(features[3], 0x5A);
}

TEST(EmulatedFirmware, AnUpdateIsCountedInRecordBytes40And41) {
    Box rig(DeviceMode::Application, [](ApplicationOptions& o) { o.config.setTotalUpdates(0x01FF); });
    rig.telvix.flash->Program(MakeFirmwareImage("QD7720R", 9, 2, 5000));
    rig.box.Reboot(DeviceMode::Application);
    ASSERT_TRUE(rig.box.WaitUntilIdle());
    const StoredRecord stored = rig.telvix.application->StoredConfig();
    EXPECT_EQ(stored.bytes()[40], 0x00);
    EXPECT_EQ(stored.bytes()[41], 0x02);
    EXPECT_EQ(rig.telvix.application->Software().softwareId, 9);
}

TEST(EmulatedFirmware, ProgrammingStepsArePushedOnTheDevicesClock) {
    Box rig(DeviceMode::Application, [](ApplicationOptions& o) {
        o.programSequence = {{4, 0}, {5, 0}, {3, 2}};
        o.programStepInterval = 500ms;
    });
    EXPECT_EQ(rig.Only(Command(0x62))[2], 0x21) << "nothing is being programmed";
    EXPECT_EQ(rig.Only(Command(0x61, {0x01}))[1], 0x61);
    rig.clock.Advance(499ms);
    EXPECT_EQ(Phases(rig.Exchange({Command(0x62)})), (std::vector<std::pair<int, int>>{{1, 0}}));

    rig.clock.Advance(1ms);  // the first step is due: pushed unasked
    ASSERT_TRUE(WaitUntil([&] { return rig.box.SentReports().size() == 4; }));
    EXPECT_EQ(Phases({rig.box.SentReports().back()}), (std::vector<std::pair<int, int>>{{4, 0}}));

    rig.clock.Advance(1000ms);  // both remaining steps are due; a request then gets the last one
    ASSERT_TRUE(WaitUntil([&] { return rig.box.SentReports().size() == 6; }));
    EXPECT_EQ(Phases(rig.Exchange({Command(0x62)})), (std::vector<std::pair<int, int>>{{3, 2}}));
    const std::vector<HidReport> sent = rig.box.SentReports();
    EXPECT_EQ(Phases({sent[4], sent[5]}), (std::vector<std::pair<int, int>>{{5, 0}, {3, 2}}));
}

TEST(EmulatedFirmware, ZeroIntervalPushesEveryStepRightAfterTheWriteReply) {
    Box rig(DeviceMode::Application, [](ApplicationOptions& o) {
        o.programSequence = {{1, 0}, {2, 0}};
        o.programStepInterval = 0ms;
    });
    const std::vector<HidReport> replies = rig.Exchange({Command(0x61, {0x03})});
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0][1], 0x61);
    EXPECT_EQ(Phases({replies[1], replies[2]}), (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}}));
}

TEST(EmulatedFirmware, StalledProgrammingSaysStillRunningOnceThenNothing) {
    Box rig(DeviceMode::Application, [](ApplicationOptions& o) {
        o.programSequence = {{1, 0}, {2, 0}};
        o.programStepInterval = 500ms;
    });
    rig.telvix.faults->Update([](FaultPlan& plan) { plan.silentProgramming = true; });
    EXPECT_EQ(rig.Only(Command(0x61, {0x03}))[1], 0x61);
    rig.clock.Advance(500ms);
    ASSERT_TRUE(WaitUntil([&] { return rig.box.SentReports().size() == 2; }));
    EXPECT_EQ(Phases({rig.box.SentReports().back()}), (std::vector<std::pair<int, int>>{{1, 0}}));
    rig.clock.Advance(500ms);  // the finishing step is due, but a request finds the interface mute
    EXPECT_TRUE(rig.Exchange({Command(0x62)}).empty());
    EXPECT_EQ(rig.box.SentReports().size(), 2u);
}

}  // namespace
