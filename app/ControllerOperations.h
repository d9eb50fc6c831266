#pragma once
// The operations of the other subsystems that the main controller calls: the device link, the
// command set, the catalogue and the image fetch. UpdaterProgram binds them to the real
// subsystems; controller tests bind a recording fake. Called on the window thread only.
#include <cstdint>
#include <string_view>

#include "catalogue/HidBootloaderLookup.h"

// The (CommandType, CommandDirection) pairs the controller hands to IssueCommand.
struct CommandRequest {
    std::int32_t type;
    std::int32_t direction;
};
inline constexpr CommandRequest REQ_READ_CONFIG{1, 0};
inline constexpr CommandRequest REQ_WRITE_CONFIG{1, 1};           // the settings windows' write
inline constexpr CommandRequest REQ_WRITE_STAMPED_CONFIG{14, 1};  // the install's write, stamped
inline constexpr CommandRequest REQ_WRITE_OVERLAY{13, 1};
inline constexpr CommandRequest REQ_WRITE_FEATURES{6, 1};
inline constexpr CommandRequest REQ_READ_FEATURES{6, 0};
inline constexpr CommandRequest REQ_PROGRAMMING_STATUS{7, 0};
inline constexpr CommandRequest REQ_REBOOT{10, 1};
inline constexpr CommandRequest REQ_START_FLASH{11, 0};
inline constexpr CommandRequest REQ_FTP_CHECK{0, 3};
inline constexpr CommandRequest REQ_FTP_DOWNLOAD{0, 4};
inline constexpr CommandRequest REQ_START_ENGINE{0, 5};

inline constexpr bool operator==(CommandRequest a, CommandRequest b) {
    return a.type == b.type && a.direction == b.direction;
}

class ControllerOperations {
  public:
    virtual ~ControllerOperations() = default;

    // One connect attempt; the outcome is iUsbConnectSts. Blocks.
    virtual void ConnectInterface() = 0;
    // Sends a request through the command dispatcher (token 1). False when it was refused.
    virtual bool IssueCommand(CommandRequest request) = 0;
    // Stops the report writer before a flashing run; the reader keeps running.
    virtual void StopReportWriter() = 0;

    // True when the catalogue's database driver is installed. Blocks.
    virtual bool OdbcDriverPresent() = 0;
    // Rebuilds the make, model and year lists. Blocks.
    virtual void FillVehicleLists() = 0;
    // Stores dbOperation and starts one database worker run.
    virtual void StartDatabaseWorker(std::int32_t operation) = 0;
    // Loads the catalogue entry of the selected result row into the software record. Blocks.
    virtual bool LoadSelectedSoftware() = 0;
    // Loads the image length and digest of the entry now in the software record. Blocks.
    virtual bool LoadImageDetails() = 0;
    // Whether the connected model is flashed through its HID bootloader, or that the catalogue
    // could not tell. Blocks.
    virtual HidBootloaderLookup LookUpHidBootloader() = 0;
    // Fetches the image into memory, checks it and loads the flashing engine: 0 when ready.
    // Blocks for the transfer.
    virtual int FetchImage() = 0;

    // The install journal. An install starts once its entry is loaded and its route chosen (the
    // Install command, or the upgrade route when upgrade is set), and ends with the text its
    // progress dialog finished on. Without a journal they do nothing.
    virtual void JournalInstallStart(bool /*upgrade*/) {}
    virtual void JournalInstallEnd(bool /*succeeded*/, std::u16string_view /*outcome*/) {}
};
