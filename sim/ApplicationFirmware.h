#pragma once
// The application firmware of an emulated Telvix interface: its stored configuration record and
// overlay block, its identity, the feature programming and the reboot into its updater (the
// bootloader for models flashed over HID, the update volume for the others).
//
// Commands and replies (report byte 1 is the code; the firmware reads only the bytes a command
// defines, never what a host left beyond them):
//   0x01 -> 0x10, status 0x21 (application running)
//   0x1A -> 0x1A: byte 2 status 0x16; 3..18 controller id; 19..20 software id (little-endian);
//           21 software build; 22..64 record bytes 0..42 (43..45 do not fit)
//   0x1B    bytes 2..47 are record bytes 0..45 -> stored; 0x1B, status 0x2C
//   0x60 -> 0x60: status 0x16, byte 3 the feature byte
//   0x61    byte 2 is the feature byte -> stored; 0x61, status 0x2C; feature programming starts
//   0x62 -> 0x62: status 0x16, byte 3 phase, byte 4 error (see below)
//   0x65 -> 0x65: bytes 2..9 the overlay block (no status byte)
//   0x66    bytes 2..9 are the overlay block -> stored; 0x66, status 0x2C
//   0x80 -> 0x80, then the restart into the updater
// Any other code gets no answer. A status override of the faults replaces the status byte, and
// a write whose status is overridden stores nothing.
//
// Feature programming: once a 0x61 was accepted, the interface runs its programming sequence on
// its own clock. Step k is reached (k + 1) x programStepInterval after the 0x61 and pushed at once
// as a 0x62 report, unasked, as the real interface does while it programs; with a zero interval
// every step is pushed right after the 0x61 reply. A 0x62 request is answered with the step
// reached last, or with phase 1 (still running) before the first one; without a programming since
// the interface started it is answered with status 0x21. The fault silentProgramming stalls it
// after its first "still running" report.
//
// After an image was programmed into the shared flash, the firmware starts with the identity that
// image's header names and counts one more update in record bytes 40..41.
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/EmulatedFlash.h"
#include "sim/Faults.h"
#include "sim/Firmware.h"
#include "sim/StoredRecord.h"

struct ProgramStep {
    std::uint8_t phase = 2;  // 2 finished, 3 failed, anything else still running
    std::uint8_t error = 0;  // reported with phase 3
};

struct ApplicationOptions {
    std::string modelCode = "QD7720R";
    bool hasHidBootloader = true;
    StoredRecord config;
    OverlayBlock overlay{};
    std::array<std::uint8_t, 16> mcuId{};
    std::uint16_t softwareId = 0;
    std::uint8_t softwareBuild = 0;
    std::uint8_t featureBits = 0;
    std::vector<ProgramStep> programSequence{{1, 0}, {2, 0}};
    std::chrono::milliseconds programStepInterval{500};
};

class ApplicationFirmware final : public Firmware {
  public:
    ApplicationFirmware(ApplicationOptions options, std::shared_ptr<EmulatedFlash> flash,
                        std::shared_ptr<FirmwareFaults> faults);

    void OnStart(FirmwareHost& host) override;
    void OnOutputReport(const HidReport& report, FirmwareHost& host) override;
    void OnWake(FirmwareHost& host) override;

    // What the interface holds now; any thread.
    StoredRecord StoredConfig() const;
    OverlayBlock StoredOverlay() const;
    std::uint8_t StoredFeatureBits() const;
    SoftwareIdentity Software() const;
    // Take effect at the next programming (a 0x61 accepted afterwards).
    void SetProgramSequence(std::vector<ProgramStep> sequence);
    void SetProgramStepInterval(std::chrono::milliseconds interval);
    void SetStoredConfig(const StoredRecord& config);

  private:
    // One run of the programming sequence, started by an accepted 0x61.
    struct Programming {
        bool started = false;
        std::chrono::steady_clock::time_point start;
        std::vector<ProgramStep> sequence;
        std::chrono::milliseconds interval{0};
        std::size_t reached = 0;       // steps reached so far
        bool reportedRunning = false;  // a "still running" report went out
    };

    HidReport ConfigReply() const;
    // The 0x62 report of the current step; false when the interface keeps quiet about it.
    bool ProgramStatus(HidReport& report);
    // Reaches the steps whose time has come (their reports go to `out`) and asks for a wake-up at
    // the next one.
    void AdvanceProgramming(FirmwareHost& host, std::vector<HidReport>& out);
    // The reply's status byte: the override of the faults, or `normal`.
    std::uint8_t Status(std::uint8_t command, std::uint8_t normal) const;

    std::shared_ptr<EmulatedFlash> flash_;
    std::shared_ptr<FirmwareFaults> faults_;
    mutable std::mutex mutex_;
    ApplicationOptions state_;
    Programming programming_;
    int programsSeen_ = 0;  // flash program count taken into the identity
};
