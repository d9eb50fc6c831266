// telvix-cli --emulate: an emulated interface against the catalogue and FTP server the settings
// file names, as a dealer's IT checks a deployment. The runs build their own machine; only the
// clock and the network check are the test's.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/Text.h"
#include "tests/cli/CliBed.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/UniqueMcuId.h"

using nlohmann::json;

namespace {
using namespace std::chrono_literals;

// A settings file pointing at the test servers, found through TELVIX_UPDATER_CONFIG while it lives.
class ServerSettingsFile {
  public:
    explicit ServerSettingsFile(const HarnessServers& servers)
        : path_(std::filesystem::temp_directory_path() /
                ("telvix-cli-emulate-" + std::to_string(::getpid()) + ".ini")) {
        std::ofstream(path_) << "[catalogue]\nconnection = " << servers.catalogueConnection
                             << "\ntimeout_seconds = 5\n[ftp]\nscheme = " << servers.ftp.scheme
                             << "\nhost = " << servers.ftp.host << "\nport = " << servers.ftp.port
                             << "\nuser = " << servers.ftp.user << "\npassword = " << servers.ftp.password
                             << "\n";
        if (const char* old = std::getenv("TELVIX_UPDATER_CONFIG"))
            previous_ = old;
        SetTestEnvironment("TELVIX_UPDATER_CONFIG", path_.string());
    }
    ~ServerSettingsFile() {
        SetTestEnvironment("TELVIX_UPDATER_CONFIG", previous_);
        std::filesystem::remove(path_);
    }

  private:
    std::filesystem::path path_;
    std::optional<std::string> previous_;
};

CliRun RunEmulated(const std::vector<std::string>& args) {
    FakeClock clock;
    FakeSystemPort system;
    std::ostringstream out, err;
    const CliEnvironment environment{out,
                                     err,
                                     false,
                                     false,
                                     {},
                                     nullptr,
                                     &clock,
                                     [&clock] {
                                         clock.Advance(100ms);
                                         PauseBriefly();
                                     },
                                     &system};
    CliRun run;
    run.exitCode = RunCli(args, environment);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// The tolvanedevice row of the emulated serial, removed again at the end.
struct RegisteredDevice {
    RegisteredDevice(const HarnessServers& s, HarnessDevice d) : servers(s), device(std::move(d)) {
        EXPECT_TRUE(servers.InsertDevice(device));
    }
    ~RegisteredDevice() { servers.DeleteDevice(device.mcuSerial); }
    const HarnessServers& servers;
    HarnessDevice device;
};

TEST(CliEmulate, InstallsRowZeroOnBothRoutesAndRecordsItUnderTheEmulatedSerial) {
    REQUIRE_CLI_SERVERS(servers);
    ServerSettingsFile settings(*servers);
    for (const std::string model : {"QD7720R", "WJ7731R"}) {  // HID bootloader, update volume
        SCOPED_TRACE(model);
        const CliRun search = RunEmulated({"--emulate", model, "--json", "search"});
        ASSERT_EQ(search.exitCode, 0) << search.err;
        const json first = json::parse(search.out).at(0);
        const auto target = servers->FindEntry(model, first["swId"].get<int>(), first["swBuild"].get<int>());
        ASSERT_TRUE(target.has_value());
        servers->PublishImage(*target);

        const std::string serial = ToUtf8(FormatMcuSerial(UniqueMcuId(0xE7)));
        RegisteredDevice registered(
            *servers, HarnessDevice{model, serial, target->swId, target->swBuild, target->make, target->model,
                                    "TVEM-IT-01", 7, 1, "01/02/2025"});
        const CliRun install =
            RunEmulated({"--emulate", model, "--emulate-serial", serial, "install", "--row", "0", "--yes"});
        ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
        EXPECT_NE(install.out.find("Successfully finished"), std::string::npos) << install.out;
        const auto row = servers->ReadDevice(serial);
        ASSERT_TRUE(row.has_value());
        EXPECT_EQ(row->swId, target->swId);
        EXPECT_EQ(row->totalUpdates, 8);
        EXPECT_EQ(row->updatedBy, 9);
        EXPECT_EQ(row->updateDate, "12/09/2026");  // the test clock's date

        // A later run under the same serial carries what the register now records.
        const CliRun status =
            RunEmulated({"--emulate", model, "--emulate-serial", serial, "--json", "status"});
        ASSERT_EQ(status.exitCode, 0) << status.err;
        const json identity = json::parse(status.out);
        EXPECT_EQ(identity["mcuSerial"], serial);
        EXPECT_EQ(identity["softwareId"], target->swId);
        EXPECT_EQ(identity["labelSerial"], "TVEM-IT-01");
    }
    // Without --emulate-serial every run is a new interface.
    const CliRun one = RunEmulated({"--emulate", "QD7720R", "--json", "status"});
    const CliRun two = RunEmulated({"--emulate", "QD7720R", "--json", "status"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    ASSERT_EQ(two.exitCode, 0) << two.err;
    EXPECT_NE(json::parse(one.out)["mcuSerial"], json::parse(two.out)["mcuSerial"]);
}

TEST(CliEmulate, UnknownModelsAndBadSerialsAreUsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--emulate", "XX0000X", "status"},
          {"--emulate", "QD7720R", "--emulate-serial", "0011", "status"},
          {"--emulate", "QD7720R", "--emulate-serial", "00112233-44556677-8899AABB-CCDDEEFG", "status"},
          {"--emulate-serial", "00112233445566778899AABBCCDDEEFF", "status"},
          {"--demo", "--emulate", "QD7720R", "status"}}) {
        EXPECT_EQ(RunEmulated(args).exitCode, 2) << args[1];
    }
}

}  // namespace
