#pragma once
// The full firmware of an emulated Telvix interface, installed in one call: application firmware
// and bootloader sharing one flash and one set of faults.
//
//     EmulatedInterface& box = bus.PlugInterface("QD7720R");
//     TelvixFirmware telvix = InstallTelvixFirmware(box, DefaultApplicationOptions("QD7720R"));
//     telvix.faults->Update([](FaultPlan& f) { f.wrongPageSums = 2; });
//     ... flash ...
//     EXPECT_EQ(telvix.flash->Contents(), paddedImage);
#include <memory>
#include <string>

#include "sim/ApplicationFirmware.h"
#include "sim/Bootloader.h"
#include "sim/EmulatedFlash.h"
#include "sim/EmulatedInterface.h"
#include "sim/Faults.h"

struct TelvixFirmware {
    std::shared_ptr<ApplicationFirmware> application;
    std::shared_ptr<Bootloader> bootloader;
    std::shared_ptr<EmulatedFlash> flash;
    std::shared_ptr<FirmwareFaults> faults;
};

// The factory state of a model: its configuration record and overlay block (FactoryRecordOf; an
// unknown code gets video settings and a rear input only), a controller id derived from the model
// code, software 1 build 1, and an HID bootloader.
ApplicationOptions DefaultApplicationOptions(const std::string& modelCode);

// Installs both firmwares on the device (they take effect at its next start, or at once for the
// mode it is in when it restarts).
TelvixFirmware InstallTelvixFirmware(EmulatedInterface& device, ApplicationOptions options);
