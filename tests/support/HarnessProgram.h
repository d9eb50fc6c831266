#pragma once
// The whole program headless: the real UpdaterProgram on fake window ports that record what is
// shown and answer questions as the test says, one emulated Telvix interface on the emulated bus,
// and the real MariaDB and FTP test servers, each reached through a proxy the test can cut.
//
// Time: every Tick() is one 100 ms period of the main timer (every third also runs the reply
// decoder, while the reply timer runs); the clock advances with the ticks, so nothing waits for
// real protocol delays. RunUntil ticks as fast as the workers and the emulator deliver and gives
// up after a bound of real time.
//
//     auto servers = HarnessServers::FromEnvironment();
//     if (!servers) GTEST_SKIP() << "needs scripts/test-servers";
//     HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
//     harness.Start();
//     ASSERT_TRUE(harness.RunUntilState(MS_IDLE));
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/UpdaterContext.h"
#include "app/UpdaterProgram.h"
#include "platform/DiagnosticsLog.h"
#include "sim/EmulatedHidBus.h"
#include "sim/TelvixFirmware.h"
#include "sim/UpdateVolumeWatcher.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeControllerPorts.h"
#include "tests/support/HarnessSearchPanel.h"
#include "tests/support/HarnessServers.h"
#include "tests/support/HarnessTcpProxy.h"
#include "tests/support/ScratchFolder.h"

struct HarnessOptions {
    std::string modelCode = "QD7720R";
    DeviceMode mode = DeviceMode::Application;
    // The interface's software: a catalogue entry (sw_id, build) whose vehicle is in its record.
    std::optional<std::pair<int, int>> carries;
    std::function<void(ApplicationOptions&)> editFirmware;
    // The interface's tolvanedevice row.
    bool registerDevice = true;
    int totalUpdates = 4;
    std::string labelSerial = "TVH6-TEST-01";
    int catalogueTimeoutSeconds = 5;
    // Changes to the endpoints the program is given (after the proxies are put in).
    std::function<void(EndpointSettings&)> editEndpoints;
};

// An interface of the model, carrying the given entry (or its factory software), in the mode.
inline HarnessOptions InterfaceOf(std::string modelCode, std::optional<std::pair<int, int>> carries = {},
                                  DeviceMode mode = DeviceMode::Application) {
    HarnessOptions options;
    options.modelCode = std::move(modelCode);
    options.carries = carries;
    options.mode = mode;
    return options;
}

class HarnessProgram {
  public:
    HarnessProgram(const HarnessServers& servers, HarnessOptions options = {});
    ~HarnessProgram();

    // The window's initialisation (MS_START, timer, version check).
    void Start();
    // The program ends and a new one starts on the same machine, catalogue and install journal,
    // as when the user starts the updater again (ticks to idle are the caller's).
    void Restart();
    // One main-timer period, with the device notifications that arrived before it.
    void Tick();
    void Ticks(int count);
    // Ticks until pred holds; false when limit of real time passed first.
    bool RunUntil(const std::function<bool()>& pred,
                  std::chrono::milliseconds limit = std::chrono::seconds(30));
    // The diagnostics log's text so far.
    std::string DiagnosticsText() const;
    bool RunUntilState(std::int32_t state, std::chrono::milliseconds limit = std::chrono::seconds(30));
    // Searches for the entry's make and model, clicks its result row and presses Install.
    bool InstallEntry(const HarnessEntry& entry);
    // The result-list row of the entry after a search, or -1.
    int ResultRowOf(const HarnessEntry& entry) const;

    UpdaterContext& Context() { return program->Context(); }
    std::int32_t State() { return Context().mainState; }
    const std::string& McuSerial() const { return mcuSerial; }

    const HarnessServers& servers;
    HarnessOptions options;
    HarnessTcpProxy catalogueProxy;
    HarnessTcpProxy ftpProxy;

    FakeClock clock;  // before the bus: the emulated interface reads it until the bus is gone
    EmulatedHidBus bus;
    EmulatedInterface& box;
    TelvixFirmware telvix;
    std::unique_ptr<UpdateVolumeWatcher> volumeWatcher;

    FakeDeviceAreaPort deviceArea;
    FakeSearchAreaPort searchArea;
    HarnessSearchPanel searchPanel;
    FakeProgressDialogPort progress;
    FakeFeatureResultPort features;
    FakeMessagePort messages;
    FakeMainTimerPort mainTimer;
    FakeReplyTimerPort replyTimer;
    FakeSystemPort system;

    std::string mcuSerial;
    ScratchFolder dataFolder{"telvix-harness"};
    std::filesystem::path journalFile = dataFolder.Path() / "journal.sqlite";
    DiagnosticsLog diagnostics{dataFolder.Path() / "updater.log"};
    std::unique_ptr<UpdaterProgram> program;
    long tickCount = 0;

  private:
    std::unique_ptr<UpdaterProgram> NewProgram();
};
