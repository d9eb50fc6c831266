#include "catalogue/EndpointSettings.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalogue/IniFile.h"
#include "platform/Utf8Path.h"

namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(PathFromUtf8(path), ec);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in)
        return std::nullopt;
    return text.str();
}

}  // namespace

std::vector<std::string> XdgSettingsFiles(const std::string& xdgConfigHome, const std::string& home,
                                          const std::string& systemFile) {
    std::vector<std::string> files;
    if (!xdgConfigHome.empty()) {
        files.push_back(xdgConfigHome + "/telvix-updater/updater.ini");
    } else if (!home.empty()) {
        files.push_back(home + "/.config/telvix-updater/updater.ini");
    }
    files.push_back(systemFile);
    return files;
}

std::optional<std::string> ReadEndpointSettingsFile(const std::string& path, EndpointSettings& settings) {
    if (!FileExists(path)) {
        return "settings file " + path + " not found";
    }
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        return "settings file " + path + " cannot be read";
    }
    const IniFile reader = IniFile::Parse(*text);
    if (reader.ErrorLine() > 0) {
        return "settings file " + path + ": syntax error on line " + std::to_string(reader.ErrorLine());
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
    for (const std::string& candidate : locations.files) {
        if (FileExists(candidate)) {
            report(ReadEndpointSettingsFile(candidate, settings));
            return settings;
        }
    }
    return settings;
}
