#pragma once
// The reader thread's handling of the bootloader's replies 0x20, 0x30, 0x40, 0x50 and 0x70:
// updates the flashing engine's step and counters and wakes the engine. Called on the reader
// thread for each such report; does nothing unless a flashing run is active.
//
// Beyond the plain protocol it ends the run (step BOOT_FAIL) when a sector is refused (0x30 with
// a nonzero status) and when the interface runs past the image's geometry (a seventeenth chunk in
// a page, a seventeenth page in a sector, a sector beyond sectorCount), so the engine never has to
// read outside imageBuffer. Once a reply has failed the run, later replies do not undo it.
#include "link/HidReport.h"

struct UpdaterContext;

void HandleBootloaderReply(UpdaterContext& ctx, const HidReport& report);

// Reply codes of the bootloader protocol.
constexpr std::uint8_t BOOT_REPLY_STATUS = 0x10;
constexpr std::uint8_t BOOT_REPLY_PARAMETERS = 0x20;
constexpr std::uint8_t BOOT_REPLY_SECTOR_READY = 0x30;
constexpr std::uint8_t BOOT_REPLY_CHUNK = 0x40;
constexpr std::uint8_t BOOT_REPLY_PAGE = 0x50;
constexpr std::uint8_t BOOT_REPLY_SECTOR_CHECK = 0x70;
constexpr std::uint8_t BOOT_REPLY_CLOSING = 0x80;

// Commands of the bootloader protocol.
constexpr std::uint8_t BOOT_CMD_PROBE = 0x01;
constexpr std::uint8_t BOOT_CMD_PARAMETERS = 0x02;
constexpr std::uint8_t BOOT_CMD_BEGIN_SECTOR = 0x03;
constexpr std::uint8_t BOOT_CMD_CHUNK = 0x04;
constexpr std::uint8_t BOOT_CMD_COMMIT_PAGE = 0x05;
constexpr std::uint8_t BOOT_CMD_CHECK_SECTOR = 0x07;
constexpr std::uint8_t BOOT_CMD_FINISH = 0x08;
constexpr std::uint8_t BOOT_CMD_CLOSE = 0x09;
constexpr std::uint8_t BOOT_CMD_RESTART = 0x80;

// The sector check's "good" value in bytes 2..3 of a 0x70 reply.
constexpr std::uint16_t kSectorCheckGood = 2;
