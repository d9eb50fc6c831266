#pragma once
// telvix-cli run in-process against one emulated interface on the emulated bus and the real
// MariaDB and FTP test servers. Each Run() is one invocation of the program (a fresh program
// object on the same machine), with its exit code and what it printed.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/EmulatedHidBus.h"
#include "sim/TelvixFirmware.h"
#include "sim/UpdateVolumeWatcher.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeControllerPorts.h"
#include "tests/support/HarnessServers.h"
#include "tests/support/ScratchFolder.h"
#include "tools/cli/CliMain.h"

#define REQUIRE_CLI_SERVERS(servers)                                    \
    auto servers = HarnessServers::FromEnvironment();                   \
    if (!servers)                                                       \
    GTEST_SKIP() << "the MariaDB and FTP test servers are not running " \
                    "(scripts/test-servers start DIR; source DIR/env)"

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct CliBedOptions {
    std::string modelCode = "QD7720R";
    // The catalogue entry (sw_id, build) the interface carries; its vehicle is in the record.
    std::optional<std::pair<int, int>> carries = std::pair{1000, 1};
    std::string labelSerial = "TVH9-CLI-01";
    bool terminal = false;  // stdin and stdout are terminals
    std::vector<std::string> typedAnswers;
};

// The value of a "key: value" line of the text output; empty when there is none.
std::string TextField(const std::string& out, const std::string& key);

class CliBed {
  public:
    CliBed(const HarnessServers& servers, CliBedOptions options);
    ~CliBed();

    CliRun Run(const std::vector<std::string>& args);
    // The machine a run is given: the bus in use, the emulator's volumes and notifications, the
    // servers' endpoints and ticks that advance the fake clock.
    CliMachine Machine();
    // The bus the program sees; tests may put another in front of the emulator's.
    void UseBus(HidBus& bus) { busInUse_ = &bus; }

    const HarnessServers& servers;
    CliBedOptions options;
    FakeClock clock;  // outlives the bus: the interface keeps its time by it
    ScratchDataDirectory dataDirectory;  // the runs' install journal and diagnostics log
    EmulatedHidBus bus;
    EmulatedInterface& box;
    TelvixFirmware telvix;
    std::unique_ptr<UpdateVolumeWatcher> volumeWatcher;
    FakeSystemPort system;
    std::string mcuSerial;

  private:
    HidBus* busInUse_;
};
