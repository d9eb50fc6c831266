#pragma once
// The program flash of an emulated interface: the image the bootloader (or the update volume) last
// wrote completely, and the software identity the application firmware reads from it after a
// restart. Shared by both firmwares of one interface and read by tests; every member locks.
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "sim/FirmwareImage.h"

struct SoftwareIdentity {
    std::uint16_t softwareId = 0;
    std::uint8_t softwareBuild = 0;
};

class EmulatedFlash {
  public:
    // Replaces the flash contents with a completely written image.
    void Program(std::vector<std::uint8_t> image);
    std::vector<std::uint8_t> Contents() const;
    // How many images were programmed since the interface was made.
    int ProgramCount() const;
    // The identity of the programmed software, or nothing while no image was ever programmed.
    // An image without a header reads as software 0, build 0.
    std::optional<SoftwareIdentity> Identity() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::uint8_t> contents_;
    int programCount_ = 0;
};
