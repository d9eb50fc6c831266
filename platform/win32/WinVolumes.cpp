#include "platform/win32/WinVolumes.h"

#include <windows.h>

#include "platform/win32/WideText.h"

std::vector<VolumeEntry> WinVolumes::ListVolumes() {
    std::vector<VolumeEntry> volumes;
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'D'; letter <= L'Z'; ++letter) {
        if ((drives & (1u << (letter - L'A'))) == 0)
            continue;
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        VolumeEntry entry;
        entry.rootPath = Utf8FromWide(root);
        entry.removable = GetDriveTypeW(root) == DRIVE_REMOVABLE;
        if (entry.removable) {
            wchar_t label[MAX_PATH + 1] = {};
            wchar_t fileSystem[MAX_PATH + 1] = {};
            if (GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, fileSystem,
                                      MAX_PATH + 1)) {
                entry.details = VolumeDetails{Utf16FromWide(fileSystem), Utf16FromWide(label)};
            }
        }
        volumes.push_back(std::move(entry));
    }
    return volumes;
}
