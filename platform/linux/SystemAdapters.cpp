#include "platform/SystemAdapters.h"

#include <unistd.h>

#include "platform/Utf8Path.h"
#include "platform/linux/HidapiBus.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/MountedVolumes.h"
#include "platform/linux/UdevNotifications.h"

std::unique_ptr<HidBus> MakeHidBus() {
    return std::make_unique<HidapiBus>();
}

std::unique_ptr<VolumePort> MakeVolumePort() {
    return std::make_unique<MountedVolumes>();
}

std::unique_ptr<DeviceNotificationPort> MakeDeviceNotifications() {
    return std::make_unique<UdevNotifications>();
}

std::unique_ptr<SystemPort> MakeSystemPort(std::function<void()> closeMainWindow,
                                           std::function<void(const std::u16string&)>) {
    return std::make_unique<LinuxSystem>(std::move(closeMainWindow));
}

std::string SqliteOdbcDriver() {
    return "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
}

std::string SqliteOdbcDriverHint() {
    return "install the Debian package libsqliteodbc";
}

std::string OdbcDriverFilePath(const std::filesystem::path& file) {
    return PathToUtf8(file);
}

ConsoleSetup SetUpConsole(int argc, char** argv) {
    return {std::vector<std::string>(argv + 1, argv + argc), isatty(STDIN_FILENO) == 1,
            isatty(STDOUT_FILENO) == 1};
}
