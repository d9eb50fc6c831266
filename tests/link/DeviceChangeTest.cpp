// Arrival and removal notifications: what a removal closes, when an arrival connects, and that
// the emulator's notifications reach OnDeviceChange through the window.
#include <gtest/gtest.h>

#include "tests/support/LinkBed.h"

namespace {
using namespace std::chrono_literals;

struct Connected : ::testing::Test {
    LinkBed bed;
    EmulatedInterface* box = nullptr;
    void SetUp() override {
        box = &bed.bus.PlugInterface("QD7720R");
        bed.Connect();
        ASSERT_EQ(bed.ctx.iUsbConnectSts.load(), USB_APPLICATION);
        ASSERT_TRUE(bed.link.ReaderRunning());
    }
    // Sends one command through the writer and waits until the interface has it.
    bool CommandReaches(std::uint8_t code) {
        const std::size_t before = box->ReceivedCount();
        bed.ctx.outputReport.SetByte(1, code);
        bed.link.SignalSend();
        return box->WaitForReceived(before + 1, 2s) && box->ReceivedReports().back()[1] == code;
    }
};

TEST_F(Connected, RemovalInIdleClosesTheChannelAndSendsTheControllerToConnect) {
    bed.ctx.mainState = MS_IDLE;
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEREMOVECOMPLETE));
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_NOT_CONNECTED);
    EXPECT_EQ(bed.ctx.mainState, MS_CONNECT);
    EXPECT_FALSE(bed.link.ChannelOpen());
    EXPECT_FALSE(bed.link.ReaderRunning());
    EXPECT_EQ(bed.statusShown.load(), 1);
    EXPECT_TRUE(bed.ctx.linkOpen);  // closing leaves linkOpen and the paths alone
    EXPECT_EQ(bed.link.PathCount(), 1u);
}

TEST_F(Connected, RemovalDuringAnInstallLeavesChannelAndThreads) {
    bed.ctx.mainState = MS_WAIT_LOADER;
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEREMOVECOMPLETE));
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_NOT_CONNECTED);
    EXPECT_EQ(bed.ctx.mainState, MS_WAIT_LOADER);
    EXPECT_TRUE(bed.link.ChannelOpen());
    EXPECT_TRUE(bed.link.ReaderRunning());
    EXPECT_EQ(bed.statusShown.load(), 1);
    EXPECT_TRUE(CommandReaches(0x1A));
}

TEST_F(Connected, RemovalInIdleWithAPendingWriteLeavesTheChannel) {
    for (int flag = 0; flag < 3; ++flag) {
        bed.ctx.mainState = MS_IDLE;
        bed.ctx.configWritePending = flag == 0;
        bed.ctx.featureWriteRequest = flag == 1;
        bed.ctx.overlayWritePending = flag == 2;
        bed.link.OnDeviceChange(Unnamed(DBT_DEVICEREMOVECOMPLETE));
        EXPECT_EQ(bed.ctx.mainState, MS_IDLE) << flag;
        EXPECT_TRUE(bed.link.ChannelOpen()) << flag;
    }
    // A pending feature read does not hold the controller back.
    bed.ctx.overlayWritePending = false;
    bed.ctx.featureReadRequest = true;
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEREMOVECOMPLETE));
    EXPECT_EQ(bed.ctx.mainState, MS_CONNECT);
}

TEST_F(Connected, ArrivalWhileConnectedStartsNoSecondConnect) {
    for (std::int32_t mode : {USB_APPLICATION, USB_BOOTLOADER, USB_MASS_STORAGE, USB_CONNECTING}) {
        bed.ctx.iUsbConnectSts.store(mode);
        bed.link.OnDeviceChange(Unnamed(DBT_DEVICEARRIVAL));
        EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), mode);
    }
    EXPECT_EQ(bed.clock.Sleeps().size(), 1u);  // only the first connect paused
    EXPECT_EQ(bed.window.TimerStarts(), 1);
    EXPECT_TRUE(CommandReaches(0x1A));  // the first channel is still the one in use
}

TEST_F(Connected, ArrivalAfterRemovalConnectsAgain) {
    bed.ctx.mainState = MS_IDLE;
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEREMOVECOMPLETE));
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEARRIVAL));
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_APPLICATION);
    EXPECT_EQ(bed.clock.Sleeps().size(), 2u);
    EXPECT_TRUE(bed.link.ReaderRunning());
    EXPECT_TRUE(CommandReaches(0x1A));
}

TEST_F(Connected, UnplugAndReplugTravelThroughTheWindowToTheLink) {
    bed.ctx.mainState = MS_IDLE;
    box->Unplug();
    ASSERT_EQ(bed.DeliverNotifications(), 1u);
    EXPECT_EQ(bed.ctx.mainState, MS_CONNECT);
    EXPECT_FALSE(bed.link.ChannelOpen());

    box->Plug(DeviceMode::Application);
    ASSERT_EQ(bed.DeliverNotifications(), 1u);
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_APPLICATION);
    EXPECT_TRUE(CommandReaches(0x60));
}

