// Where the settings file is looked for on Linux.
#include <cstdlib>

#include "catalogue/EndpointSettings.h"

namespace {
std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
}  // namespace

SettingsLocations SettingsLocationsFromEnvironment() {
    SettingsLocations locations;
    locations.explicitFile = Environment("TELVIX_UPDATER_CONFIG");
    locations.files = XdgSettingsFiles(Environment("XDG_CONFIG_HOME"), Environment("HOME"));
    return locations;
}
