#include "tools/fault-matrix/SoakRun.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>

#include "tools/fault-matrix/CellRig.h"
#include "tools/fault-matrix/CellRun.h"
#include "tools/fault-matrix/InstallJournalProbe.h"
#include "tools/fixtures/FixtureCatalogue.h"

namespace {
// Installs before the memory and handle counts are taken: the first runs fill caches (ODBC
// driver, curl, thread stacks) that stay for the life of the process.
constexpr int kWarmUp = 5;
constexpr long kResidentGrowthKb = 32 * 1024;
constexpr int kHandleGrowth = 4;

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

int OpenHandles() {
    int count = 0;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return count;
}

// Entries a plain search of their make and model lists, per model.
std::vector<RouteTarget> InstallableEntries() {
    std::vector<RouteTarget> targets;
    for (const FixtureEntry& entry : BuildFixtureCatalogue().entries) {
        if (entry.sw_valid_status == 0 || entry.sw_id == 9999 || !entry.sw_build ||
            entry.vehicle_transmission == 1)
            continue;
        targets.push_back({entry.mfg_id, entry.sw_id, *entry.sw_build, DeviceMode::Application});
    }
    return targets;
}

bool HidModel(const std::string& model) {
    for (const FixtureHardware& hardware : FixtureHardwareModels()) {
        if (hardware.mfg_id == model)
            return hardware.hw_hid == 1;
    }
    return false;
}
}  // namespace

bool SoakFigures::Passed() const {
    return falseSuccesses == 0 && hangs == 0 && unsound == 0 && journalMissing == 0 &&
           residentKbEnd - residentKbStart <= kResidentGrowthKb &&
           openHandlesEnd - openHandlesStart <= kHandleGrowth;
}

SoakFigures RunSoak(const HarnessServers& servers, int installs, unsigned seed, std::ostream& log) {
    SoakFigures figures;
    figures.seed = seed;
    std::mt19937 random(seed);
    const std::vector<RouteTarget> targets = InstallableEntries();
    const std::vector<FaultCell> cells = ShortMatrix();
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < installs; ++i) {
        if (i == kWarmUp || (i == 0 && installs <= kWarmUp)) {
            figures.residentKbStart = ResidentKb();
            figures.openHandlesStart = OpenHandles();
        }
        RouteTarget target = targets[random() % targets.size()];
        const bool hid = HidModel(target.model);
        Route route = Route::Volume;
        if (hid) {
            route = random() % 2 ? Route::HidFromApplication : Route::HidFromBootloader;
            target.mode =
                route == Route::HidFromBootloader ? DeviceMode::Bootloader : DeviceMode::Application;
        }
        FaultCell cell;
        cell.fault = "none";
        cell.route = route;
        if (random() % 2) {
            std::vector<const FaultCell*> fitting;
            for (const FaultCell& candidate : cells) {
                if ((candidate.route == Route::Volume) == (route == Route::Volume))
                    fitting.push_back(&candidate);
            }
            cell = *fitting[random() % fitting.size()];
            cell.route = route;
            ++figures.faultsMet;
        }
        cell.expect = Expect::Either;  // a fault may find nothing to strike on a small image
        const CellResult result = RunCellOn(servers, cell, target);
        ++figures.installs;
        figures.succeeded += result.outcome == "success" ? 1 : 0;
        if (!result.sound) {
            ++figures.unsound;
            figures.falseSuccesses += result.outcome == "success" ? 1 : 0;
            figures.hangs += result.why == "no end within the limit" ? 1 : 0;
            log << "install " << i << " (" << target.model << " " << target.swId << "/" << target.swBuild
                << ", " << RouteName(route) << ", " << cell.fault << " at " << cell.point
                << "): " << result.why << "\n";
        }
        figures.journalMissing += result.journalMissing ? 1 : 0;
        if ((i + 1) % 50 == 0)
            log << (i + 1) << " installs, " << figures.unsound << " unsound\n" << std::flush;
    }
    figures.residentKbEnd = ResidentKb();
    figures.openHandlesEnd = OpenHandles();
    figures.elapsedMs = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count());
    return figures;
}

void WriteSoakReport(std::ostream& out, const SoakFigures& f) {
    out << "| figure | value |\n|---|---|\n"
        << "| seed | " << f.seed << " |\n"
        << "| installs | " << f.installs << " |\n"
        << "| installs that succeeded | " << f.succeeded << " |\n"
        << "| faults met | " << f.faultsMet << " |\n"
        << "| false successes | " << f.falseSuccesses << " |\n"
        << "| hangs | " << f.hangs << " |\n"
        << "| other unsound ends | " << f.unsound - f.falseSuccesses - f.hangs << " |\n"
        << "| journal rows missing | " << f.journalMissing << " |\n"
        << "| resident memory, start / end | " << f.residentKbStart / 1024 << " MB / "
        << f.residentKbEnd / 1024 << " MB |\n"
        << "| open handles, start / end | " << f.openHandlesStart << " / " << f.openHandlesEnd << " |\n"
        << "| time | " << f.elapsedMs / 1000 << " s |\n"
        << "| verdict | " << (f.Passed() ? "passed" : "FAILED") << " |\n";
}
