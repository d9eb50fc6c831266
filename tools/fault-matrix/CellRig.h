#pragma once
// One matrix cell's world: the real program on the headless harness with one emulated interface
// of the route's model, the private servers (optionally through an account or an FTP server of
// the cell's own), the catalogue entry to install, and the server-side changes the fault makes,
// undone when the rig goes away.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/FatImageMount.h"
#include "tests/support/FtpTestServer.h"
#include "tests/support/HarnessProgram.h"
#include "tools/fault-matrix/CatalogueAccount.h"
#include "tools/fault-matrix/FaultCells.h"

struct RouteTarget {
    std::string model;
    int swId = 0;
    int swBuild = 0;
    DeviceMode mode = DeviceMode::Application;
};
RouteTarget TargetOf(Route route);

class CellRig {
  public:
    // The route's model and entry, or another entry of a model of that route.
    CellRig(const HarnessServers& shared, Route route, const RouteTarget& target, bool ownAccount,
            bool ownFtpServer);
    ~CellRig();
    CellRig(const CellRig&) = delete;
    CellRig& operator=(const CellRig&) = delete;

    // False when the rig could not be made (entry missing, account or server refused).
    bool Ready() const { return ready_; }
    const std::string& Problem() const { return problem_; }

    HarnessProgram& Harness() { return *harness_; }
    const HarnessEntry& Target() const { return target_; }
    Route RouteTaken() const { return route_; }
    CatalogueAccount* Account() { return account_.get(); }
    PrivateFtpServer* OwnFtp() { return ftp_.get(); }
    // The shared servers, reached with the shared account (for reading rows afterwards).
    const HarnessServers& Shared() const { return shared_; }

    // Serve other bytes (short, long, corrupt) or nothing at the target's path; undone at the end.
    void ServeImage(const std::vector<std::uint8_t>& bytes);
    void RemoveImage();
    // Makes the interface's update volume a real FAT12 file system of its size with only
    // `freeBytes` left; false when FUSE cannot be used here.
    bool FillUpdateVolume(std::uintmax_t freeBytes);

  private:
    const HarnessServers& shared_;
    HarnessServers used_;  // what the program reaches: the shared servers or the cell's own
    Route route_;
    HarnessEntry target_;
    std::unique_ptr<CatalogueAccount> account_;
    std::unique_ptr<PrivateFtpServer> ftp_;
    std::unique_ptr<HarnessProgram> harness_;
    std::unique_ptr<FatImageMount> volume_;
    bool imageChanged_ = false;
    bool ready_ = false;
    std::string problem_;
};
