#pragma once
// Where the updater finds the outside world: the catalogue's ODBC connection string, the FTP
// endpoint holding the images and the maker's web address. Without a settings file the program's
// fixed values apply. The file is INI:
//
//   [catalogue]
//   connection = Driver={MySQL ODBC 5.1 Driver};Server=...;Database=...;User=...;Password=...
//   timeout_seconds = 15
//   [ftp]
//   scheme = ftp            ; or "file" for a local image store
//   host = ftp.example.com
//   port = 21
//   user = ...
//   password = ...
//   base_path = /srv/images ; file:// only: directory that stands for the server's root
//   [maker]
//   web_address = https://...
//
// It is looked up, first found wins: the file named by TELVIX_UPDATER_CONFIG, then the system's
// own places: on Linux $XDG_CONFIG_HOME/telvix-updater/updater.ini (or
// ~/.config/telvix-updater/updater.ini) and /etc/telvix-updater/updater.ini; on Windows
// updater.ini beside the program and then in the user's application data folder
// (%APPDATA%\Telvix Updater\updater.ini). Keys left out keep the fixed values. File names are
// UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct FtpEndpoint {
    std::string scheme = "ftp";  // "ftp" or "file"
    std::string host;
    std::uint16_t port = 21;
    std::string user;
    std::string password;
    std::string basePath;  // file:// only
};

struct EndpointSettings {
    std::string catalogueConnection;   // ODBC connection string, used unchanged
    int catalogueTimeoutSeconds = 15;  // login and statement time-out
    FtpEndpoint ftp;
    std::string makerWebAddress;
    std::string sourceFile;  // the file the values came from; empty for the fixed values
};

// The program's fixed values.
inline EndpointSettings DefaultEndpointSettings() {
    EndpointSettings settings;
    settings.catalogueConnection =
        "Driver={MySQL ODBC 5.1 Driver};Server=catalogue.telvix-interfaces.com;Database=tvx_catalogue;"
        "User=3f9a61c2d7e04b;Password=8c41e07a";
    settings.ftp.scheme = "ftp";
    settings.ftp.host = "ftp.telvix-interfaces.com";
    settings.ftp.port = 21;
    settings.ftp.user = "tvxupdate";
    settings.ftp.password = "b7e2c9d4";
    settings.makerWebAddress = "https://www.telvix-interfaces.com/";
    return settings;
}

// The places searched for the settings file.
struct SettingsLocations {
    std::string explicitFile;        // TELVIX_UPDATER_CONFIG
    std::vector<std::string> files;  // this system's places, in order
};
// TELVIX_UPDATER_CONFIG and this system's places (one definition per system).
SettingsLocations SettingsLocationsFromEnvironment();
// The Linux places: the user's (from XDG_CONFIG_HOME, else HOME), then the system-wide file.
std::vector<std::string> XdgSettingsFiles(const std::string& xdgConfigHome, const std::string& home,
                                          const std::string& systemFile = "/etc/telvix-updater/updater.ini");

// Reads one settings file over the given values. Returns an error text (file missing or
// unreadable, bad line, bad number or scheme), or nullopt on success.
std::optional<std::string> ReadEndpointSettingsFile(const std::string& path, EndpointSettings& settings);

// The fixed values overlaid by the first settings file found. A file named by
// TELVIX_UPDATER_CONFIG that cannot be read is reported in error (when given) and the fixed
// values are used.
EndpointSettings LoadEndpointSettings(const SettingsLocations& locations, std::string* error = nullptr);
