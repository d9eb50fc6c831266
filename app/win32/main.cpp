// telvix-updater.exe: the desktop service tool for Telvix vehicle video interfaces.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/win32/CKioApp.h"
#include "app/win32/ConsoleOutput.h"
#include "app/win32/LaunchOptions.h"
#include "platform/win32/WideText.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Utf8FromWide(wide[i]));
    }
    LocalFree(wide);

    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.options) {
        WriteToStarter("telvix-updater: " + parsed.error + "\n" + UsageText(), true);
        return 2;
    }
    if (parsed.options->help) {
        WriteToStarter(UsageText(), false);
        return 0;
    }
    if (parsed.options->version) {
        WriteToStarter(VersionText(), false);
        return 0;
    }
    return RunDesktopProgram(instance, *parsed.options);
}
