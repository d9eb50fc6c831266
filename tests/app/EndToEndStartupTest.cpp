// Start-up and the interface coming and going, through the real program.
#include <unistd.h>

#include <filesystem>

#include "platform/SystemAdapters.h"
#include "platform/Text.h"
#include "tests/app/EndToEndSupport.h"

namespace {
constexpr std::uint8_t kReadError = 0x21;

TEST(EndToEndStartup, IdentifiesTheInterfaceAndShowsItsSoftware) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry carried = RequireEntry(*servers, "QD7720R", 1000, 1);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_APPLICATION);
    EXPECT_EQ(harness.deviceArea.vehicleText,
              FromUtf8(carried.make + " " + carried.model + " " + carried.yearFrom + "-" + carried.yearTo));
    EXPECT_EQ(harness.deviceArea.featuresText, FromUtf8(carried.description));
    EXPECT_EQ(harness.deviceArea.statusText, u"TVH6-TEST-01");
    EXPECT_TRUE(harness.searchArea.listsEnabled);
    EXPECT_TRUE(harness.searchArea.searchEnabled);
    EXPECT_TRUE(harness.replyTimer.running);
    EXPECT_FALSE(harness.searchPanel.lists[0].entries.empty());
    EXPECT_TRUE(harness.messages.shown.empty());  // catalogue version 4.0.0, driver present
}

TEST(EndToEndStartup, UnpluggedInIdleGoesBackToConnectAndReconnectsOnArrival) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    harness.box.Unplug();
    ASSERT_TRUE(harness.RunUntilState(MS_WAIT_CONNECT));
    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_DISCONNECTED);
    EXPECT_EQ(harness.deviceArea.statusText, u"Device disconnected");
    EXPECT_TRUE(harness.deviceArea.vehicleText.empty());
    EXPECT_FALSE(harness.searchArea.listsEnabled);
    EXPECT_FALSE(harness.searchArea.searchEnabled);
    EXPECT_FALSE(harness.searchPanel.installEnabled);
    harness.Ticks(10);
    EXPECT_EQ(harness.State(), MS_WAIT_CONNECT);

    harness.box.Plug(DeviceMode::Application);
    ASSERT_TRUE(harness.RunUntil(
        [&] { return harness.State() == MS_IDLE && !harness.deviceArea.featuresText.empty(); }));
    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_APPLICATION);
    EXPECT_EQ(harness.deviceArea.statusText, u"TVH6-TEST-01");
}

TEST(EndToEndStartup, UnpluggedDuringAnInstallTheControllerStaysWithTheInstall) {
    REQUIRE_TEST_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1061, 1);
    servers->PublishImage(target);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    StartToIdle(harness);
    ASSERT_TRUE(harness.InstallEntry(target));
    ASSERT_TRUE(harness.RunUntilState(MS_WAIT_FLASH));
    harness.box.Unplug();
    ASSERT_TRUE(harness.RunUntil([&] { return harness.deviceArea.icon == ICON_USB_DISCONNECTED; }));
    EXPECT_EQ(harness.deviceArea.statusText, u"Device disconnected");
    EXPECT_NE(harness.State(), MS_CONNECT);
    EXPECT_NE(harness.State(), MS_WAIT_CONNECT);
    // The engine gives up on the vanished interface; the install ends without success.
    ASSERT_TRUE(harness.RunUntil([&] { return harness.progress.finished; }));
    ExpectAborted(harness, {u"ERROR: Download failed"});
    EXPECT_EQ(harness.State(), MS_IDLE);
    EXPECT_EQ(servers->ReadDevice(harness.McuSerial())->swId, 1000);
}

TEST(EndToEndStartup, NoInternetParksWithOneWarningAndNoConnect) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    harness.system.internet = false;
    harness.Start();
    harness.Ticks(30);
    EXPECT_EQ(harness.State(), MS_NO_INTERNET);
    ASSERT_EQ(harness.messages.shown.size(), 1u);
    EXPECT_EQ(harness.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(harness.box.ReceivedCount(), 0u);
    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_DISCONNECTED);
}

// The catalogue's driver named by a library path that exists only once the "installer" ran. Each
// one has its own path: the driver manager keeps a library it has loaded once.
struct MissingDriver {
    MissingDriver()
        : directory(std::filesystem::temp_directory_path() / ("h6-odbc-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(directory);
        std::filesystem::remove(Library());
    }
    ~MissingDriver() { std::filesystem::remove_all(directory); }
    std::filesystem::path Library() const {
        return directory / ("libcatalogue-driver-" + std::to_string(serial) + ".so");
    }
    void Install() const {
        std::filesystem::copy_file("/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so", Library());
    }
    HarnessOptions Options() const {
        HarnessOptions options = InterfaceOf("QD7720R", {{1000, 1}});
        // The driver manager (wine's hands it on to the host's) opens the library by this name.
        const std::string library = OdbcDriverFilePath(Library());
        options.editEndpoints = [library](EndpointSettings& endpoints) {
            const std::string name = "{MySQL ODBC 5.1 Driver}";
            const auto at = endpoints.catalogueConnection.find(name);
            if (at != std::string::npos)
                endpoints.catalogueConnection.replace(at, name.size(), "{" + library + "}");
        };
        return options;
    }
    static inline int nextSerial = 0;
    int serial = nextSerial++;
    std::filesystem::path directory;
};

TEST(EndToEndStartup, MissingDriverAsksInstallsAndAsksAgainUntilTheInstallerSucceeds) {
    REQUIRE_TEST_SERVERS(servers);
    MissingDriver driver;
    HarnessProgram harness(*servers, driver.Options());
    harness.messages.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    harness.system.installerExitCodes = {1603, 0};
    int runs = 0;
    harness.system.onInstall = [&] {
        if (++runs == 2)
            driver.Install();
    };
    StartToIdle(harness);
    int questions = 0;
    for (const auto& message : harness.messages.shown) {
        questions += message.text.find(u"MySQL datasource connector") != std::u16string::npos ? 1 : 0;
    }
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(harness.system.installerRuns.size(), 2u);
    EXPECT_FALSE(harness.system.closed);
    EXPECT_EQ(harness.deviceArea.statusText, u"TVH6-TEST-01");  // the catalogue works now
}

TEST(EndToEndStartup, DecliningTheMissingDriverEndsTheProgram) {
    REQUIRE_TEST_SERVERS(servers);
    MissingDriver driver;
    HarnessProgram harness(*servers, driver.Options());
    harness.messages.answers = {MessageAnswer::No};
    harness.Start();
    ASSERT_TRUE(harness.RunUntil([&] { return harness.system.closed; }));
    EXPECT_EQ(harness.State(), MS_CHECK_ODBC);
    EXPECT_TRUE(harness.system.installerRuns.empty());
    EXPECT_EQ(harness.box.ReceivedCount(), 0u);
}

TEST(EndToEndStartup, ConfigurationReadErrorParks) {
    REQUIRE_TEST_SERVERS(servers);
    HarnessProgram harness(*servers, InterfaceOf("QD7720R", {{1000, 1}}));
    harness.telvix.faults->Update([](FaultPlan& plan) { plan.statusOverride[0x1A] = kReadError; });
    harness.Start();
    ASSERT_TRUE(harness.RunUntilState(MS_CONFIG_FAILED));
    harness.Ticks(20);
    EXPECT_EQ(harness.State(), MS_CONFIG_FAILED);
    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_APPLICATION);
    EXPECT_EQ(harness.deviceArea.statusText, u"Device disconnected");  // as ShowLinkStatus left it
    EXPECT_FALSE(harness.searchArea.searchEnabled);
}
}  // namespace
