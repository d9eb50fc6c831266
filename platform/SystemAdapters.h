#pragma once
// The real adapters of the system the program is built for, made by one factory per system
// (platform/linux, platform/win32), so that front ends name no system.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ports/SystemPort.h"
#include "platform/DeviceNotifications.h"
#include "platform/HidBus.h"
#include "platform/SqliteOdbcDriver.h"
#include "platform/VolumePort.h"

std::unique_ptr<HidBus> MakeHidBus();
std::unique_ptr<VolumePort> MakeVolumePort();
std::unique_ptr<DeviceNotificationPort> MakeDeviceNotifications();
// closeMainWindow is what "end the program" means for the front end; report receives a line for
// the user when the connector installer cannot run.
std::unique_ptr<SystemPort> MakeSystemPort(std::function<void()> closeMainWindow,
                                           std::function<void(const std::u16string&)> report = {});

// What to tell a user whose system has no SQLite ODBC driver registered.
std::string SqliteOdbcDriverHint();

// The console of a command-line program: set up for UTF-8 text both ways, with the program's
// arguments as UTF-8 and whether its standard input and output are terminals.
struct ConsoleSetup {
    std::vector<std::string> arguments;  // without the program name
    bool stdinIsTerminal = false;
    bool stdoutIsTerminal = false;
};
ConsoleSetup SetUpConsole(int argc, char** argv);
