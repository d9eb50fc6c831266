// The interface emulator itself: what it lists, how it answers the probe, what it records, and
// how plug, unplug and restarts end the host's handles and raise notifications.
#include <gtest/gtest.h>

#include "sim/EmulatedHidBus.h"
#include "tests/support/LinkHelpers.h"

namespace {
using namespace std::chrono_literals;

struct Handles {
    std::unique_ptr<HidReadHandle> read;
    std::unique_ptr<HidWriteHandle> write;
};

Handles Open(HidBus& bus, const std::string& path) {
    return {bus.OpenRead(path), bus.OpenWrite(path)};
}

HidReadResult ReadOne(HidReadHandle& handle, HidReport& report) {
    ManualResetEvent completion, stop;
    return handle.Read(report, completion, stop);
}

TEST(Emulator, ListsTelvixInterfacesAndOtherDevicesWithTheirStrings) {
    EmulatedHidBus bus;
    bus.PlugInterface("QD772ER");
    bus.PlugOtherDevice({.usagePage = 0x0001, .usage = 2, .product = u"MOUSE", .serial = u"M1"});
    bus.PlugInterface("TN7580R", DeviceMode::UpdateVolume);
    const auto list = bus.Hid().ListCollections();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].usagePage, 0xFF00);
    EXPECT_EQ(list[0].usage, 1);
    EXPECT_EQ(list[0].product, u"CAR INTERFACE");
    EXPECT_EQ(list[0].serial.substr(0, 7), u"QD772ER");
    EXPECT_EQ(list[1].product, u"MOUSE");
    EXPECT_EQ(bus.Hid().ReadSerialString(list[0].path), list[0].serial);

    const auto volumes = bus.Volumes().ListVolumes();
    ASSERT_EQ(volumes.size(), 1u);
    EXPECT_TRUE(volumes[0].removable);
    EXPECT_EQ(volumes[0].details->fileSystemName, u"FAT");
    EXPECT_EQ(volumes[0].details->label, u"TN7580R");
}

TEST(Emulator, AnswersTheProbeByModeAndRecordsEveryReport) {
    EmulatedHidBus bus;
    EmulatedInterface& app = bus.PlugInterface("WE5581R");
    EmulatedInterface& boot = bus.PlugInterface("WE5540R", DeviceMode::Bootloader);
    const auto list = bus.Hid().ListCollections();
    for (std::size_t i = 0; i < 2; ++i) {
        Handles handles = Open(bus.Hid(), list[i].path);
        ASSERT_TRUE(handles.read && handles.write);
        ASSERT_TRUE(handles.write->Write(MakeReport(0x1A)));
        ASSERT_TRUE(handles.write->Write(MakeReport(0x01)));
        HidReport reply{};
        ASSERT_EQ(ReadOne(*handles.read, reply), HidReadResult::Report);
        EXPECT_EQ(reply[1], 0x10);
        EXPECT_EQ(reply[2], i == 0 ? 0x21 : 0x00);
    }
    EXPECT_EQ(app.ReceivedCount(), 2u);
    EXPECT_EQ(boot.ReceivedReports()[1][1], 0x01);
}

TEST(Emulator, UnplugEndsOpenHandlesAndRaisesRemoval) {
    EmulatedHidBus bus;
    EmulatedInterface& box = bus.PlugInterface("QD7720R");
    const std::string path = bus.Hid().ListCollections()[0].path;
    Handles handles = Open(bus.Hid(), path);
    box.Unplug();
    HidReport report{};
    EXPECT_EQ(ReadOne(*handles.read, report), HidReadResult::Failed);
    EXPECT_FALSE(handles.write->Write(MakeReport(0x01)));
    EXPECT_EQ(bus.Hid().OpenRead(path), nullptr);
    EXPECT_EQ(bus.RaisedNotifications(),
              (std::vector<DeviceChange>{{DBT_DEVICEARRIVAL, DeviceKind::HidInterface, path},
                                         {DBT_DEVICEREMOVECOMPLETE, DeviceKind::HidInterface, path}}));

    box.Plug(DeviceMode::UpdateVolume);
    const std::string root = bus.Volumes().ListVolumes().at(0).rootPath;
    box.Plug(DeviceMode::Application);
    const auto list = bus.Hid().ListCollections();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_NE(list[0].path, path);  // a new presence, a new path
    const auto raised = bus.RaisedNotifications();
    ASSERT_EQ(raised.size(), 5u);
    EXPECT_EQ(raised[2], (DeviceChange{DBT_DEVICEARRIVAL, DeviceKind::Volume, root}));
    EXPECT_EQ(raised[3], (DeviceChange{DBT_DEVICEREMOVECOMPLETE, DeviceKind::Volume, root}));
    EXPECT_EQ(raised[4], (DeviceChange{DBT_DEVICEARRIVAL, DeviceKind::HidInterface, list[0].path}));
}

