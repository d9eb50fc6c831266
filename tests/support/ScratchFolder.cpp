#include "tests/support/ScratchFolder.h"

#include <cstdlib>

ScratchFolder::ScratchFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}

ScratchDataDirectory::ScratchDataDirectory() {
    if (const char* value = std::getenv("TELVIX_UPDATER_DATA_DIR"))
        previous_ = value;
    setenv("TELVIX_UPDATER_DATA_DIR", folder_.Path().c_str(), 1);
}

ScratchDataDirectory::~ScratchDataDirectory() {
    if (previous_)
        setenv("TELVIX_UPDATER_DATA_DIR", previous_->c_str(), 1);
    else
        unsetenv("TELVIX_UPDATER_DATA_DIR");
}
