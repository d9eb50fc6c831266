#include <windows.h>

#include "app/win32/ConsoleOutput.h"

#include <string>

#include "platform/win32/WideText.h"

namespace {
bool WriteToHandle(HANDLE handle, std::string_view text) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = WideFromUtf8(text);
        DWORD written = 0;
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) !=
               FALSE;
    }
    DWORD written = 0;
    return WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
}
}  // namespace

void WriteToStarter(std::string_view utf8Text, bool isError) {
    const DWORD which = isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    if (WriteToHandle(GetStdHandle(which), utf8Text)) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool written = WriteToHandle(console, utf8Text);
        if (console != INVALID_HANDLE_VALUE) {
            CloseHandle(console);
        }
        if (written) {
            return;
        }
    }
    MessageBoxW(nullptr, WideFromUtf8(utf8Text).c_str(), L"telvix-updater",
                isError ? MB_ICONERROR | MB_OK : MB_ICONINFORMATION | MB_OK);
}
