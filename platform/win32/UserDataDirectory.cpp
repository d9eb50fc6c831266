// windows.h first: the other system headers need its types.
#include <windows.h>

#include "platform/UserDataDirectory.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>

std::filesystem::path UserDataDirectory() {
    if (const wchar_t* explicitDir = _wgetenv(L"TELVIX_UPDATER_DATA_DIR"); explicitDir && *explicitDir)
        return explicitDir;
    PWSTR roaming = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)) && roaming != nullptr)
        folder = roaming;
    CoTaskMemFree(roaming);
    if (folder.empty()) {
        if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData)
            folder = appData;
    }
    return folder.empty() ? folder : folder / L"Telvix Updater";
}

std::tm LocalTime(std::time_t seconds) {
    std::tm local{};
    localtime_s(&local, &seconds);
    return local;
}
