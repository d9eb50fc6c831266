#include "catalogue/EndpointSettings.h"

#include <INIReader.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

SettingsLocations SettingsLocationsFromEnvironment() {
    SettingsLocations locations;
    locations.explicitFile = Environment("TELVIX_UPDATER_CONFIG");
    locations.xdgConfigHome = Environment("XDG_CONFIG_HOME");
    locations.home = Environment("HOME");
    return locations;
}

std::optional<std::string> ReadEndpointSettingsFile(const std::string& path, EndpointSettings& settings) {
    if (!FileExists(path)) {
        return "settings file " + path + " not found";
    }
    INIReader reader(path);
    if (reader.ParseError() < 0) {
        return "settings file " + path + " cannot be read";
    }
    if (reader.ParseError() > 0) {
        return "settings file " + path + ": syntax error on line " + std::to_string(reader.ParseError());
    }
    EndpointSettings read = settings;
    read.catalogueConnection = reader.Get("catalogue", "connection", read.catalogueConnection);
    const long timeout = reader.GetInteger("catalogue", "timeout_seconds", read.catalogueTimeoutSeconds);
    if (timeout < 1 || timeout > 3600) {
        return "settings file " + path + ": timeout_seconds must be between 1 and 3600";
    }
    read.catalogueTimeoutSeconds = static_cast<int>(timeout);
    read.ftp.scheme = reader.Get("ftp", "scheme", read.ftp.scheme);
    if (read.ftp.scheme != "ftp" && read.ftp.scheme != "file") {
        return "settings file " + path + ": scheme must be ftp or file";
    }
    read.ftp.host = reader.Get("ftp", "host", read.ftp.host);
    const long port = reader.GetInteger("ftp", "port", read.ftp.port);
    if (port < 1 || port > 65535) {
        return "settings file " + path + ": port must be between 1 and 65535";
    }
    read.ftp.port = static_cast<std::uint16_t>(port);
    read.ftp.user = reader.Get("ftp", "user", read.ftp.user);
    read.ftp.password = reader.Get("ftp", "password", read.ftp.password);
    read.ftp.basePath = reader.Get("ftp", "base_path", read.ftp.basePath);
    read.makerWebAddress = reader.Get("maker", "web_address", read.makerWebAddress);
    read.sourceFile = path;
    settings = read;
    return std::nullopt;
}

EndpointSettings LoadEndpointSettings(const SettingsLocations& locations, std::string* error) {
    EndpointSettings settings = DefaultEndpointSettings();
    auto report = [&](const std::optional<std::string>& problem) {
        if (problem && error) {
            *error = *problem;
        }
    };
    if (!locations.explicitFile.empty()) {
        report(ReadEndpointSettingsFile(locations.explicitFile, settings));
        return settings;
    }
    std::string user;
    if (!locations.xdgConfigHome.empty()) {
        user = locations.xdgConfigHome + "/telvix-updater/updater.ini";
    } else if (!locations.home.empty()) {
        user = locations.home + "/.config/telvix-updater/updater.ini";
    }
    for (const std::string& candidate : {user, locations.systemFile}) {
        if (FileExists(candidate)) {
            report(ReadEndpointSettingsFile(candidate, settings));
            return settings;
        }
    }
    return settings;
}
