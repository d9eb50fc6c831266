// Where the settings file is looked for on Windows: beside the program, then in the user's
// application data folder.
// windows.h first: the other system headers need its types.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>
#include <filesystem>

#include "catalogue/EndpointSettings.h"
#include "platform/Utf8Path.h"
#include "platform/win32/WideText.h"

namespace {
std::filesystem::path ProgramDirectory() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}
}  // namespace

SettingsLocations SettingsLocationsFromEnvironment() {
    SettingsLocations locations;
    if (const wchar_t* explicitFile = _wgetenv(L"TELVIX_UPDATER_CONFIG"); explicitFile && *explicitFile)
        locations.explicitFile = Utf8FromWide(explicitFile);
    if (const std::filesystem::path program = ProgramDirectory(); !program.empty())
        locations.files.push_back(PathToUtf8(program / L"updater.ini"));
    PWSTR roaming = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)) && roaming != nullptr)
        locations.files.push_back(
            PathToUtf8(std::filesystem::path(roaming) / L"Telvix Updater" / L"updater.ini"));
    CoTaskMemFree(roaming);
    return locations;
}
