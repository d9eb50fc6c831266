// windows.h first: the other system headers need its types.
#include <windows.h>

#include "platform/SystemDescription.h"

#include <string>

std::string SystemDescription() {
    // GetVersionEx answers with the version the manifest admits; the kernel's own call does not.
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
    using WineVersionCall = const char*(__cdecl*)();
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    std::string text = "Windows";
    if (ntdll == nullptr)
        return text;
    if (const auto rtlGetVersion =
            reinterpret_cast<RtlGetVersionCall>(GetProcAddress(ntdll, "RtlGetVersion"))) {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (rtlGetVersion(&info) == 0) {
            text += " " + std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) +
                    "." + std::to_string(info.dwBuildNumber);
        }
    }
    if (const auto wineVersion = reinterpret_cast<WineVersionCall>(GetProcAddress(ntdll, "wine_get_version")))
        text += std::string(" (wine ") + wineVersion() + ")";
    return text;
}
