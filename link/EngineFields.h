#pragma once
// Flashing-engine fields of the shared context. The reader thread and the engine thread both
// write the step and the counters, and the controller reads flashProgress: all atomics.
#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/ManualResetEvent.h"

constexpr std::uint32_t kChunkBytes = 16;
constexpr std::uint32_t kPageBytes = 256;
constexpr std::uint32_t kSectorBytes = 4096;
constexpr std::uint32_t kMaxSectors = 255;

struct BootParameters {
    std::uint16_t pageSize = 256;
    std::uint16_t pagesPerSector = 16;
    std::uint16_t fixedBytes = 0x0210;  // 0x10 then 0x02, low byte first
    std::uint8_t sectorCount = 0;
    std::uint8_t spare = 0;
};

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
    ManualResetEvent bootEvent;
    BootParameters bootParameters;
    std::vector<std::uint8_t> imageBuffer;  // sectorCount x 4096 bytes while a run is prepared or running
};
