#include "platform/UserDataDirectory.h"

#include <cstdlib>

std::filesystem::path UserDataDirectory() {
    if (const char* explicitDir = std::getenv("TELVIX_UPDATER_DATA_DIR"); explicitDir && *explicitDir)
        return explicitDir;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "telvix-updater";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local/share/telvix-updater";
    return {};
}

std::tm LocalTime(std::time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}
