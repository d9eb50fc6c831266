#include "platform/ScratchDirectory.h"

#include <atomic>
#include <chrono>
#include <random>
#include <string>

std::filesystem::path MakeScratchDirectory(std::string_view prefix) {
    static std::atomic<unsigned> counter{0};
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    std::random_device entropy;
    std::mt19937_64 random(
        entropy() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        counter++);
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name(prefix);
        for (int i = 0; i < 8; ++i)
            name.push_back(kLetters[random() % (sizeof kLetters - 1)]);
        const std::filesystem::path candidate = base / name;
        // create_directory is false when the name is taken: another attempt then.
        if (std::filesystem::create_directory(candidate, error))
            return candidate;
        if (error)
            return {};
    }
    return {};
}
