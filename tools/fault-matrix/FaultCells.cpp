#include "tools/fault-matrix/FaultCells.h"

#include "app/UpdaterContext.h"
#include "tools/fault-matrix/CellRig.h"

namespace {
constexpr std::uint8_t kReadError = 0x21;
constexpr std::uint8_t kWriteError = 0x37;
// Reports of a flashing run of the routes' 17-sector image: 274 per sector and 3 around them.
constexpr std::uint64_t kFlashReports = 274 * 17 + 3;

Strike BeforeInstall() {
    return {Strike::Kind::BeforeInstall, 0, 0};
}
Strike At(std::int32_t state) {
    return {Strike::Kind::AtState, state, 0};
}
Strike AtProgress(int percent) {
    return {Strike::Kind::AtProgress, 0, percent};
}
Strike DuringFetch() {
    return {Strike::Kind::DuringFetch, 0, 0};
}

using Edit = std::function<void(FaultPlan&)>;
std::function<void(CellRig&)> Plan(Edit edit) {
    return [edit](CellRig& rig) { rig.Harness().telvix.faults->Update(edit); };
}

const Route kHidRoutes[] = {Route::HidFromApplication, Route::HidFromBootloader};
const Route kAllRoutes[] = {Route::HidFromApplication, Route::HidFromBootloader, Route::Volume};

std::vector<std::uint8_t> ImageOfTarget(CellRig& rig) {
    return HarnessServers::ImageOf(rig.Target());
}

class CellList {
  public:
    void Add(std::string fault, std::string point, Route route, Expect expect, Strike when,
             std::function<void(CellRig&)> strike, bool ownAccount = false, bool ownFtp = false) {
        FaultCell cell;
        cell.fault = std::move(fault);
        cell.point = std::move(point);
        cell.route = route;
        cell.expect = expect;
        cell.when = when;
        cell.strike = std::move(strike);
        cell.ownAccount = ownAccount;
        cell.ownFtpServer = ownFtp;
        cells.push_back(std::move(cell));
    }
    std::vector<FaultCell> cells;
};

// The flashing engine's faults: the bootloader's answers during a run.
void AddBootloaderFaults(CellList& list, bool full) {
    for (Route route : kHidRoutes) {
        for (int times = 1; times <= 3; ++times) {
            const Expect expect = times < 3 ? Expect::Success : Expect::Failure;
            const std::string fault = "page sum wrong x" + std::to_string(times);
            const std::string checks = "sector check failing x" + std::to_string(times);
            list.Add(fault, "first page", route, expect, At(MS_START_FLASH),
                     Plan([times](FaultPlan& f) { f.wrongPageSums = times; }));
            list.Add(checks, "first sector", route, expect, At(MS_START_FLASH),
                     Plan([times](FaultPlan& f) { f.failedSectorChecks = times; }));
            if (full) {
                list.Add(fault, "mid-run", route, expect, AtProgress(50),
                         Plan([times](FaultPlan& f) { f.wrongPageSums = times; }));
                list.Add(checks, "mid-run", route, expect, AtProgress(50),
                         Plan([times](FaultPlan& f) { f.failedSectorChecks = times; }));
            }
        }
        list.Add("bad echo", "parameters", route, Expect::Failure, At(MS_START_FLASH),
                 Plan([](FaultPlan& f) { f.corruptEchoByte = 8; }));
        list.Add("probe answered 0x21", "first probe", route, Expect::Either, At(MS_START_FLASH),
                 Plan([](FaultPlan& f) { f.applicationStatusToFirstProbe = true; }));
        list.Add("status error 0x30", "begin sector", route, Expect::Failure, At(MS_START_FLASH),
                 Plan([](FaultPlan& f) { f.statusOverride[0x03] = 0x01; }));
        list.Add("status error 0x10", "probe", route, Expect::Failure, At(MS_START_FLASH),
                 Plan([](FaultPlan& f) { f.statusOverride[0x01] = 0x05; }));
        const std::vector<std::uint64_t> points = full ? std::vector<std::uint64_t>{1,
                                                                                    2,
                                                                                    50,
                                                                                    kFlashReports / 4,
                                                                                    kFlashReports / 2,
                                                                                    kFlashReports * 3 / 4,
                                                                                    kFlashReports - 2}
                                                       : std::vector<std::uint64_t>{kFlashReports / 2};
        for (std::uint64_t k : points) {
            const std::string point = "report " + std::to_string(k);
            list.Add("unplugged", point, route, Expect::Failure, At(MS_START_FLASH),
                     Plan([k](FaultPlan& f) { f.unplugAfterReport = k; }));
            if (full || k == points.front())
                list.Add("no reply", point, route, Expect::Failure, At(MS_START_FLASH),
                         Plan([k](FaultPlan& f) { f.silentAfterReport = k; }));
        }
    }
}

// The application firmware's refusals after the new software is in.
void AddApplicationFaults(CellList& list, bool full) {
    for (Route route : kAllRoutes) {
        if (!full && route == Route::HidFromBootloader)
            continue;
        list.Add("status error 0x1A", "read before the write", route, Expect::Failure, At(MS_UPDATE_MEMORY),
                 Plan([](FaultPlan& f) { f.statusOverride[0x1A] = kReadError; }));
        list.Add("status error 0x1A", "verification read", route, Expect::Failure, At(MS_VERIFY_MEMORY),
                 Plan([](FaultPlan& f) { f.statusOverride[0x1A] = kReadError; }));
        list.Add("status error 0x1B", "configuration write", route, Expect::Failure, At(MS_UPDATE_MEMORY),
                 Plan([](FaultPlan& f) { f.statusOverride[0x1B] = kWriteError; }));
    }
}

// The catalogue taken away at each of its operations in an install.
void AddCatalogueFaults(CellList& list, bool full) {
    auto cut = [](CellRig& rig) { rig.Harness().catalogueProxy.Cut(); };
    auto password = [](CellRig& rig) { rig.Account()->ChangePassword(); };
    for (Route route : kAllRoutes) {
        if (!full && route == Route::HidFromBootloader)
            continue;
        struct Point {
            const char* name;
            Strike when;
            Expect expect;
        };
        const Point points[] = {{"entry and hardware lookups", BeforeInstall(), Expect::Failure},
                                {"install record", At(MS_START_RECORD), Expect::Failure},
                                {"final lookup", At(MS_CHECK_INTEGRITY), Expect::Failure}};
        for (const Point& point : points) {
            list.Add("catalogue down", point.name, route, point.expect, point.when, cut);
            if (full || route == Route::HidFromApplication)
                list.Add("wrong password", point.name, route, point.expect, point.when, password, true);
        }
        list.Add(
            "statement error", "install record", route, Expect::Failure, At(MS_START_RECORD),
            [](CellRig& rig) { rig.Account()->RevokeUpdates(); }, true);
        if (full)
            list.Add(
                "statement error", "final lookup", route, Expect::Failure, At(MS_CHECK_INTEGRITY),
                [](CellRig& rig) { rig.Account()->RevokeSoftwareReads(); }, true);
    }
}

// The image server's faults: where the image is fetched into memory (HID) or copied onto the
// update volume.
void AddImageServerFaults(CellList& list, bool full) {
    for (Route route : kAllRoutes) {
        if (!full && route == Route::HidFromBootloader)
            continue;
        const bool volume = route == Route::Volume;
        list.Add("FTP server down", volume ? "availability check" : "image fetch", route, Expect::Failure,
                 BeforeInstall(), [](CellRig& rig) { rig.Harness().ftpProxy.Cut(); });
        if (volume)
            list.Add("FTP server down", "file copy", route, Expect::Failure, At(MS_DOWNLOAD_FILE),
                     [](CellRig& rig) { rig.Harness().ftpProxy.Cut(); });
        list.Add(
            "FTP server killed mid-transfer", volume ? "file copy" : "image fetch", route, Expect::Failure,
            DuringFetch(), [](CellRig& rig) { rig.OwnFtp()->Kill(); }, false, true);
        list.Add("missing file", "before the install", route, Expect::Failure, BeforeInstall(),
                 [](CellRig& rig) { rig.RemoveImage(); });
        list.Add("short file", "before the install", route, Expect::Failure, BeforeInstall(),
                 [](CellRig& rig) {
                     auto image = ImageOfTarget(rig);
                     image.resize(image.size() / 2);
                     rig.ServeImage(image);
                 });
        // The catalogue's length and digest name the first bytes: what follows them is no part of
        // the software, so a longer file is sound to install (its image part only).
        list.Add("long file", "before the install", route, Expect::Either, BeforeInstall(), [](CellRig& rig) {
            auto image = ImageOfTarget(rig);
            image.resize(image.size() + 4096, 0xA5);
            rig.ServeImage(image);
        });
        if (volume)
            list.Add("volume full", "file copy", route, Expect::Failure, BeforeInstall(),
                     [](CellRig& rig) { rig.FillUpdateVolume(64 * 1024); });
        list.Add("bad digest", "before the install", route, Expect::Failure, BeforeInstall(),
                 [](CellRig& rig) {
                     auto image = ImageOfTarget(rig);
                     image[image.size() / 2] ^= 0x5A;
                     rig.ServeImage(image);
                 });
    }
}
}  // namespace

const char* RouteName(Route route) {
    switch (route) {
        case Route::HidFromApplication:
            return "HID";
        case Route::HidFromBootloader:
            return "HID from bootloader";
        case Route::Volume:
            return "update volume";
    }
    return "?";
}

std::vector<FaultCell> FullMatrix() {
    CellList list;
    AddBootloaderFaults(list, true);
    AddApplicationFaults(list, true);
    AddCatalogueFaults(list, true);
    AddImageServerFaults(list, true);
    return list.cells;
}

std::vector<FaultCell> ShortMatrix() {
    CellList list;
    AddBootloaderFaults(list, false);
    AddApplicationFaults(list, false);
    AddCatalogueFaults(list, false);
    AddImageServerFaults(list, false);
    return list.cells;
}
