#pragma once
// The real MariaDB and FTP test servers as the headless harness uses them: their endpoints from
// the variables that scripts/test-servers exports, and the few catalogue rows and image files an
// end-to-end test reads or lays out for itself. Every test works on its own interface row (its
// own controller id), so tests can run side by side on the shared servers.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/EndpointSettings.h"

// A tolvanesw entry, texts in UTF-8.
struct HarnessEntry {
    int id = 0;
    std::string mfgId;
    int swId = 0;
    int swBuild = 0;
    int validStatus = 0;
    std::string description, path, filename, make, model, yearFrom, yearTo, md5;
    std::uint32_t length = 0;
};

// A tolvanedevice row.
struct HarnessDevice {
    std::string mfgId;
    std::string mcuSerial;
    int swId = 0;
    int swBuild = 0;
    std::string make, model, labelSerial;
    int totalUpdates = 0;
    int updatedBy = 0;
    std::string updateDate;
};

class HarnessServers {
  public:
    // Nothing when the variables are absent (tests run by hand without servers).
    static std::optional<HarnessServers> FromEnvironment();

    std::string catalogueConnection;  // as exported
    std::uint16_t mariadbPort = 0;
    FtpEndpoint ftp;                // host, port and account as exported
    std::filesystem::path ftpRoot;  // what the FTP server serves

    // The connection string through another port on loopback (a proxy).
    std::string CatalogueConnectionVia(std::uint16_t port) const;

    std::optional<HarnessEntry> FindEntry(const std::string& mfgId, int swId, int swBuild) const;
    // Lays the entry's image, as the fixture generator makes it, at its path in the FTP root;
    // corrupt flips one byte of the body, so the digest no longer matches.
    void PublishImage(const HarnessEntry& entry, bool corrupt = false) const;
    void RemoveImage(const HarnessEntry& entry) const;
    // The image bytes the entry names (what the interface holds after a good install).
    static std::vector<std::uint8_t> ImageOf(const HarnessEntry& entry);

    bool InsertDevice(const HarnessDevice& device) const;
    void DeleteDevice(const std::string& mcuSerial) const;
    std::optional<HarnessDevice> ReadDevice(const std::string& mcuSerial) const;
};

// Puts the entry's true image back on the server when it goes out of scope, so a test that
// corrupts or removes an image leaves the served store as it found it.
class RestoreImageAtExit {
  public:
    RestoreImageAtExit(const HarnessServers& servers, HarnessEntry entry)
        : servers_(servers), entry_(std::move(entry)) {}
    ~RestoreImageAtExit() { servers_.PublishImage(entry_); }
    RestoreImageAtExit(const RestoreImageAtExit&) = delete;
    RestoreImageAtExit& operator=(const RestoreImageAtExit&) = delete;

  private:
    const HarnessServers& servers_;
    HarnessEntry entry_;
};
