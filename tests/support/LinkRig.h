#pragma once
// A whole device link against one emulated Telvix interface with its full firmware: the real
// DeviceLink with its reader and writer threads, the command set and the flashing engine, wired
// as the program wires them. Clock sleeps return at once; waits for thread results poll a field
// under a deadline.
//
//     LinkRig rig("QD7720R", DeviceMode::Bootloader);
//     ASSERT_TRUE(rig.Connect());
//     EXPECT_TRUE(rig.Flash(image));
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/UpdaterContext.h"
#include "link/CommandSet.h"
#include "link/DeviceLink.h"
#include "link/FlashEngine.h"
#include "link/LinkWindow.h"
#include "platform/Clock.h"
#include "sim/EmulatedHidBus.h"
#include "sim/TelvixFirmware.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LinkHelpers.h"

// A clock whose sleeps return at once and whose time stands still.
class InstantClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return {}; }
    void Sleep(std::chrono::milliseconds) override {}
    LocalDate Today() const override { return {2026, 1, 1}; }
};

// A main window that only records what the link asked of it.
class RecordingLinkWindow final : public LinkWindow {
  public:
    void PostDeviceChange(const DeviceChange&) override {}
    void StartReplyTimer() override {}
};

struct LinkRigOptions {
    std::string modelCode = "QD7720R";
    DeviceMode mode = DeviceMode::Bootloader;
    FlashEngineOptions engine;
    std::function<void(ApplicationOptions&)> editFirmware;
};

class LinkRig {
  public:
    explicit LinkRig(LinkRigOptions options = {});
    LinkRig(const std::string& modelCode, DeviceMode mode);
    ~LinkRig();

    // Connects as the program does at start-up (probe when the model flashes over HID); true once
    // the mode the interface runs in is known.
    bool Connect(bool hidBootloader = true);
    // Loads the image and runs the flashing engine as the install sequence does; true when the
    // run reported success. ftpDone is always set when this returns, unless it timed out.
    bool Flash(std::span<const std::uint8_t> image);
    // Starts a run of an already-loaded image and waits for its completion; false on time-out.
    bool RunEngine();
    // Issues a command and runs the reply decoder until pred holds.
    bool IssueAndDecode(std::int32_t type, std::int32_t direction, const std::function<bool()>& pred);

    UpdaterContext ctx;
    // The interface's own clock (its feature programming steps); moved by the test.
    FakeClock deviceClock;
    EmulatedHidBus bus;
    EmulatedInterface& box;
    TelvixFirmware telvix;
    InstantClock clock;
    RecordingLinkWindow window;
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<CommandSet> commands;
    std::unique_ptr<FlashEngine> engine;
};

// The image as the interface's flash holds it after a good run: padded with zeros to whole sectors.
std::vector<std::uint8_t> PaddedToSectors(std::span<const std::uint8_t> image);
