// Devices coming and going while an install runs, through the real program: another HID device or
// a USB stick pulled out and plugged back during the flashing run leaves the run alone, an
// unrelated device plugged while the interface restarts is not taken for it, and the interface
// itself pulled out mid-run ends the install at once as a failed download.
#include <condition_variable>
#include <mutex>

#include "tests/app/EndToEndSupport.h"

namespace {
constexpr std::uint8_t kChunkCommand = 0x04;
constexpr std::uint8_t kRebootCommand = 0x80;
constexpr std::uint8_t kCloseCommand = 0x09;

// Holds the interface back before it takes the n-th report (counted from 1) with the code in the
// mode, until released, so that a test acts at a known point of the install.
class ReportGate {
  public:
    ReportGate(EmulatedInterface& box, DeviceMode inMode, std::uint8_t code, int nth = 1)
        : state_(std::make_shared<State>()) {
        box.SetLatencyHook(
            [state = state_, inMode, code, nth](const HidReport& report, DeviceMode mode, auto) {
                if (mode != inMode || report[1] != code) {
                    return;
                }
                std::unique_lock lock(state->mutex);
                if (++state->seen == nth) {
                    state->reached = true;
                    state->changed.wait(lock, [&] { return state->released; });
                }
            });
    }
    ~ReportGate() { Release(); }
    bool Reached() const {
        std::lock_guard lock(state_->mutex);
        return state_->reached;
    }
    void Release() {
        std::lock_guard lock(state_->mutex);
        state_->released = true;
        state_->changed.notify_all();
    }

  private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        int seen = 0;
        bool reached = false;
        bool released = false;
    };
    std::shared_ptr<State> state_;
};

int ChunksOf(const HarnessEntry& entry) {
    constexpr std::size_t kSectorBytes = 4096;
    constexpr int kChunksPerSector = 256;
    const std::size_t length = HarnessServers::ImageOf(entry).size();
    return static_cast<int>((length + kSectorBytes - 1) / kSectorBytes) * kChunksPerSector;
}

// Presses Install on the entry and runs the controller until the bootloader waits at the gate.
void InstallUntilGate(HarnessProgram& harness, const HarnessEntry& target, const ReportGate& gate) {
    StartToIdle(harness);
    ASSERT_TRUE(harness.InstallEntry(target));
    ASSERT_TRUE(harness.RunUntil([&] { return gate.Reached(); }));
    ASSERT_EQ(harness.State(), MS_WAIT_FLASH);
}

const VolumeEntry kStick{"/media/user/STICK/", true, VolumeDetails{u"FAT32", u"STICK"}};

enum class Other { HidDevice, Stick };

TEST(EndToEndDeviceChanges, AnotherDevicePulledOutAndPluggedBackDuringTheFlashLeavesTheRunAlone) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1061, 1);
    servers->PublishImage(target);
    const int chunks = ChunksOf(target);
    for (Other other : {Other::HidDevice, Other::Stick}) {
        for (int atChunk : {1, chunks / 2, chunks}) {
            SCOPED_TRACE(testing::Message() << (other == Other::Stick ? "stick" : "HID device")
                                            << " at chunk " << atChunk << " of " << chunks);
            HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
            EmulatedInterface& device = harness.bus.PlugOtherDevice({.product = u"USB GAMEPAD"});
            harness.bus.PlugVolume(kStick);
            ReportGate gate(harness.box, DeviceMode::Bootloader, kChunkCommand, atChunk);
            ASSERT_NO_FATAL_FAILURE(InstallUntilGate(harness, target, gate));

            if (other == Other::HidDevice) {
                device.Unplug();
                device.Plug(DeviceMode::Application);
            } else {
                harness.bus.UnplugVolume(kStick.rootPath);
                harness.bus.PlugVolume(kStick);
            }
            harness.Ticks(3);  // delivered while the interface still holds its reply back
            EXPECT_EQ(harness.Context().iUsbConnectSts.load(), USB_BOOTLOADER);
            gate.Release();

            ASSERT_TRUE(harness.RunUntil([&] { return harness.progress.finished; }));
            ASSERT_TRUE(harness.RunUntilState(MS_IDLE));
            ExpectInstalled(harness, target, /*hid=*/true);
        }
    }
}

TEST(EndToEndDeviceChanges, TheInterfacePulledOutMidFlashEndsTheInstallAtOnce) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1061, 1);
    servers->PublishImage(target);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    ReportGate gate(harness.box, DeviceMode::Bootloader, kChunkCommand, ChunksOf(target) / 2);
    ASSERT_NO_FATAL_FAILURE(InstallUntilGate(harness, target, gate));

    harness.box.Unplug();
    gate.Release();
    // The removal ends the run on the next tick, long before the engine's reply time-out.
    harness.Ticks(2);
    EXPECT_EQ(harness.State(), MS_IDLE);
    ExpectAborted(harness, {u"ERROR: Download failed"});
    EXPECT_EQ(harness.Context().iUsbConnectSts.load(), USB_NOT_CONNECTED);
    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_DISCONNECTED);
    EXPECT_EQ(harness.telvix.flash->ProgramCount(), 0);
}

struct RestartCase {
    std::int32_t state;
    DeviceMode mode;
    std::uint8_t restartCommand;
};

TEST(EndToEndDeviceChanges, AnUnrelatedDevicePluggedWhileTheInterfaceRestartsIsNotTakenForIt) {
    // The interface holds back the command that restarts it, so the other device arrives while
    // the controller waits and the interface has not left yet.
    for (RestartCase c : {RestartCase{MS_WAIT_LOADER, DeviceMode::Application, kRebootCommand},
                          RestartCase{MS_WAIT_APPLICATION, DeviceMode::Bootloader, kCloseCommand}}) {
        SCOPED_TRACE(c.state);
        REQUIRE_TEST_SERVERS(servers);
        const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1061, 1);
        servers->PublishImage(target);
        HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
        ReportGate gate(harness.box, c.mode, c.restartCommand);
        StartToIdle(harness);
        ASSERT_TRUE(harness.InstallEntry(target));
        ASSERT_TRUE(harness.RunUntil([&] { return harness.State() == c.state && gate.Reached(); }));

        const std::int32_t mode = harness.Context().iUsbConnectSts.load();
        harness.bus.PlugOtherDevice({.product = u"USB HID DEVICE", .serial = u"QD7720R0009999"});
        harness.Ticks(3);
        EXPECT_EQ(harness.Context().iUsbConnectSts.load(), mode);  // no connect to it on its way out
        gate.Release();

        ASSERT_TRUE(harness.RunUntil([&] { return harness.progress.finished; }));
        ASSERT_TRUE(harness.RunUntilState(MS_IDLE));
        ExpectInstalled(harness, target, /*hid=*/true);
    }
}
}  // namespace
