#pragma once
// Runs one cell of the fault matrix through the real program and describes where it ended: the
// progress dialog's last text, the controller's state, the interface, the catalogue row, the
// install journal, the time taken, and whether that end is sound.
#include <chrono>
#include <string>

#include "tools/fault-matrix/FaultCells.h"

class HarnessServers;

struct CellResult {
    std::string finalText;        // the progress dialog's last text, or "(none)"
    std::string outcome;          // "success", "aborted", or "open" (the dialog was not finished)
    std::string controllerState;  // "19 idle", "43 parked", ...
    std::string interfaceState;   // mode, software, "new image" / "old image"
    std::string catalogueRow;     // "new" / "old" / "missing"
    std::string journalRow;       // the journal's record state and outcome of the install, or "-"
    bool journalMissing = false;  // the interface was changed, and the journal holds no install
    long elapsedMs = 0;
    bool sound = false;
    std::string why;  // what makes it unsound
};

struct CellLimits {
    // A run that has not ended by then counts as a hang.
    std::chrono::milliseconds runLimit{60000};
};

struct RouteTarget;

CellResult RunCell(const HarnessServers& servers, const FaultCell& cell, const CellLimits& limits = {});
// The same run on another entry (the soak's random models and entries).
CellResult RunCellOn(const HarnessServers& servers, const FaultCell& cell, const RouteTarget& target,
                     const CellLimits& limits = {});
