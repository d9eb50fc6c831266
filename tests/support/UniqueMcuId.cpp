#include "tests/support/UniqueMcuId.h"

#include <unistd.h>

#include <atomic>
#include <chrono>

McuId UniqueMcuId(std::uint8_t marker) {
    static std::atomic<std::uint32_t> counter{0};
    McuId id{};
    std::uint64_t seed = static_cast<std::uint64_t>(getpid()) << 32 | (counter++ & 0xFFFF);
    seed ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (auto& byte : id) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        byte = static_cast<std::uint8_t>(seed >> 56);
    }
    id[0] = marker;
    return id;
}
