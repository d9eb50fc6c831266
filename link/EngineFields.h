#pragma once
// Flashing-engine fields of the shared context. The reader thread and the engine thread both
// write the step and the counters, and the controller reads flashProgress: all atomics.
// bootParameters and imageBuffer are written by the window thread while no run is active
// (flashRunActive clear) and only read while one is.
#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/ManualResetEvent.h"

constexpr std::uint32_t kChunkBytes = 16;
constexpr std::uint32_t kPageBytes = 256;
constexpr std::uint32_t kSectorBytes = 4096;
constexpr std::uint32_t kChunksPerPage = kPageBytes / kChunkBytes;
constexpr std::uint32_t kPagesPerSector = kSectorBytes / kPageBytes;
constexpr std::uint32_t kMaxSectors = 255;
constexpr std::uint32_t kMaxImageBytes = kMaxSectors * kSectorBytes;  // 1,044,480

struct BootParameters {
    std::uint16_t pageSize = 256;
    std::uint16_t pagesPerSector = 16;
    std::uint16_t fixedBytes = 0x0210;  // 0x10 then 0x02, low byte first
    std::uint8_t sectorCount = 0;
    std::uint8_t spare = 0;
};

// What the engine does next; set by the reader from each bootloader reply.
enum BootStep : std::int32_t {
    BOOT_SEND_PARAMETERS = 1,
    BOOT_BEGIN_SECTOR = 2,
    BOOT_SEND_CHUNK = 3,
    BOOT_COMMIT_PAGE = 4,
    BOOT_CHECK_SECTOR = 5,
    BOOT_FINISH = 6,
    BOOT_CLOSE = 7,
    BOOT_RESTART = 8,
    BOOT_SEND_PREPARED = 9,
    BOOT_FAIL = 10,
};

// The parameters of the active run, packed into one word so the reader thread can read them while
// the window thread prepares the next run.
inline std::uint64_t PackBootParameters(const BootParameters& p) {
    return std::uint64_t{p.pageSize} | (std::uint64_t{p.pagesPerSector} << 16) |
           (std::uint64_t{p.fixedBytes} << 32) | (std::uint64_t{p.sectorCount} << 48) |
           (std::uint64_t{p.spare} << 56);
}
inline BootParameters UnpackBootParameters(std::uint64_t packed) {
    BootParameters p;
    p.pageSize = static_cast<std::uint16_t>(packed);
    p.pagesPerSector = static_cast<std::uint16_t>(packed >> 16);
    p.fixedBytes = static_cast<std::uint16_t>(packed >> 32);
    p.sectorCount = static_cast<std::uint8_t>(packed >> 48);
    p.spare = static_cast<std::uint8_t>(packed >> 56);
    return p;
}

// Consecutive failed page or sector checks that end a run.
constexpr std::int32_t kBootRetryLimit = 3;

struct EngineFields {
    std::atomic<std::int32_t> bootStep{0};
    std::atomic<std::uint16_t> sectorIndex{0};
    std::atomic<std::uint16_t> pageIndex{0};
    std::atomic<std::uint16_t> chunkIndex{0};
    std::atomic<std::uint32_t> pageSum{0};
    std::atomic<std::uint32_t> confirmedSum{0};
    std::atomic<std::uint32_t> imageSum{0};
    std::atomic<std::int32_t> retryCount{0};
    std::atomic<std::int32_t> flashProgress{0};
    // Set while a flashing run is between its start and its completion; the reader acts on
    // bootloader replies only then.
    std::atomic<bool> flashRunActive{false};
    std::atomic<std::uint64_t> runParameters{0};  // PackBootParameters of the active run
    ManualResetEvent bootEvent;
    BootParameters bootParameters;          // prepared for the next run (SetBootParameters)
    std::vector<std::uint8_t> imageBuffer;  // sectorCount x 4096 bytes while a run is prepared
};
