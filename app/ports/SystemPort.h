#pragma once
// What the controller asks of the machine it runs on. Called on the window thread only; every
// call may block (the installer waits for its end).
#include <string>

class SystemPort {
  public:
    virtual ~SystemPort() = default;

    // The process's current directory.
    virtual std::u16string CurrentDirectory() = 0;
    // True when a connection to the outside world exists.
    virtual bool IsInternetConnected() = 0;
    // Runs the database connector installer found at installerPath and returns its exit code
    // (0 when the connector is now installed).
    virtual int RunConnectorInstaller(const std::u16string& installerPath) = 0;
    // Closes the main window with the OK result, which ends the program.
    virtual void CloseMainWindow() = 0;
};
