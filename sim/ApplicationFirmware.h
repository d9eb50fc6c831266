#pragma once
// The application firmware of an emulated Telvix interface: its stored configuration record and
// overlay block, its identity, the feature programming exchange and the reboot into its updater
// (the bootloader for models flashed over HID, the update volume for the others).
//
// Replies: 0x01 -> 0x10 status 0x21; 0x1A -> status 0x16, mcuId, software id and build, record
// bytes 0..42; 0x1B -> stores record bytes 0..45, 0x2C; 0x60 -> 0x16 and the feature bits;
// 0x61 -> stores the feature bits, 0x2C, and restarts the programming sequence; 0x62 -> the next
// step of the programming sequence (the last step repeats); 0x65 -> the 8 overlay bytes;
// 0x66 -> stores them, 0x2C; 0x80 -> 0x80, then the restart. A status override of the faults
// replaces the status byte, and a refused write stores nothing.
//
// After an image was programmed into the shared flash, the firmware starts with the identity that
// image's header names and counts one more update in the record.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "config/DeviceConfig.h"
#include "config/OverlayConfig.h"
#include "sim/EmulatedFlash.h"
#include "sim/Faults.h"
#include "sim/Firmware.h"

struct ProgramStep {
    std::uint8_t phase = 2;  // 2 finished, 3 failed, anything else still running
    std::uint8_t error = 0;  // reported with phase 3
};

struct ApplicationOptions {
    std::string modelCode = "QD7720R";
    bool hasHidBootloader = true;
    DeviceConfig config;
    OverlayConfig overlay;
    std::array<std::uint8_t, 16> mcuId{};
    std::uint16_t softwareId = 0;
    std::uint8_t softwareBuild = 0;
    std::uint8_t featureBits = 0;
    std::vector<ProgramStep> programSequence{{1, 0}, {2, 0}};
};

class ApplicationFirmware final : public Firmware {
  public:
    ApplicationFirmware(ApplicationOptions options, std::shared_ptr<EmulatedFlash> flash,
                        std::shared_ptr<FirmwareFaults> faults);

    void OnStart(FirmwareHost& host) override;
    void OnOutputReport(const HidReport& report, FirmwareHost& host) override;

    // What the interface holds now; any thread.
    DeviceConfig StoredConfig() const;
    OverlayConfig StoredOverlay() const;
    std::uint8_t StoredFeatureBits() const;
    SoftwareIdentity Software() const;
    void SetProgramSequence(std::vector<ProgramStep> sequence);
    void SetStoredConfig(const DeviceConfig& config);

  private:
    HidReport ConfigReply() const;
    HidReport ProgramStatusReply();
    // The reply's status byte: the override of the faults, or `normal`.
    std::uint8_t Status(std::uint8_t command, std::uint8_t normal) const;

    std::shared_ptr<EmulatedFlash> flash_;
    std::shared_ptr<FirmwareFaults> faults_;
    mutable std::mutex mutex_;
    ApplicationOptions state_;
    std::size_t programStep_ = 0;
    int programsSeen_ = 0;  // flash program count taken into the identity
};
