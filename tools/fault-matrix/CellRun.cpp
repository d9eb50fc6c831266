#include "tools/fault-matrix/CellRun.h"

#include <algorithm>
#include <set>
#include <thread>

#include "app/UpdaterContext.h"
#include "platform/Text.h"
#include "tools/fault-matrix/CellRig.h"
#include "tools/fault-matrix/InstallJournalProbe.h"

namespace {
using SteadyClock = std::chrono::steady_clock;

// Where an install stays when it has ended without going back to idle.
const std::set<std::int32_t> kParkedStates = {MS_NOT_AVAILABLE, MS_RECORD_FAILED, MS_WRITE_FAILED,
                                              MS_UPDATE_FAILED, MS_DETAILS_FAILED};

bool Ended(HarnessProgram& h) {
    const std::int32_t state = h.State();
    return kParkedStates.contains(state) || (h.progress.finished && state == MS_IDLE);
}

std::string StateText(std::int32_t state) {
    const char* name = state == MS_IDLE                                          ? "idle"
                       : kParkedStates.contains(state)                           ? "parked"
                       : state >= MS_CHECK_AVAILABILITY && state <= MS_INSTALLED ? "installing"
                                                                                 : "other";
    return std::to_string(state) + " " + name;
}

// Searches for the entry's make and model and clicks its row, without pressing Install.
bool SelectTarget(HarnessProgram& h, const HarnessEntry& entry) {
    if (h.searchPanel.Select(SearchList::Make, FromUtf8(entry.make))) {
        h.program->OnMakeSelected();
        h.searchPanel.Select(SearchList::Model, FromUtf8(entry.model));
    }
    h.program->OnSearch();
    const int row = h.ResultRowOf(entry);
    if (row < 0)
        return false;
    h.program->OnResultClicked(row);
    return h.searchPanel.installEnabled;
}

struct InterfaceFacts {
    bool runsNewSoftware = false;
    bool stamped = false;
    std::string text;
};

// A vehicle name as the interface's record holds it: 8-bit characters ('?' beyond U+00FF), at
// most 13 of them, so that the field keeps its closing zero.
std::string AsRecorded(const std::string& utf8) {
    std::string recorded;
    for (const char16_t c : FromUtf8(utf8).substr(0, 13))
        recorded.push_back(c > 0xFF ? '?' : static_cast<char>(c));
    return recorded;
}

InterfaceFacts LookAtInterface(HarnessProgram& h, const HarnessEntry& target) {
    InterfaceFacts facts;
    const std::vector<std::uint8_t> image = HarnessServers::ImageOf(target);
    const std::vector<std::uint8_t> flash = h.telvix.flash->Contents();
    const bool holdsImage =
        flash.size() >= image.size() && std::equal(image.begin(), image.end(), flash.begin());
    const SoftwareIdentity software = h.telvix.application->Software();
    // The interface keeps its build number in one byte: a catalogue build of 300 runs as 44.
    facts.runsNewSoftware = holdsImage && software.softwareId == target.swId &&
                            software.softwareBuild == static_cast<std::uint8_t>(target.swBuild);
    const auto stored = h.telvix.application->StoredConfig();
    facts.stamped =
        stored.vehicleMake() == AsRecorded(target.make) && stored.vehicleModel() == AsRecorded(target.model);
    facts.text = std::string(DeviceModeName(h.box.Mode())) + ", " +
                 (holdsImage                           ? "new image"
                  : h.telvix.flash->ProgramCount() > 0 ? "other image"
                                                       : "old image") +
                 (facts.stamped ? ", new vehicle" : "");
    return facts;
}

std::string RowText(const CellRig& rig, const std::string& serial, bool& recordedNew) {
    recordedNew = false;
    const auto row = rig.Shared().ReadDevice(serial);
    if (!row)
        return "missing";
    recordedNew = row->swId == rig.Target().swId &&
                  static_cast<std::uint8_t>(row->swBuild) == static_cast<std::uint8_t>(rig.Target().swBuild);
    return recordedNew ? "new" : "old";
}

void Judge(const FaultCell& cell, bool ended, const InterfaceFacts& device, bool recordedNew,
           const JournalFacts& journal, CellResult& result) {
    result.sound = false;
    // An install that changed the interface must be in the journal, and a record the catalogue
    // did not take must wait there to be sent again.
    result.journalMissing = device.runsNewSoftware && !journal.holdsInstall;
    if (!ended) {
        result.why = "no end within the limit";
    } else if (result.journalMissing) {
        result.why = "the interface was flashed, but the journal holds no install";
    } else if (device.runsNewSoftware && !recordedNew && !journal.recordPending) {
        result.why = "the catalogue did not take the record, and the journal does not keep it";
    } else if (result.outcome == "success" && !device.runsNewSoftware) {
        result.why = "success, but the interface does not run the new software";
    } else if (result.outcome == "success" && !device.stamped) {
        result.why = "success, but the interface keeps the old vehicle";
    } else if (result.outcome == "success" && !recordedNew) {
        result.why = "success, but the catalogue has not recorded the install";
    } else if (result.outcome == "aborted" && result.finalText.rfind("ERROR: ", 0) != 0) {
        result.why = "aborted without an error text";
    } else if (result.outcome != "success" && recordedNew && !device.runsNewSoftware) {
        result.why = "the catalogue records software the interface does not run";
    } else if (cell.expect == Expect::Success && result.outcome != "success") {
        result.why = "a fault the protocol recovers from ended the install";
    } else if (cell.expect == Expect::Failure && result.outcome == "success") {
        result.why = "success reported for a fault that must end the install";
    } else {
        result.sound = true;
    }
}
}  // namespace

