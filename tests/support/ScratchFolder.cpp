#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <random>

#include "tests/support/TestEnvironment.h"

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(random() % 1000000000u));
        std::error_code failed;
        // create_directory is false for a folder that exists already: another name is tried.
        if (std::filesystem::create_directory(candidate, failed))
            path_ = candidate;
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}

ScratchDataDirectory::ScratchDataDirectory() {
    if (const char* value = std::getenv("TELVIX_UPDATER_DATA_DIR"))
        previous_ = value;
    SetTestEnvironment("TELVIX_UPDATER_DATA_DIR", folder_.Path().string());
}

ScratchDataDirectory::~ScratchDataDirectory() {
    SetTestEnvironment("TELVIX_UPDATER_DATA_DIR", previous_);
}
