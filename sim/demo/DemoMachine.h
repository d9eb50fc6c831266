#pragma once
// The machine of the demo and of the command line's emulated interface: one emulated Telvix
// interface on an emulated HID bus, which takes a copied firmware.bin off its update volume as the
// real interface does. The real program runs against it unchanged. One owner thread, except what
// the bus itself allows.
//
//     DemoMachine demo("QD7720R");                                  // the demo's own interface
//     DemoMachine emulated("WJ7731R", {.interfaceFor = [&](const std::string& model) {
//                                          return CatalogueInterfaceOptions(model, id, db); }});
#include <functional>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "sim/EmulatedHidBus.h"
#include "sim/TelvixFirmware.h"
#include "sim/UpdateVolumeWatcher.h"

// The firmware of the demo's interface of a model: the software, vehicle and controller id the
// demo catalogue's device register records for the model, feature programming offered, and the
// updater the catalogue names for it (HID bootloader or update volume).
ApplicationOptions DemoInterfaceOptions(const std::string& modelCode);

struct MachineSetup {
    // The firmware of the interface plugged for a model.
    std::function<ApplicationOptions(const std::string&)> interfaceFor = DemoInterfaceOptions;
    // The interface's own clock; the system clock when null. Must outlive the machine.
    const Clock* clock = nullptr;
    // True: the machine watches the update volume on its own thread. False: the owner calls
    // PollUpdateVolume (for instance before every tick of its loop).
    bool watchVolumeOnItsOwn = true;
};

class DemoMachine {
  public:
    // Plugs one interface of the model in application mode.
    explicit DemoMachine(const std::string& modelCode, MachineSetup setup = {});

    EmulatedHidBus& Bus() { return bus_; }
    const std::string& Model() const { return model_; }
    DeviceMode Mode() const;
    const TelvixFirmware& Firmware() const { return firmware_; }

    void Plug();
    void Unplug();
    void Reboot();
    // Unplugs the present interface and plugs a new one of another model.
    void ChangeModel(const std::string& modelCode);
    // Makes the next flash of the interface fail its sector checks (or stops doing so).
    void SetFailFlash(bool fail);
    // Takes a complete firmware.bin off the update volume, if one lies there.
    void PollUpdateVolume();

  private:
    void PlugNew(const std::string& modelCode);

    MachineSetup setup_;
    EmulatedHidBus bus_;
    std::string model_;
    EmulatedInterface* device_ = nullptr;
    TelvixFirmware firmware_;
    std::unique_ptr<UpdateVolumeWatcher> volumeWatcher_;
};
