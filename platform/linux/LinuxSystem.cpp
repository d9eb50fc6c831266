#include "platform/linux/LinuxSystem.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/Text.h"

namespace fs = std::filesystem;

bool AnyOutsideInterfaceUp(const std::vector<NetworkInterfaceState>& interfaces) {
    for (const NetworkInterfaceState& interface : interfaces) {
        if (interface.up && !interface.loopback)
            return true;
    }
    return false;
}

std::vector<NetworkInterfaceState> ListNetworkInterfaces() {
    std::vector<NetworkInterfaceState> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name == nullptr)
            continue;
        bool known = false;
        for (const NetworkInterfaceState& seen : result)
            known = known || seen.name == entry->ifa_name;
        if (known)
            continue;
        result.push_back(
            {entry->ifa_name, (entry->ifa_flags & IFF_UP) != 0, (entry->ifa_flags & IFF_LOOPBACK) != 0});
    }
    freeifaddrs(list);
    return result;
}

ConnectorInstallOptions DefaultConnectorInstallOptions() {
    ConnectorInstallOptions options;
    options.libraryDirectories = {"/usr/lib/x86_64-linux-gnu/odbc",
                                  "/usr/lib/aarch64-linux-gnu/odbc",
                                  "/usr/lib/odbc",
                                  "/usr/lib64",
                                  "/usr/local/lib",
                                  "/usr/lib"};
    options.libraryNames = {"libmaodbc.so",   "libmyodbc8w.so", "libmyodbc8a.so",
                            "libmyodbc5w.so", "libmyodbc5a.so", "libmyodbc5.so"};
    const char* home = std::getenv("HOME");
    options.driverFile = std::string(home != nullptr ? home : "") + "/.odbcinst.ini";
    return options;
}

namespace {
std::string FindDriverLibrary(const ConnectorInstallOptions& options) {
    for (const std::string& name : options.libraryNames) {
        for (const std::string& directory : options.libraryDirectories) {
            std::error_code error;
            const fs::path candidate = fs::path(directory) / name;
            if (fs::is_regular_file(candidate, error))
                return candidate.string();
        }
    }
    return {};
}

bool IsSectionHeader(const std::string& line, std::string* name) {
    const auto open = line.find_first_not_of(" \t");
    if (open == std::string::npos || line[open] != '[')
        return false;
    const auto close = line.find(']', open);
    if (close == std::string::npos)
        return false;
    if (name != nullptr)
        *name = line.substr(open + 1, close - open - 1);
    return true;
}

// The driver file without the section of our driver name.
std::string OtherSections(const std::string& path) {
    std::ifstream in(path);
    std::string kept;
    std::string line;
    bool skipping = false;
    while (std::getline(in, line)) {
        std::string section;
        if (IsSectionHeader(line, &section))
            skipping = section == kCatalogueDriverName;
        if (!skipping)
            kept += line + "\n";
    }
    return kept;
}
}  // namespace

int RegisterConnectorDriver(const ConnectorInstallOptions& options) {
    const std::string library = FindDriverLibrary(options);
    if (library.empty())
        return CONNECTOR_NO_LIBRARY;

    std::string contents = OtherSections(options.driverFile);
    if (!contents.empty() && contents.back() != '\n')
        contents += "\n";
    contents += std::string("[") + kCatalogueDriverName + "]\n";
    contents += "Description=MariaDB/MySQL ODBC driver for the Telvix catalogue\n";
    contents += "Driver=" + library + "\n";

    const std::string temporary = options.driverFile + ".telvix-new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << contents;
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return CONNECTOR_WRITE_FAILED;
        }
    }
    std::error_code error;
    fs::rename(temporary, options.driverFile, error);
    if (error) {
        fs::remove(temporary, error);
        return CONNECTOR_WRITE_FAILED;
    }
    return CONNECTOR_INSTALLED;
}

LinuxSystem::LinuxSystem(std::function<void()> closeMainWindow, ConnectorInstallOptions installOptions)
    : closeMainWindow_(std::move(closeMainWindow)), installOptions_(std::move(installOptions)) {}

std::u16string LinuxSystem::CurrentDirectory() {
    std::error_code error;
    const fs::path directory = fs::current_path(error);
    return error ? std::u16string() : FromUtf8(directory.string());
}

bool LinuxSystem::IsInternetConnected() {
    return AnyOutsideInterfaceUp(ListNetworkInterfaces());
}

int LinuxSystem::RunConnectorInstaller(const std::u16string&) {
    return RegisterConnectorDriver(installOptions_);
}

void LinuxSystem::CloseMainWindow() {
    if (closeMainWindow_)
        closeMainWindow_();
}
