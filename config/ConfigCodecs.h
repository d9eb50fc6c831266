#pragma once
// Payloads of the configuration commands: the read-config (0x1A) and read-overlay (0x65) replies
// taken into the context, the write-config (0x1B) and write-overlay (0x66) commands laid into an
// output report, the vehicle stamp of an install, the identity summary and the serial text.
//
// All functions run on the window's thread. They never touch the context's report buffers: the
// decoder hands in a copy of the input report, the dispatcher lays the command into the report
// it is about to send (e.g. inside outputReport.Edit()). Only the bytes named here are written:
// a command leaves the rest of the report as earlier commands left it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/DeviceConfig.h"
#include "config/OverlayConfig.h"
#include "link/HidReport.h"

struct UpdaterContext;

constexpr std::uint8_t CODE_READ_CONFIG = 0x1A;
constexpr std::uint8_t CODE_WRITE_CONFIG = 0x1B;
constexpr std::uint8_t CODE_READ_OVERLAY = 0x65;
constexpr std::uint8_t CODE_WRITE_OVERLAY = 0x66;
constexpr std::uint8_t CONFIG_STATUS_OK = 0x16;

using McuId = std::array<std::uint8_t, 16>;

// --- Pure layer: bytes in, values out ---

// What a read-config reply carries. identity and config are meaningful only when status is 0x16;
// config bytes 43..45 are zero (the reply has no room for them).
struct ConfigReply {
    std::uint8_t status = 0;
    McuId mcuId{};
    std::uint16_t softwareId = 0;
    std::uint8_t softwareBuild = 0;
    DeviceConfig config;
};
ConfigReply ParseConfigReply(const HidReport& report);
OverlayConfig ParseOverlayReply(const HidReport& report);

// Writes code 0x1B into byte 1 and the 46 record bytes into bytes 2..47.
void LayConfigCommand(const DeviceConfig& config, HidReport& report);
// Writes code 0x66 into byte 1 and the 8 overlay bytes into bytes 2..9.
void LayOverlayCommand(const OverlayConfig& overlay, HidReport& report);

// 16 bytes as 35 characters of upper-case hex in four groups: 00112233-44556677-8899AABB-CCDDEEFF.
std::u16string FormatMcuSerial(const McuId& mcuId);

// Converts a UTF-16 text to the record's 8-bit characters: U+0000..U+00FF keep their value,
// anything else (a surrogate pair counts as one character) becomes '?'.
std::string ToVehicleText(std::u16string_view text);

// Stamps an installed vehicle into the record: make and model (cut to 13 characters so the
// field ends with its zero byte) with their lengths, CAP_FEATURES cleared, and for the models
// that need it CAM_AFTERMARKET_REAR set. Touches nothing else.
void StampVehicle(DeviceConfig& config, std::u16string_view make, std::u16string_view model,
                  std::u16string_view mfgId);

// "ID: ..., Software ID: ..., Software Build: ..., Make: ..., Model: ..., MCU Serial: ..."
std::u16string FormatIdentitySummary(std::u16string_view mfgId, std::uint16_t softwareId,
                                     std::uint8_t softwareBuild, const DeviceConfig& config,
                                     std::u16string_view mcuSerial);

// --- Context layer: what the reply decoder and the command dispatcher call ---

// Takes a 0x1A reply: stores its status byte as replyStatus; on status 0x16 replaces identity,
// record and mcu_serial whole (and sets deviceConfigValid); any other status keeps them as they
// were. Ends the outstanding read whatever the status. Returns the status byte.
std::uint8_t DecodeConfigReply(UpdaterContext& ctx, const HidReport& report);

// Takes a 0x65 reply: overlayConfig := bytes 2..9, sets overlayReceived, ends the outstanding read.
// replyStatus is left alone.
void DecodeOverlayReply(UpdaterContext& ctx, const HidReport& report);

// Lays the write-config command. With configWritePending set (a settings window edited the
// record) the flag is cleared and the record goes out as edited; without it (the write after an
// install) the record is first stamped with the installed vehicle's make and model, taken from
// the software record by the caller.
void EncodeConfigCommand(UpdaterContext& ctx, std::u16string_view installedMake,
                         std::u16string_view installedModel, HidReport& report);

// Lays the install's write-config command: the record is always stamped with the installed
// vehicle first, whatever request flags are set (they are left as they are).
void EncodeStampedConfigCommand(UpdaterContext& ctx, std::u16string_view installedMake,
                                std::u16string_view installedModel, HidReport& report);

// Lays the write-overlay command and clears overlayWritePending.
void EncodeOverlayCommand(UpdaterContext& ctx, HidReport& report);

// The identity summary of the connected interface, from the context.
std::u16string FormatIdentitySummary(const UpdaterContext& ctx);
