// The Win32 adapters calling the real system (wine in the test run): HID enumeration, removable
// drives, the notification window, the connector installer and text across the API.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/ScratchDirectory.h"
#include "platform/Text.h"
#include "platform/UserDataDirectory.h"
#include "platform/Utf8Path.h"
#include "platform/win32/WinDeviceNotifications.h"
#include "platform/win32/WinHidBus.h"
#include "platform/win32/WinVolumes.h"
#include "platform/win32/WindowsSystem.h"
#include "retrieval/VolumeFile.h"

// After the project headers: dbt.h defines as macros the event codes they declare as constants.
#include <dbt.h>

namespace {
using namespace std::chrono_literals;

TEST(WinHidBus, TakesNoneOfTheSystemsOwnDevicesForTheInterface) {
    WinHidBus bus;
    for (const HidCollectionInfo& info : bus.ListCollections()) {
        EXPECT_FALSE(info.path.empty());
        const bool vendorCollection = info.usagePage == 0xFF00 && info.usage == 1;
        EXPECT_FALSE(vendorCollection && info.product.starts_with(u"CAR INTERFACE")) << info.path;
    }
    const std::string bogus = R"(\\?\hid#vid_0000&pid_0000#0#{4d1e55b2-f16f-11cf-88cb-001111000030})";
    EXPECT_EQ(bus.OpenRead(bogus), nullptr);
    EXPECT_EQ(bus.OpenWrite(bogus), nullptr);
    EXPECT_FALSE(bus.ReadProductString(bogus));
}

// The test script maps a directory as a removable drive and names the drive and its label.
TEST(WinVolumes, SeesTheRemovableDriveWithItsLabel) {
    const char* drive = std::getenv("TELVIX_TEST_REMOVABLE_DRIVE");
    const char* label = std::getenv("TELVIX_TEST_REMOVABLE_LABEL");
    if (drive == nullptr || label == nullptr)
        GTEST_SKIP() << "no removable drive mapped for this run";
    const std::string root = std::string(drive) + "\\";
    bool seen = false;
    for (const VolumeEntry& volume : WinVolumes().ListVolumes()) {
        EXPECT_NE(volume.rootPath.front(), 'A');
        EXPECT_NE(volume.rootPath.front(), 'C');  // the scan starts at D:
        if (volume.rootPath != root)
            continue;
        seen = true;
        EXPECT_TRUE(volume.removable);
        ASSERT_TRUE(volume.details);
        EXPECT_EQ(volume.details->label, FromUtf8(label));
    }
    EXPECT_TRUE(seen) << root;
}

TEST(WinDeviceNotifications, WindowStartsAndStopsCleanly) {
    const auto started = std::chrono::steady_clock::now();
    {
        WinDeviceNotifications notifications;
        DeviceChange delivered;
        DeviceSubscription subscription =
            notifications.Subscribe([&](const DeviceChange& change) { delivered = change; });
        EXPECT_TRUE(notifications.Watching());
        DEV_BROADCAST_DEVICEINTERFACE_W arrival{};
        arrival.dbcc_size = sizeof arrival;
        arrival.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        notifications.OnDeviceChange(DBT_DEVICEARRIVAL, &arrival);
        EXPECT_EQ(delivered.eventCode, DBT_DEVICEARRIVAL);
        EXPECT_EQ(delivered.kind, DeviceKind::HidInterface);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST(WinDeviceNotifications, OnlyInterfaceAndVolumeArrivalsAndRemovalsCount) {
    EXPECT_TRUE(IsLinkDeviceChange(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE));
    EXPECT_TRUE(IsLinkDeviceChange(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_DEVICEINTERFACE));
    EXPECT_TRUE(IsLinkDeviceChange(DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME));
    EXPECT_FALSE(IsLinkDeviceChange(DBT_DEVICEARRIVAL, DBT_DEVTYP_PORT));
    EXPECT_FALSE(IsLinkDeviceChange(DBT_DEVNODES_CHANGED, DBT_DEVTYP_DEVICEINTERFACE));
}

TEST(WindowsSystem, MissingInstallerIsNamedAndFails) {
    std::u16string reported;
    WindowsSystem system([] {}, [&](const std::u16string& line) { reported = line; });
    const std::u16string installer = u"C:/no-such-dir/odbc/mysql-connector-odbc-5.1.11-win32.msi";
    EXPECT_NE(system.RunConnectorInstaller(installer), 0);
    EXPECT_NE(reported.find(u"C:\\no-such-dir\\odbc\\mysql-connector-odbc-5.1.11-win32.msi"),
              std::u16string::npos)
        << ToUtf8(reported);
    EXPECT_EQ(InstallerCommandLine(u"C:\\w/odbc/x.msi"), L"msiexec /i \"C:\\w\\odbc\\x.msi\"");
    EXPECT_FALSE(system.CurrentDirectory().empty());
}

TEST(WindowsText, NonAsciiPathsSurviveTheVolumeFileAndTheDataFolder) {
    const std::filesystem::path scratch = MakeScratchDirectory("telvix-text-");
    ASSERT_FALSE(scratch.empty());
    const std::filesystem::path volume = scratch / u8"Citro\u00ebn \u00e9t\u00e9";
    std::filesystem::create_directories(volume);
    VolumeFile file(PathToUtf8(volume) + "\\", "firmware.bin");
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write(std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(std::filesystem::file_size(volume / "firmware.bin"), 3u);
    std::filesystem::remove_all(scratch);

    EXPECT_EQ(UserDataDirectory().filename(), std::filesystem::path(L"Telvix Updater"));
}

}  // namespace
