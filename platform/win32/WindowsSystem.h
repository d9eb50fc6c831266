#pragma once
// The system port on Windows: the current directory, WinINet's view of the Internet connection,
// and the ODBC connector installer run through msiexec. Diagnostics go to OutputDebugStringW.
#include <functional>
#include <string>

#include "app/ports/SystemPort.h"

// The exit code RunConnectorInstaller gives when the installer file is not there (msiexec is
// then not started): ERROR_FILE_NOT_FOUND, as msiexec itself would fail.
inline constexpr int kInstallerMissingExit = 2;

// The msiexec command line for an installer: msiexec /i "PATH", with '/' turned into '\'.
std::wstring InstallerCommandLine(const std::u16string& installerPath);

class WindowsSystem final : public SystemPort {
  public:
    // closeMainWindow is what "end the program" means for the front end that owns the window;
    // report receives a line for the user when the installer cannot run (may be empty).
    explicit WindowsSystem(std::function<void()> closeMainWindow,
                           std::function<void(const std::u16string&)> report = {});

    std::u16string CurrentDirectory() override;
    bool IsInternetConnected() override;
    int RunConnectorInstaller(const std::u16string& installerPath) override;
    void CloseMainWindow() override;

  private:
    std::function<void()> closeMainWindow_;
    std::function<void(const std::u16string&)> report_;
};
