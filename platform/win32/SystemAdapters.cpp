// windows.h first: the other system headers need its types.
#include <windows.h>

#include "platform/SystemAdapters.h"

#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "platform/Utf8Path.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinDeviceNotifications.h"
#include "platform/win32/WinHidBus.h"
#include "platform/win32/WinVolumes.h"
#include "platform/win32/WindowsSystem.h"

std::unique_ptr<HidBus> MakeHidBus() {
    return std::make_unique<WinHidBus>();
}

std::unique_ptr<VolumePort> MakeVolumePort() {
    return std::make_unique<WinVolumes>();
}

std::unique_ptr<DeviceNotificationPort> MakeDeviceNotifications() {
    return std::make_unique<WinDeviceNotifications>();
}

std::unique_ptr<SystemPort> MakeSystemPort(std::function<void()> closeMainWindow,
                                           std::function<void(const std::u16string&)> report) {
    return std::make_unique<WindowsSystem>(std::move(closeMainWindow), std::move(report));
}

std::string SqliteOdbcDriver() {
    return "{SQLite3 ODBC Driver}";
}

std::string SqliteOdbcDriverHint() {
    return "install the SQLite ODBC driver (sqliteodbc_w64.exe, which registers \"SQLite3 ODBC Driver\")";
}

std::string OdbcDriverFilePath(const std::filesystem::path& file) {
    // Under wine the driver manager hands the connection to a driver of the host system, which
    // opens host paths: wine names the host path of a Windows path. It names none for a path
    // whose folder does not exist yet (the journal's folder is made later), so the nearest folder
    // that exists is named and the rest appended.
    using UnixName = char*(__cdecl*)(const wchar_t*);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto unixName = kernel != nullptr
                              ? reinterpret_cast<UnixName>(GetProcAddress(kernel, "wine_get_unix_file_name"))
                              : nullptr;
    if (unixName == nullptr || file.empty())
        return PathToUtf8(file);
    std::error_code failed;
    std::filesystem::path existing = std::filesystem::absolute(file, failed);
    if (failed)
        return PathToUtf8(file);
    std::string rest;
    while (true) {
        if (char* name = unixName(existing.c_str())) {
            std::string host(name);
            HeapFree(GetProcessHeap(), 0, name);
            return host + rest;
        }
        if (!existing.has_relative_path())
            return PathToUtf8(file);
        rest = "/" + PathToUtf8(existing.filename()) + rest;
        existing = existing.parent_path();
    }
}

ConsoleSetup SetUpConsole(int, char**) {
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
    ConsoleSetup setup;
    int count = 0;
    if (wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            setup.arguments.push_back(Utf8FromWide(arguments[i]));
        LocalFree(arguments);
    }
    setup.stdinIsTerminal = _isatty(_fileno(stdin)) != 0;
    setup.stdoutIsTerminal = _isatty(_fileno(stdout)) != 0;
    return setup;
}
