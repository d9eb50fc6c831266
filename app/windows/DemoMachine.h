#pragma once
// The machine of the demo: an emulated Telvix interface on an emulated HID bus, with the fixture
// catalogue as an SQLite file and its images as a file:// store in a scratch directory. The real
// program runs against it unchanged. Window thread only, except what the bus itself allows.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/EndpointSettings.h"
#include "sim/EmulatedHidBus.h"
#include "sim/TelvixFirmware.h"
#include "sim/UpdateVolumeWatcher.h"

inline constexpr char kDemoDefaultModel[] = "QD7720R";

// Where the demo's catalogue and image store live.
struct DemoData {
    std::filesystem::path catalogueFile;
    std::filesystem::path imageStore;
};

// Writes the fixture catalogue and its images below dir (created when missing). Returns an error
// text, or nothing on success.
std::optional<std::string> WriteDemoData(const std::filesystem::path& dir, DemoData& data);
// The endpoints that point the program at the demo data.
EndpointSettings DemoEndpoints(const DemoData& data, const std::string& makerWebAddress);
// True for the twelve model codes the catalogue knows.
bool IsKnownModel(const std::string& modelCode);

class DemoMachine {
  public:
    // Plugs one interface of the model in application mode, carrying the software the
    // catalogue records for it.
    explicit DemoMachine(const std::string& modelCode);

    EmulatedHidBus& Bus() { return bus_; }
    const std::string& Model() const { return model_; }
    DeviceMode Mode() const;

    void Plug();
    void Unplug();
    void Reboot();
    // Unplugs the present interface and plugs a new one of another model.
    void ChangeModel(const std::string& modelCode);
    // Makes the next flash of the interface fail its sector checks (or stops doing so).
    void SetFailFlash(bool fail);

  private:
    void PlugNew(const std::string& modelCode);

    EmulatedHidBus bus_;
    std::string model_;
    EmulatedInterface* device_ = nullptr;
    TelvixFirmware firmware_;
    // Takes a copied firmware.bin off the update volume, as the real interface does.
    std::unique_ptr<UpdateVolumeWatcher> volumeWatcher_;
};