TEST_F(Connected, EachConnectRegistersTheWindowOnlyOnce) {
    bed.ctx.mainState = MS_IDLE;
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEREMOVECOMPLETE));
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEARRIVAL));  // a second successful connect
    bed.ctx.mainState = MS_WAIT_LOADER;
    box->Unplug();
    EXPECT_EQ(bed.window.Pending(), 1u);
}

TEST(DeviceChange, ArrivalWithoutAnyInterfaceEndsNotConnected) {
    LinkBed bed;
    bed.Connect();
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEARRIVAL));
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_NOT_CONNECTED);
    EXPECT_EQ(bed.clock.Sleeps().size(), 2u);
}

TEST(DeviceChange, RebootIntoTheBootloaderDuringAnInstallReconnectsInBootloaderMode) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("QD7720R");
    bed.SetHidBootloader(true);
    bed.Connect();
    ASSERT_TRUE(bed.WaitForMode(USB_APPLICATION));
    bed.ctx.mainState = MS_WAIT_LOADER;

    box.Reboot(DeviceMode::Bootloader);
    EXPECT_EQ(bed.DeliverNotifications(), 2u);  // removal, then arrival and a fresh connect

    ASSERT_TRUE(bed.WaitForMode(USB_BOOTLOADER));
    EXPECT_FALSE(bed.ctx.bootProbeActive.load());
    EXPECT_EQ(bed.ctx.mainState, MS_WAIT_LOADER);
    EXPECT_TRUE(bed.link.ReaderRunning());
}

TEST(DeviceChange, TeardownStopsTheThreadsAndReleasesThePaths) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("QD7720R");
    bed.Connect();
    ASSERT_TRUE(bed.ctx.linkOpen);
    bed.link.Teardown();
    EXPECT_FALSE(bed.link.ChannelOpen());
    EXPECT_FALSE(bed.link.ReaderRunning());
    EXPECT_EQ(bed.link.PathCount(), 0u);
    bed.ctx.outputReport.SetByte(1, 0x1A);
    bed.link.SignalSend();
    EXPECT_FALSE(bed.link.WriteReport(bed.ctx.outputReport.Load()));
    EXPECT_TRUE(box.WaitUntilIdle());
    EXPECT_EQ(box.ReceivedCount(), 0u);
}
}  // namespace

namespace {
// The interface in its bootloader with the engine running on it, and the devices a user may plug
// in or pull out meanwhile.
TEST(DeviceChange, DuringAFlashRunOnlyTheInterfacesOwnRemovalCounts) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("QD7720R", DeviceMode::Bootloader);
    bed.SetHidBootloader(true);
    int runsEnded = 0;
    bed.link.SetEndFlashRun([&] { ++runsEnded; });
    bed.Connect();
    ASSERT_TRUE(bed.WaitForMode(USB_BOOTLOADER));
    bed.ctx.mainState = MS_WAIT_FLASH;
    const std::size_t reportsSent = box.ReceivedCount();

    EmulatedInterface& other = bed.bus.PlugOtherDevice({.product = u"GAMEPAD"});
    other.Unplug();
    bed.bus.PlugVolume({"/media/stick/", true, VolumeDetails{u"FAT32", u"STICK"}});
    bed.bus.UnplugVolume("/media/stick/");
    other.Plug(DeviceMode::Application);
    EXPECT_EQ(bed.DeliverNotifications(), 5u);
    bed.link.OnDeviceChange(
        Unnamed(DBT_DEVICEREMOVECOMPLETE));  // names no device; the interface is still listed
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_BOOTLOADER);
    EXPECT_TRUE(bed.link.ReaderRunning());
    EXPECT_EQ(bed.clock.Sleeps().size(), 1u);     // no second connect
    EXPECT_EQ(box.ReceivedCount(), reportsSent);  // no probe into the run
    EXPECT_EQ(bed.statusShown.load(), 0);
    EXPECT_EQ(runsEnded, 0);

    box.Unplug();
    bed.link.OnDeviceChange(Unnamed(DBT_DEVICEREMOVECOMPLETE));  // names no device, but the interface is gone
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_NOT_CONNECTED);
    EXPECT_EQ(runsEnded, 1);
    EXPECT_FALSE(bed.link.ChannelOpen());
    EXPECT_EQ(bed.statusShown.load(), 1);
    EXPECT_EQ(bed.ctx.mainState, MS_WAIT_FLASH);

    // Once the interface has left, its return connects it as usual.
    box.Plug(DeviceMode::Application);
    EXPECT_EQ(bed.DeliverNotifications(), 2u);
    EXPECT_TRUE(bed.WaitForMode(USB_APPLICATION));
    EXPECT_EQ(runsEnded, 1);
}
}  // namespace
