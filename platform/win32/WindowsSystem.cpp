#include "platform/win32/WindowsSystem.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "platform/win32/WideText.h"

std::wstring InstallerCommandLine(const std::u16string& installerPath) {
    std::wstring path = WideFromUtf16(installerPath);
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return L"msiexec /i \"" + path + L"\"";
}

WindowsSystem::WindowsSystem(std::function<void()> closeMainWindow,
                             std::function<void(const std::u16string&)> report)
    : closeMainWindow_(std::move(closeMainWindow)), report_(std::move(report)) {}

std::u16string WindowsSystem::CurrentDirectory() {
    wchar_t directory[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, directory);
    if (length == 0 || length > MAX_PATH)
        return {};
    return Utf16FromWide(std::wstring_view(directory, length));
}

bool WindowsSystem::IsInternetConnected() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

int WindowsSystem::RunConnectorInstaller(const std::u16string& installerPath) {
    std::wstring command = InstallerCommandLine(installerPath);
    const std::wstring file = command.substr(12, command.size() - 13);  // between the quotes
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::u16string message = u"The database connector installer is missing: " + Utf16FromWide(file);
        OutputDebugStringW((WideFromUtf16(message) + L"\n").c_str());
        if (report_)
            report_(message);
        return kInstallerMissingExit;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> writable(command.begin(), command.end());
    writable.push_back(L'\0');
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        const DWORD error = GetLastError();
        OutputDebugStringW((L"msiexec could not be started: " + std::to_wstring(error) + L"\n").c_str());
        return static_cast<int>(error == 0 ? 1 : error);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

void WindowsSystem::CloseMainWindow() {
    if (closeMainWindow_)
        closeMainWindow_();
}
