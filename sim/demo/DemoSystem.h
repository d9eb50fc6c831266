#pragma once
// The demo's machine has a network by definition: its catalogue and images are local files.
// Everything else is the real system's.
#include "app/ports/SystemPort.h"

class DemoSystem final : public SystemPort {
  public:
    explicit DemoSystem(SystemPort& real) : real_(real) {}
    std::u16string CurrentDirectory() override { return real_.CurrentDirectory(); }
    bool IsInternetConnected() override { return true; }
    int RunConnectorInstaller(const std::u16string& installerPath) override {
        return real_.RunConnectorInstaller(installerPath);
    }
    void CloseMainWindow() override { real_.CloseMainWindow(); }

  private:
    SystemPort& real_;
};
