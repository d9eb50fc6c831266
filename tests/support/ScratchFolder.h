#pragma once
// Folders the tests write into: a fresh one under the system's temporary directory, removed with
// its content at the end, and the user's data folder pointed at one for the life of the object.
#include <filesystem>
#include <optional>
#include <string>

class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& prefix = "telvix-test");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// TELVIX_UPDATER_DATA_DIR names a scratch folder (journal, diagnostics log) until destruction,
// then its earlier value comes back. Set before the program's threads start.
class ScratchDataDirectory {
  public:
    ScratchDataDirectory();
    ~ScratchDataDirectory();
    ScratchDataDirectory(const ScratchDataDirectory&) = delete;
    ScratchDataDirectory& operator=(const ScratchDataDirectory&) = delete;

    const std::filesystem::path& Path() const { return folder_.Path(); }

  private:
    ScratchFolder folder_{"telvix-data"};
    std::optional<std::string> previous_;
};