CellResult RunCell(const HarnessServers& servers, const FaultCell& cell, const CellLimits& limits) {
    return RunCellOn(servers, cell, TargetOf(cell.route), limits);
}

CellResult RunCellOn(const HarnessServers& servers, const FaultCell& cell, const RouteTarget& target,
                     const CellLimits& limits) {
    CellResult result;
    const auto started = SteadyClock::now();
    CellRig rig(servers, cell.route, target, cell.ownAccount, cell.ownFtpServer);
    if (!rig.Ready()) {
        result.outcome = "not run";
        result.why = rig.Problem();
        return result;
    }
    HarnessProgram& h = rig.Harness();
    const Strike::Kind kind = cell.when.kind;
    const auto strike = [&] {
        if (cell.strike)
            cell.strike(rig);
    };
    h.Start();
    if (!h.RunUntilState(MS_IDLE, std::chrono::seconds(30)) || !SelectTarget(h, rig.Target())) {
        result.outcome = "not run";
        result.why = "the program did not get to the entry (state " + StateText(h.State()) + ")";
        return result;
    }
    if (kind == Strike::Kind::BeforeInstall)
        strike();
    // The Install command fetches the image on this thread (and the file copy runs on a worker),
    // so a strike during a transfer comes from another thread, as soon as the server has started
    // sending.
    std::thread fetchStriker;
    if (kind == Strike::Kind::DuringFetch) {
        fetchStriker = std::thread([&] {
            if (rig.OwnFtp() != nullptr && rig.OwnFtp()->WaitForTransferStart())
                strike();
        });
    }
    h.program->OnInstall();
    bool struck = kind != Strike::Kind::AtState && kind != Strike::Kind::AtProgress;
    const bool ended = h.RunUntil(
        [&] {
            if (!struck && ((kind == Strike::Kind::AtState && h.State() == cell.when.state) ||
                            (kind == Strike::Kind::AtProgress &&
                             h.Context().flashProgress.load() >= cell.when.progress))) {
                struck = true;
                strike();
            }
            return Ended(h);
        },
        limits.runLimit);
    if (fetchStriker.joinable())
        fetchStriker.join();
    h.Ticks(10);  // what follows the end (a journal retry, the last repaint) settles

    result.elapsedMs = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - started).count());
    result.finalText = h.progress.text.empty() ? "(none)" : ToUtf8(h.progress.text);
    result.outcome = !h.progress.finished ? "open" : h.progress.succeeded ? "success" : "aborted";
    result.controllerState = StateText(h.State());
    const InterfaceFacts device = LookAtInterface(h, rig.Target());
    result.interfaceState = device.text;
    bool recordedNew = false;
    result.catalogueRow = RowText(rig, h.McuSerial(), recordedNew);
    const JournalFacts journal = JournalStateOf(h.journalFile);
    result.journalRow = journal.text;
    Judge(cell, ended, device, recordedNew, journal, result);
    return result;
}
