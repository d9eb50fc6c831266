#pragma once
// The system port on Linux. The Internet connection exists when a network interface other than
// loopback is up. The connector "installer" registers an installed MariaDB or MySQL ODBC driver
// library under the driver name the catalogue's connection string uses ("MySQL ODBC 5.1 Driver")
// in the user's ODBC driver file (~/.odbcinst.ini, which unixODBC reads besides the system one);
// its exit code is 0 when the driver is registered, non-zero when no such library is installed
// or the file cannot be written.
#include <functional>
#include <string>
#include <vector>

#include "app/ports/SystemPort.h"

struct NetworkInterfaceState {
    std::string name;
    bool up = false;
    bool loopback = false;
};

// True when any interface other than loopback is up.
bool AnyOutsideInterfaceUp(const std::vector<NetworkInterfaceState>& interfaces);
// The machine's interfaces (getifaddrs), each once.
std::vector<NetworkInterfaceState> ListNetworkInterfaces();

struct ConnectorInstallOptions {
    // Where driver libraries are looked for, and their names, in order of preference.
    std::vector<std::string> libraryDirectories;
    std::vector<std::string> libraryNames;
    // The user's driver file.
    std::string driverFile;
};
// Standard library places and ~/.odbcinst.ini (from HOME).
ConnectorInstallOptions DefaultConnectorInstallOptions();

inline constexpr char kCatalogueDriverName[] = "MySQL ODBC 5.1 Driver";
enum ConnectorInstallExit : int {
    CONNECTOR_INSTALLED = 0,
    CONNECTOR_NO_LIBRARY = 1,
    CONNECTOR_WRITE_FAILED = 2,
};
// Registers the first library found under kCatalogueDriverName, keeping every other section of
// the driver file. The file is replaced whole, so a failed write leaves the old one.
int RegisterConnectorDriver(const ConnectorInstallOptions& options);

class LinuxSystem final : public SystemPort {
  public:
    // closeMainWindow is what "end the program" means for the front end that owns the window.
    LinuxSystem(std::function<void()> closeMainWindow,
                ConnectorInstallOptions installOptions = DefaultConnectorInstallOptions());

    std::u16string CurrentDirectory() override;
    bool IsInternetConnected() override;
    // The installer path names the Windows package; here the installed driver library is
    // registered instead.
    int RunConnectorInstaller(const std::u16string& installerPath) override;
    void CloseMainWindow() override;

  private:
    std::function<void()> closeMainWindow_;
    ConnectorInstallOptions installOptions_;
};