TEST(Emulator, AStopEndsAWaitingRead) {
    EmulatedHidBus bus;
    bus.PlugInterface("QD7720R");
    auto read = bus.Hid().OpenRead(bus.Hid().ListCollections()[0].path);
    ManualResetEvent completion, stop;
    std::thread stopper([&] { stop.Set(); });
    HidReport report{};
    EXPECT_EQ(read->Read(report, completion, stop), HidReadResult::Stopped);
    stopper.join();
    EXPECT_FALSE(completion.IsSet());
}

// Restarts into the bootloader on 0x80, as the application firmware does.
class RebootingFirmware final : public Firmware {
  public:
    void OnOutputReport(const HidReport& report, FirmwareHost& host) override {
        if (report[1] == 0x80) {
            host.SendInput(MakeReport(0x80));
            host.RequestRestart(DeviceMode::Bootloader);
        }
    }
};

TEST(Emulator, AFirmwareRestartLeavesAndComesBackInTheNewMode) {
    EmulatedHidBus bus;
    EmulatedInterface& box = bus.PlugInterface("WH7731R");
    box.InstallFirmware(DeviceMode::Application, std::make_shared<RebootingFirmware>());
    Handles handles = Open(bus.Hid(), bus.Hid().ListCollections()[0].path);
    ASSERT_TRUE(handles.write->Write(MakeReport(0x80)));
    HidReport reply{};
    ASSERT_EQ(ReadOne(*handles.read, reply), HidReadResult::Report);
    EXPECT_EQ(reply[1], 0x80);
    ASSERT_TRUE(WaitUntil([&] { return box.Mode() == DeviceMode::Bootloader; }));
    EXPECT_EQ(ReadOne(*handles.read, reply), HidReadResult::Failed);
    std::vector<std::uint32_t> codes;
    for (const DeviceChange& change : bus.RaisedNotifications())
        codes.push_back(change.eventCode);
    EXPECT_EQ(codes,
              (std::vector<std::uint32_t>{DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE, DBT_DEVICEARRIVAL}));
}

TEST(Emulator, TheLatencyHookSeesEachReportBeforeTheFirmwareAndCanHoldItBack) {
    EmulatedHidBus bus;
    EmulatedInterface& box = bus.PlugInterface("QD7720R", DeviceMode::Bootloader);
    ManualResetEvent gate;
    std::atomic<int> seen{0};
    box.SetLatencyHook([&](const HidReport& report, DeviceMode mode, auto) {
        EXPECT_EQ(mode, DeviceMode::Bootloader);
        if (report[1] == 0x01) {
            ++seen;
            gate.Wait();
        }
    });
    Handles handles = Open(bus.Hid(), bus.Hid().ListCollections()[0].path);
    ASSERT_TRUE(handles.write->Write(MakeReport(0x01)));
    ASSERT_TRUE(WaitUntil([&] { return seen.load() == 1; }));
    ManualResetEvent completion, stop;
    stop.Set();
    HidReport reply{};
    EXPECT_EQ(handles.read->Read(reply, completion, stop), HidReadResult::Stopped);  // no reply yet
    gate.Set();
    EXPECT_EQ(ReadOne(*handles.read, reply), HidReadResult::Report);
    EXPECT_EQ(reply[2], 0x00);
}
}  // namespace
